// The undo list: the item numbers of the modelling commands (0-34) and picks
// (58) in the order they were made, each with the record's step count before
// it, so undo takes back exactly the item's own steps. What undo takes away
// is kept for redo until a new command or pick.
#pragma once

#include "mirl.h"

enum {
    HistoryCapacity = 256,
    HistoryEmpty = 999, // value of every slot at and beyond the count
};

struct CommandHistoryList {
    int count;
    int items[HistoryCapacity];
    int starts[HistoryCapacity]; // numsteps() before the item's first step
};

extern CommandHistoryList CommandHistory;

// Empties the history and the redo list.
void resetHistory();

// A new command or pick that started at record step `start`: the redo list
// is forgotten.
void pushHistory(int item, int start);

// 1 when the record has room for every step of the item (command or pick);
// otherwise shows the record's own notice and returns 0. Refusing up front
// keeps every history item standing for exactly its own steps.
int recordHasRoomFor(int item);

// Cuts the record back to its first n steps (the first step too, which
// droplast keeps: after loading an empty record it is a command's own).
void truncateRecord(int n);

// Undo: keeps the last history item's steps for redo, drops them and
// rebuilds m, the committed mesh, as a replay of the rest of the record.
void undoLastCommand(Mesh *m);

// Redo: appends the last undone item's steps and replays them onto m, as
// if the user had done it again. Returns 0 when nothing changed, with the
// reason in `why`.
int redoLastUndone(Mesh *m, const char **why);

// Empties m and replays the whole record into it.
void rebuildMesh(Mesh *m);
