// The undo list: the modelling commands (0-34), picks (58), edits of a
// step's parameter and deletions of a step, in the order they were made.
// Undo takes back exactly one item; what it takes away is kept for redo
// until the next change. Only the runtime's record routines change the
// record.
#pragma once

#include "mirl.h"

enum { HistoryCapacity = 256 };

// What an edit or a deletion changed: the step, its opcode, its parameter
// byte before and after (an edit), its face in the pick list (a pick).
struct StepChange {
    int step;
    int op;
    int before, after;
    uint32_t face;
};

// Entries at and beyond count are leftovers with no meaning.
struct CommandHistoryList {
    int count;
    int items[HistoryCapacity];
    int starts[HistoryCapacity];          // numsteps() before the item's first step
    StepChange changes[HistoryCapacity]; // of ItemEditStep and ItemDeleteStep items
};

extern CommandHistoryList CommandHistory;

// Empties the history and the redo list.
void resetHistory();

// A new command or pick that started at record step `start`: the redo list
// is forgotten.
void pushHistory(int item, int start);

// An edit (ItemEditStep) or deletion (ItemDeleteStep) already made to the
// record: the redo list is forgotten, the checkpoints learn of it.
void pushStepChange(int item, const StepChange &change);

// 1 when the record has room for every step of the item (command or pick);
// otherwise shows the record's own notice and returns 0. Refusing up front
// keeps every history item standing for exactly its own steps.
int recordHasRoomFor(int item);

// Undo: keeps the last history item for redo, takes it back in the record
// and rebuilds m, the committed mesh, as a replay of the record.
void undoLastCommand(Mesh *m);

// Redo: does the last undone item again (a command's steps appended and
// replayed onto m, as if the user had done it again). Returns 0 when
// nothing changed, with the reason in `why`.
int redoLastUndone(Mesh *m, const char **why);

// Empties m and replays the whole record into it.
void rebuildMesh(Mesh *m);
