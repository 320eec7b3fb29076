#include "history.h"

#include "checkpoints.h"
#include "commands.h"

CommandHistoryList CommandHistory;

// The items undo took away, newest last: a command's or pick's steps and
// picks run from its first entries to the next item's; an edit or a
// deletion keeps its change.
static struct {
    int count;
    int items[HistoryCapacity];
    int firstStep[HistoryCapacity], firstPick[HistoryCapacity];
    StepChange changes[HistoryCapacity];
    int steps, picks;
    uint8_t ops[MIRL_MAXSTEPS], params[MIRL_MAXSTEPS];
    uint32_t pickList[MIRL_MAXPICKS];
} Redo;

static bool isStepChange(int item)
{
    return item == ItemEditStep || item == ItemDeleteStep;
}

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

static void appendHistory(int item, int start, const StepChange &change)
{
    if (CommandHistory.count < HistoryCapacity) {
        const int n = CommandHistory.count++;
        CommandHistory.items[n] = item;
        CommandHistory.starts[n] = start;
        CommandHistory.changes[n] = change;
    }
}

void pushHistory(int item, int start)
{
    forgetRedo();
    dropCheckpointsAfter(start);
    appendHistory(item, start, StepChange());
}

void pushStepChange(int item, const StepChange &change)
{
    forgetRedo();
    stepsChangedFrom(change.step);
    appendHistory(item, change.step, change);
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

// Makes the change again (redo) or takes it back (undo) in the record: 1 if
// the record allowed it, and the checkpoints learn of it.
static int applyStepChange(int item, const StepChange &c, bool undo)
{
    const uint32_t step = (uint32_t)c.step;
    int done;
    if (item == ItemEditStep)
        done = setpar(step, (uint8_t)(undo ? c.before : c.after));
    else if (undo)
        done = insstep(step, (uint8_t)c.op, (uint8_t)c.before, c.face);
    else
        done = delstep(step);
    if (done)
        stepsChangedFrom(c.step);
    return done;
}

// Puts the item on the redo list: an edit or deletion with its change, a
// command or pick with its steps (from `start` on) and their picks.
static void keepForRedo(int item, int start, const StepChange &change)
{
    const mirlObj &r = CommandRecord;
    const bool own = !isStepChange(item);
    const int steps = own ? numsteps() - start : 0, picks = own ? numpicks() - (int)pickidx(&r, (uint32_t)start) : 0;
    if (Redo.count == HistoryCapacity || Redo.steps + steps > MIRL_MAXSTEPS || Redo.picks + picks > MIRL_MAXPICKS)
        forgetRedo(); // only a record edited behind the editor's back gets here
    Redo.items[Redo.count] = item;
    Redo.changes[Redo.count] = change;
    Redo.firstStep[Redo.count] = Redo.steps;
    Redo.firstPick[Redo.count++] = Redo.picks;
    for (int i = numsteps() - steps; i < numsteps(); i++) {
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
    const int last = CommandHistory.count - 1, item = CommandHistory.items[last], start = CommandHistory.starts[last];
    const StepChange &change = CommandHistory.changes[last];
    keepForRedo(item, start, change);
    if (isStepChange(item)) {
        applyStepChange(item, change, true);
    } else {
        dropto((uint32_t)start);
    }
    replayToEnd(m, -1); // m holds another record's replay now
    CommandHistory.count = last;
}

int redoLastUndone(Mesh *m, const char **why)
{
    if (Redo.count == 0) {
        *why = "Nothing to redo";
        return 0;
    }
    const int top = Redo.count - 1, item = Redo.items[top];
    const int steps = Redo.steps - Redo.firstStep[top], picks = Redo.picks - Redo.firstPick[top];
    if (numsteps() + steps > MIRL_MAXSTEPS || numpicks() + picks > MIRL_MAXPICKS) {
        *why = "Nothing redone: the record has no room for the steps";
        return 0;
    }
    recordoff();
    if (isStepChange(item)) {
        const StepChange &change = Redo.changes[top];
        if (!applyStepChange(item, change, false)) {
            *why = "Nothing redone: the record does not hold that step";
            return 0;
        }
        replayToEnd(m, -1);
        appendHistory(item, change.step, change);
    } else {
        const int start = numsteps();
        for (int i = 0, p = Redo.firstPick[top]; i < steps; i++) {
            const uint8_t op = Redo.ops[Redo.firstStep[top] + i];
            insstep((uint32_t)(start + i), op, Redo.params[Redo.firstStep[top] + i],
                    op == MIRL_OPPICK ? Redo.pickList[p++] : 0);
        }
        // The committed mesh is the replay of the steps before: going on from
        // it (or from a checkpoint kept since the undo) gives a full replay's
        // bits.
        replayToEnd(m, start);
        appendHistory(item, start, StepChange());
    }
    Redo.steps = Redo.firstStep[top];
    Redo.picks = Redo.firstPick[top];
    Redo.count = top;
    return 1;
}
