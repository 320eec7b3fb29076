#include "checkpoints.h"

#include <cstring>

#include "editor_state.h"

struct Checkpoint {
    int step;           // the record steps it is the replay of
    mirlObj record;     // those steps and their picks: is it still this record?
    uint32_t pickCount; // the replay's pick cursor
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

// The steps a checkpoint replays are still the record's first ones (a new
// command after an undo replaces the ones beyond).
static bool stillValid(const Checkpoint &c)
{
    const mirlObj &r = CommandRecord;
    const size_t n = (size_t)c.step;
    return c.step <= numsteps() && c.pickCount <= MIRL_MAXPICKS && std::memcmp(c.record.ops, r.ops, n) == 0 &&
           std::memcmp(c.record.params, r.params, n) == 0 &&
           std::memcmp(c.record.picks, r.picks, c.pickCount * sizeof(uint32_t)) == 0;
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

// When every slot is taken, the checkpoint whose loss leaves the smallest
// gap of replay work goes (never the newest).
static void makeRoom()
{
    if (Used < CheckpointSlots)
        return;
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

void noteCommittedState(const Mesh *m)
{
    const int now = numsteps();
    const double size = (double)m->nverts + (double)m->nquads;
    for (int s = KnownStep + 1; s <= now; s++)
        CumulativeCost[s] = CumulativeCost[s - 1] + size;
    KnownStep = now;
    // Checkpoints after now stay for redo, used only while their steps are
    // still the record's.
    int at = firstAfter(now);
    const Checkpoint *below = at > 0 ? &Slots[Order[at - 1]] : nullptr;
    if (below && below->step == now && stillValid(*below))
        return;
    if (CumulativeCost[now] - (below ? below->cost : 0.0) < CheckpointSpacing)
        return;
    makeRoom();
    at = firstAfter(now);
    const int slot = Order[Used];
    std::memmove(&Order[at + 1], &Order[at], (size_t)(Used - at) * sizeof(int));
    Order[at] = slot;
    Used++;
    copyUsedMesh(&SlotMeshes[slot], m);
    Checkpoint &c = Slots[slot];
    c.step = now;
    c.record = CommandRecord;
    c.pickCount = PickCount;
    c.lastPicked = LastPickedFace;
    c.cost = CumulativeCost[now];
}

void replayToEnd(Mesh *m, int have)
{
    const int now = numsteps();
    if (have > now)
        have = -1;
    for (int i = Used - 1; i >= 0; i--) {
        const Checkpoint &c = Slots[Order[i]];
        if (c.step > now || c.step <= have)
            continue;
        if (!stillValid(c))
            continue;
        copyUsedMesh(m, &SlotMeshes[Order[i]]);
        PickCount = c.pickCount;
        LastPickedFace = c.lastPicked;
        have = c.step;
        break;
    }
    if (have <= 0) {
        m->nverts = 0;
        m->nquads = 0;
        PickCount = 0;
        LastPickedFace = -1;
        have = 0;
    }
    replayfrom(&CommandRecord, m, (uint32_t)have);
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
