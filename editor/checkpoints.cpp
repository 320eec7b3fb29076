#include "checkpoints.h"

#include <cstring>

#include "editor_state.h"

struct Checkpoint {
    int step;       // the record steps it is the replay of
    mirlObj record; // those steps and their picks: is it still this record?
    int32_t lastPicked;
    double cost; // estimated replay work from the empty mesh
};

static Mesh SlotMeshes[CheckpointSlots]; // untouched pages cost no memory
static Checkpoint Slots[CheckpointSlots];
static int Order[CheckpointSlots]; // slots in use by ascending step, then the free ones
static int Used;
static const bool OrderReady = [] {
    for (int i = 0; i < CheckpointSlots; i++)
        Order[i] = i;
    return true;
}();

// Estimated replay work up to each step: the mesh size after each step,
// summed (normals and most operations are linear in it).
static double CumulativeCost[MIRL_MAXSTEPS + 1];
static int KnownStep;

// Replay work between checkpoints: about 10 setnorm calls at 200,000 faces.
double CheckpointSpacing = 4.0e6;

// The steps a checkpoint replays are still the record's first ones: a new
// command after an undo replaces the ones beyond, an edit or a deletion
// changes one in the middle (and its undo may make it valid again).
static bool stillValid(const Checkpoint &c)
{
    const mirlObj &r = CommandRecord;
    const size_t n = (size_t)c.step, picks = pickidx(&c.record, (uint32_t)c.step);
    return c.step <= numsteps() && std::memcmp(c.record.ops, r.ops, n) == 0 &&
           std::memcmp(c.record.params, r.params, n) == 0 &&
           std::memcmp(c.record.picks, r.picks, picks * sizeof(uint32_t)) == 0;
}

void resetCheckpoints()
{
    Used = 0;
    KnownStep = 0;
    CumulativeCost[0] = 0.0;
}

void dropCheckpointsAfter(int n)
{
    while (Used > 0 && Slots[Order[Used - 1]].step > n)
        Used--;
    if (KnownStep > n)
        KnownStep = n;
}

static void removeAt(int i)
{
    int slot = Order[i];
    std::memmove(&Order[i], &Order[i + 1], (size_t)(Used - i - 1) * sizeof(int));
    Order[--Used] = slot; // free again
}

// When every slot is taken, one whose steps are no longer the record's goes
// first (those beyond the record's end may come back with redo); else the
// checkpoint whose loss leaves the smallest gap of replay work (never the
// newest).
static void makeRoom()
{
    if (Used < CheckpointSlots)
        return;
    for (int i = Used - 1; i >= 0; i--) {
        if (Slots[Order[i]].step <= numsteps() && !stillValid(Slots[Order[i]])) {
            removeAt(i);
            return;
        }
    }
    int best = 0;
    double bestGap = 0.0;
    for (int i = 0; i + 1 < Used; i++) {
        double before = i == 0 ? 0.0 : Slots[Order[i - 1]].cost;
        double gap = Slots[Order[i + 1]].cost - before;
        if (i == 0 || gap < bestGap) {
            best = i;
            bestGap = gap;
        }
    }
    removeAt(best);
}

// Position of the first checkpoint after step n.
static int firstAfter(int n)
{
    int i = Used;
    while (i > 0 && Slots[Order[i - 1]].step > n)
        i--;
    return i;
}

void stepsChangedFrom(int step)
{
    if (KnownStep > step)
        KnownStep = step;
}

// The latest checkpoint at or before step that still fits the record, or
// nullptr.
static const Checkpoint *latestValid(int step)
{
    for (int i = firstAfter(step) - 1; i >= 0; i--)
        if (stillValid(Slots[Order[i]]))
            return &Slots[Order[i]];
    return nullptr;
}

// Keeps m, the replay of the record's first `step` steps with LastPickedFace
// as it left it, as a checkpoint (in place of one at the same step).
static void storeCheckpoint(const Mesh *m, int step)
{
    int at = firstAfter(step);
    int slot;
    if (at > 0 && Slots[Order[at - 1]].step == step) {
        slot = Order[at - 1];
    } else {
        makeRoom();
        at = firstAfter(step);
        slot = Order[Used];
        std::memmove(&Order[at + 1], &Order[at], (size_t)(Used - at) * sizeof(int));
        Order[at] = slot;
        Used++;
    }
    copyUsedMesh(&SlotMeshes[slot], m);
    Checkpoint &c = Slots[slot];
    c.step = step;
    c.record = CommandRecord;
    c.lastPicked = LastPickedFace;
    c.cost = CumulativeCost[step < KnownStep ? step : KnownStep];
}

void noteCommittedState(const Mesh *m)
{
    const int now = numsteps();
    const double size = (double)m->nverts + (double)m->nquads;
    for (int s = KnownStep + 1; s <= now; s++)
        CumulativeCost[s] = CumulativeCost[s - 1] + size;
    KnownStep = now;
    // Checkpoints after now stay for redo, and those that an edit made stale
    // for its undo, used only while their steps are the record's again.
    const Checkpoint *below = latestValid(now);
    if (below && below->step == now)
        return;
    if (CumulativeCost[now] - (below ? below->cost : 0.0) < CheckpointSpacing)
        return;
    storeCheckpoint(m, now);
}

// Puts into m the replay of the record's first `have` steps or more, up to
// `upTo`, from the latest checkpoint that fits; returns how many it holds.
// m already holds the replay of the first `have` (0 or less: nothing).
static int restoreLatest(Mesh *m, int have, int upTo)
{
    const Checkpoint *c = latestValid(upTo);
    if (c && c->step > have) {
        copyUsedMesh(m, &SlotMeshes[c - Slots]);
        LastPickedFace = c->lastPicked;
        return c->step;
    }
    if (have <= 0) {
        m->nverts = 0;
        m->nquads = 0;
        LastPickedFace = -1;
        return 0;
    }
    return have;
}

void replayToEnd(Mesh *m, int have)
{
    const int now = numsteps();
    if (have > now)
        have = -1;
    have = restoreLatest(m, have, now);
    replayfrom(&CommandRecord, m, (uint32_t)have);
}

void keepCheckpointAt(int step, Mesh *scratch)
{
    if (step <= 0 || step > numsteps())
        return; // the empty mesh needs no checkpoint
    const Checkpoint *c = latestValid(step);
    if (c && c->step == step)
        return;
    const int have = restoreLatest(scratch, -1, step);
    mirlObj head = CommandRecord;
    head.count = (uint8_t)step;
    replayfrom(&head, scratch, (uint32_t)have);
    storeCheckpoint(scratch, step);
}

int checkpointCount()
{
    return Used;
}

size_t checkpointBytes()
{
    size_t n = 0;
    for (int i = 0; i < Used; i++) {
        const Mesh *s = &SlotMeshes[Order[i]];
        n += s->nquads * (sizeof(Quad) + sizeof(Vec3) + sizeof(int32_t)) + s->nverts * 2 * sizeof(Vec3);
    }
    return n;
}
