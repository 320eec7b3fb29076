#include "history.h"

#include "editor_state.h"

CommandHistoryList CommandHistory;

const int OpsPerCommand[PickItem + 1] = {
    1, 1, 1, 1, 1, 1, 1, 1, // SELECT
    1, 1, 1,                // OBJECT
    1, 1, 1,                // OBJECT Move
    1, 1, 1, 1,             // OBJECT Scale
    2, 2, 3, 1, 3, 5,       // FACES: inset, extrude, taper, delete, cage, holes
    1, 1, 1, 1,             // FACES Move
    1, 1, 1, 1,             // FACES Scale
    1, 1, 1,                // FACES Rotate
    1, 1, 1, 1, 1, 1, 1, 1, 1, // FILE
    1, 1, 1, 1, 1, 1,       // MIRL SETTINGS
    1, 1, 1, 1,             // LIGHTING
    1, 1, 1, 1,             // VIEW
    1,                      // a pick
};

void resetHistory()
{
    CommandHistory.count = 0;
    for (int &item : CommandHistory.items)
        item = HistoryEmpty;
}

void pushHistory(int item)
{
    if (CommandHistory.count < HistoryCapacity)
        CommandHistory.items[CommandHistory.count++] = item;
}

void popHistory()
{
    if (CommandHistory.count > 0)
        CommandHistory.items[--CommandHistory.count] = HistoryEmpty;
}

int recordHasRoomFor(int item)
{
    if (numsteps() + OpsPerCommand[item] > MIRL_MAXSTEPS) {
        notify("Exceeded max number of modelling commands", "ERROR");
        return 0;
    }
    if (item == PickItem && numpicks() >= MIRL_MAXPICKS) {
        notify("Too Many Picks=model will not save properly", "ERROR");
        return 0;
    }
    return 1;
}

void dropOwnSteps(int n)
{
    for (int i = 0; i < n; i++) {
        if (numsteps() > 1) {
            droplast();
        } else if (numsteps() == 1) {
            // droplast keeps the first step, the starting cube. After loading
            // an empty record the first step is a command's own: drop it too.
            CommandRecord.count = 0;
            if (CommandRecord.ops[0] == MIRL_OPPICK)
                PickCount -= 1;
        }
    }
}

void rebuildCommittedMesh()
{
    Mesh *m = committedMesh();
    m->nverts = 0;
    m->nquads = 0;
    replayrec(m); // starts with no last picked face, as a player does
}

void undoLastCommand()
{
    if (CommandHistory.count == 0)
        return;
    recordoff();
    dropOwnSteps(OpsPerCommand[CommandHistory.items[CommandHistory.count - 1]]);
    rebuildCommittedMesh();
    popHistory();
}
