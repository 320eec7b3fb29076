// A mutator for fuzz_replay that edits an input as a record, not as bytes:
// it inserts, deletes or changes a step, a parameter or a pick, changes the
// count or repeats a run of steps, keeping the pick list in step with the
// pick steps. Linked into fuzz_records; an input that is not a whole object
// starts again from the cube.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>

#include "mirlfile.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t *data, size_t size, size_t maxSize);

namespace {

enum { Count = 0, Ops = 1, Params = 257, Picks = 513 }; // offsets in the image
unsigned char Image[MIRL_IMAGE_SIZE];
std::minstd_rand Random;

unsigned pick(unsigned n)
{
    return n ? (unsigned)(Random() % n) : 0;
}

// The pick-list entry of step i: the number of pick steps before it.
int pickSlot(int i)
{
    return (int)std::count(Image + Ops, Image + Ops + i, (unsigned char)MIRL_OPPICK);
}

void putPick(int slot, uint32_t face)
{
    for (int k = 0; k < 4; k++)
        Image[Picks + 4 * slot + k] = (unsigned char)(face >> (8 * k));
}

uint8_t anyOpcode()
{
    unsigned r = pick(40);
    return r < 32 ? (uint8_t)r : r < 38 ? MIRL_OPPICK : (uint8_t)pick(256);
}

uint8_t anyParam(uint8_t old)
{
    const uint8_t special[] = {0, 128, 255, 136, 120, (uint8_t)(old + 1), (uint8_t)(old - 1)};
    return pick(2) ? (uint8_t)pick(256) : special[pick(sizeof special)];
}

uint32_t anyFace()
{
    const uint32_t special[] = {0xFFFFFFFFu, 0x80000000u, MIRL_MAXQUADS, MIRL_MAXQUADS - 1, (uint32_t)Random()};
    return pick(4) ? pick(pick(2) ? 32 : MIRL_MAXQUADS + 8) : special[pick(5)];
}

// Moves the steps from i on by one (forwards to make room, or back over step
// i), and the pick list with them when step i is a pick.
void shiftSteps(int i, int by, bool isPick)
{
    int n = Image[Count], s = pickSlot(i), from = by > 0 ? i : i + 1;
    for (int at : {Ops, Params})
        std::memmove(Image + at + from + by, Image + at + from, n - from);
    if (isPick)
        std::memmove(Image + Picks + 4 * (s + (by > 0)), Image + Picks + 4 * (s + (by < 0)), 4 * (255 - s));
    Image[Count] = (unsigned char)(n + by);
}

void insertStep(int i, uint8_t op, uint8_t param, uint32_t face)
{
    if (Image[Count] == MIRL_MAXSTEPS)
        return;
    shiftSteps(i, 1, op == MIRL_OPPICK);
    Image[Ops + i] = op;
    Image[Params + i] = param;
    if (op == MIRL_OPPICK)
        putPick(pickSlot(i), face);
}

void mutateRecord()
{
    int n = Image[Count], i = (int)pick(n), s = pickSlot(i);
    uint8_t param = Image[Params + i];
    switch (pick(7)) {
    case 0: // a new step
        insertStep((int)pick(n + 1), anyOpcode(), anyParam(128), anyFace());
        break;
    case 1:
    case 2: // removed, or another opcode with the same parameter
        if (n)
            shiftSteps(i, -1, Image[Ops + i] == MIRL_OPPICK);
        if (n && pick(2))
            insertStep(i, anyOpcode(), param, anyFace());
        break;
    case 3:
        Image[Params + i] = n ? anyParam(param) : param;
        break;
    case 4: // a pick: one of the steps' or any entry
        putPick(pick(2) && s < pickSlot(n) ? s : (int)pick(256), anyFace());
        break;
    case 5: // the count: leftovers come into play
        Image[Count] = pick(2) ? (uint8_t)(n + 1) : pick(2) ? (uint8_t)(n - 1) : (uint8_t)pick(256);
        break;
    default: { // a run of steps repeated elsewhere: meshes grow
        int from = (int)pick(n), len = 1 + (int)pick(n - from), to = (int)pick(n + 1);
        for (int k = 0; k < len && Image[Count] < MIRL_MAXSTEPS; k++) {
            int at = from + k + (from + k >= to ? k : 0); // where the inserts moved it
            uint32_t face = 0;
            std::memcpy(&face, Image + Picks + 4 * pickSlot(at), 4);
            insertStep(to + k, Image[Ops + at], Image[Params + at], face);
        }
    }
    }
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *data, size_t size, size_t maxSize, unsigned int seed)
{
    static unsigned char text[MIRL_TEXT_MAX];
    Random.seed(seed);
    if (pick(8) == 0) // now and then bytes as bytes: line ends, odd lengths
        return LLVMFuzzerMutate(data, size, maxSize);
    if (untext(data, size, Image) < MIRL_IMAGE_SIZE) {
        std::memset(Image, 0, sizeof Image);
        insertStep(0, MIRL_OP_ADDCUBE, 128, 0);
    }
    for (unsigned k = 1 + pick(3); k > 0; k--)
        mutateRecord();
    size_t n = totext(Image, text);
    if (n > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, text, n);
    return n;
}
