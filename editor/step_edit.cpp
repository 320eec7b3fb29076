#include "step_edit.h"

#include <cstdio>

#include "checkpoints.h"
#include "commands.h"
#include "editor.h"
#include "editor_state.h"
#include "history.h"
#include "opnames.h"
#include "step_list.h"

static struct {
    bool open;
    int step;
    uint8_t before;     // the byte the edit started from
    int32_t lastPicked; // the committed model's, for a cancel
} Edit;

bool stepEditOpen()
{
    return Edit.open;
}

static const char *nameOf(uint8_t op)
{
    const char *name = operationName(op);
    return name ? name : "-";
}

void commandEditStep()
{
    recordoff(); // the replays record nothing
    const int step = selectedStep();
    if (step < 0 || step >= numsteps() || !haspar(CommandRecord.ops[step])) {
        std::printf(" No step with a parameter selected.");
        Editor.interactionMode = ModePick;
        return;
    }
    Edit.open = true;
    Edit.step = step;
    Edit.before = CommandRecord.params[step];
    Edit.lastPicked = LastPickedFace;
    // Every motion replays from the edited step on: from a checkpoint right
    // there, built now once (in the preview slot) if there is none.
    keepCheckpointAt(step, previewMesh());
    copyUsedMesh(previewMesh(), committedMesh());
    LastPickedFace = Edit.lastPicked;
    std::printf(" step %d %s", step, nameOf(CommandRecord.ops[step]));
    std::fflush(stdout);
}

// The byte of the edited step's old value plus the live offset, clamped to
// [-8, 8] like a command's parameter.
static uint8_t editedByte()
{
    double value = (double)decpar(Edit.before) + (double)Editor.paramOffset;
    if (value < -8.0)
        value = -8.0;
    if (value > 8.0)
        value = 8.0;
    return encpar((float)value);
}

void followStepEdit(int direction)
{
    Editor.paramOffset = (float)((double)Editor.paramOffset + direction * parameterStep());
    const uint8_t b = editedByte();
    if (b == CommandRecord.params[Edit.step])
        return; // the same model
    setpar((uint32_t)Edit.step, b);
    replayToEnd(previewMesh(), -1);
}

void commitStepEdit()
{
    Edit.open = false;
    const int step = Edit.step;
    const uint8_t after = CommandRecord.params[step];
    if (after == Edit.before) {
        LastPickedFace = Edit.lastPicked;
        std::printf(" unchanged");
    } else {
        copyUsedMesh(committedMesh(), previewMesh());
        StepChange change = {step, CommandRecord.ops[step], Edit.before, after, 0};
        pushStepChange(ItemEditStep, change);
        std::printf(" %d -> %d (%+.7f -> %+.7f)", Edit.before, after, (double)decpar(Edit.before),
                    (double)decpar(after));
    }
    finishCommand();
}

void cancelStepEdit()
{
    Edit.open = false;
    setpar((uint32_t)Edit.step, Edit.before);
    LastPickedFace = Edit.lastPicked;
    std::printf(" cancelled");
    finishCommand();
}

void commandDeleteStep()
{
    recordoff();
    Editor.interactionMode = ModePick;
    const int step = selectedStep();
    if (step == 0) {
        std::printf(" The first step stays.");
        return;
    }
    if (step < 0 || step >= numsteps()) {
        std::printf(" No step selected.");
        return;
    }
    const mirlObj &r = CommandRecord;
    const uint8_t op = r.ops[step];
    StepChange change = {step, op, r.params[step], r.params[step], 0};
    if (op == MIRL_OPPICK)
        change.face = r.picks[pickidx(&r, (uint32_t)step)];
    std::printf(" deleted step %d %s", step, nameOf(op));
    if (op == MIRL_OPPICK)
        std::printf(" (face %u)", (unsigned)change.face);
    else
        std::printf(" (%d)", change.before);
    delstep((uint32_t)step);
    pushStepChange(ItemDeleteStep, change);
    replayToEnd(committedMesh(), -1);
    selectStep(-1); // a second Delete must not take the next step unseen
}
