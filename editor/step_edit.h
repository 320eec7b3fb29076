// Changing one step of the record afterwards: its parameter byte, live under
// the mouse (a click on its row of the step list starts the edit), or the
// step itself taken out (Delete). Both run as commands of the command cycle
// (ItemEditStep, ItemDeleteStep), on the step list's selected step, and
// enter the undo list as one item each.
#pragma once

// Whether an edit of a step's parameter is open. The cycle's preview then
// runs it: horizontal motion, a left click, Escape.
bool stepEditOpen();

// One horizontal motion event: the parameter moves by the live preview's
// step and the model replays from the checkpoint kept at the edited step.
void followStepEdit(int direction);

// Left click: the new byte stays, the model shown becomes the committed one.
void commitStepEdit();

// Escape: the old byte and the old model come back.
void cancelStepEdit();
