// The undo list: the item numbers of the modelling commands (0-34) and picks
// (58) in the order they were started, and the number of record steps each
// of them adds.
#pragma once

enum {
    HistoryCapacity = 256,
    HistoryEmpty = 999, // value of every slot at and beyond the count
    PickItem = 58,      // the history's item number for a face pick
};

struct CommandHistoryList {
    int count;
    int items[HistoryCapacity];
};

extern CommandHistoryList CommandHistory;

// Record steps added by each command, indexed by item number 0-58.
extern const int OpsPerCommand[PickItem + 1];

void resetHistory();
void pushHistory(int item);
void popHistory();

// 1 when the record has room for every step of the item (command or pick);
// otherwise shows the record's own notice and returns 0. Refusing up front
// keeps every history item standing for exactly its own steps.
int recordHasRoomFor(int item);

// Takes back the last n steps, which the caller knows to be its own.
void dropOwnSteps(int n);

// Undo: drops the steps of the last history item and rebuilds the committed
// mesh by replaying the rest of the record.
void undoLastCommand();

// Empties the committed mesh and replays the record into it.
void rebuildCommittedMesh();
