// The right-button menu: twelve submenus of the 58 items under one root,
// read from the command table.
#pragma once

// Creates the tree the first time, then attaches the root to the right
// button (again at every command end).
void buildMenus();
