#include "history.h"

#include "checkpoints.h"
#include "commands.h"

CommandHistoryList CommandHistory;

// The steps undo took away, newest item last: each item's steps and picks
// run from its first entries to the next item's.
static struct {
    int count;
    int items[HistoryCapacity];
    int firstStep[HistoryCapacity], firstPick[HistoryCapacity];
    int steps, picks;
    uint8_t ops[MIRL_MAXSTEPS], params[MIRL_MAXSTEPS];
    uint32_t pickList[MIRL_MAXPICKS];
} Redo;

static void forgetRedo()
{
    Redo.count = Redo.steps = Redo.picks = 0;
}

void resetHistory()
{
    CommandHistory.count = 0;
    forgetRedo();
    resetCheckpoints();
}

static void appendHistory(int item, int start)
{
    if (CommandHistory.count < HistoryCapacity) {
        const int n = CommandHistory.count++;
        CommandHistory.items[n] = item;
        CommandHistory.starts[n] = start;
    }
}

void pushHistory(int item, int start)
{
    forgetRedo();
    dropCheckpointsAfter(start);
    appendHistory(item, start);
}

int recordHasRoomFor(int item)
{
    if (numsteps() + Commands[item].steps > MIRL_MAXSTEPS) {
        notify("Exceeded max number of modelling commands", "ERROR");
        return 0;
    }
    if (item == PickItem && numpicks() >= MIRL_MAXPICKS) {
        notify("Too Many Picks=model will not save properly", "ERROR");
        return 0;
    }
    return 1;
}

// Copies the steps from `start` on, and their picks, onto the redo list.
static void keepForRedo(int item, int start)
{
    const mirlObj &r = CommandRecord;
    const int steps = numsteps() - start, picks = numpicks() - (int)pickidx(&r, (uint32_t)start);
    if (Redo.count == HistoryCapacity || Redo.steps + steps > MIRL_MAXSTEPS || Redo.picks + picks > MIRL_MAXPICKS)
        forgetRedo(); // only a record edited behind the editor's back gets here
    Redo.items[Redo.count] = item;
    Redo.firstStep[Redo.count] = Redo.steps;
    Redo.firstPick[Redo.count++] = Redo.picks;
    for (int i = start; i < numsteps(); i++) {
        Redo.ops[Redo.steps] = r.ops[i];
        Redo.params[Redo.steps++] = r.params[i];
    }
    for (int p = numpicks() - picks; p < numpicks(); p++)
        Redo.pickList[Redo.picks++] = r.picks[p];
}

void rebuildMesh(Mesh *m)
{
    replayToEnd(m, 0);
}

void undoLastCommand(Mesh *m)
{
    if (CommandHistory.count == 0)
        return;
    recordoff();
    const int last = CommandHistory.count - 1, start = CommandHistory.starts[last];
    keepForRedo(CommandHistory.items[last], start);
    dropto((uint32_t)start);
    replayToEnd(m, -1); // m holds more than the record now
    CommandHistory.count = last;
}

int redoLastUndone(Mesh *m, const char **why)
{
    if (Redo.count == 0) {
        *why = "Nothing to redo";
        return 0;
    }
    const int top = Redo.count - 1;
    const int steps = Redo.steps - Redo.firstStep[top], picks = Redo.picks - Redo.firstPick[top];
    if (numsteps() + steps > MIRL_MAXSTEPS || numpicks() + picks > MIRL_MAXPICKS) {
        *why = "Nothing redone: the record has no room for the steps";
        return 0;
    }
    recordoff();
    const int start = numsteps();
    for (int i = 0, p = Redo.firstPick[top]; i < steps; i++) {
        const uint8_t op = Redo.ops[Redo.firstStep[top] + i];
        insstep((uint32_t)(start + i), op, Redo.params[Redo.firstStep[top] + i], op == MIRL_OPPICK ? Redo.pickList[p++] : 0);
    }
    // The committed mesh is the replay of the steps before: going on from it
    // (or from a checkpoint kept since the undo) gives a full replay's bits.
    replayToEnd(m, start);
    appendHistory(Redo.items[top], start);
    Redo.steps = Redo.firstStep[top];
    Redo.picks = Redo.firstPick[top];
    Redo.count = top;
    return 1;
}
