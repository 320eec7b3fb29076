// The right-button menu: twelve submenus of the 58 items under one root.
#pragma once

enum { SubmenuCount = 12 };

extern const int SubmenuEntries[SubmenuCount];
extern const char *const SubmenuTitles[SubmenuCount];
extern const char *const ItemLabels[];

// Creates the tree the first time, then attaches the root to the right
// button (again at every command end).
void buildMenus();
