// A mutator for fuzz_replay that edits an input as a record, not as bytes:
// it inserts, deletes or changes a step, a parameter or a pick, changes the
// count or repeats a run of steps, keeping the pick list in step with the
// pick steps. Linked into fuzz_records; an input that is not a whole object
// starts again from the cube.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "mirlfile.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t *data, size_t size, size_t maxSize);

namespace {

struct Step {
    uint8_t op, param;
    uint32_t face; // of a pick step
};
std::minstd_rand Random;

unsigned pick(unsigned n)
{
    return n ? (unsigned)(Random() % n) : 0;
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

Step anyStep(uint8_t param)
{
    unsigned r = pick(40);
    return {r < 32 ? (uint8_t)r : r < 38 ? (uint8_t)MIRL_OPPICK : (uint8_t)pick(256), param, anyFace()};
}

// The steps in use go out and back; steps past the count and entries past
// the picks in use stay in the record as leftovers.
void mutate(mirlObj &r)
{
    std::vector<Step> s;
    for (int i = 0, p = 0; i < r.count; i++)
        s.push_back({r.ops[i], r.params[i], r.ops[i] == MIRL_OPPICK ? r.picks[p++] : 0});
    const unsigned n = (unsigned)s.size(), i = pick(n);
    switch (pick(7)) {
    case 0:
        s.insert(s.begin() + pick(n + 1), anyStep(anyParam(128)));
        break;
    case 1: // removed, or another opcode with the same parameter
        if (n && pick(2))
            s.erase(s.begin() + i);
        else if (n)
            s[i] = anyStep(s[i].param);
        break;
    case 2:
        if (n)
            s[i].param = anyParam(s[i].param);
        break;
    case 3: // a step's pick, or any entry of the list
        if (n && pick(2))
            s[i].face = anyFace();
        else
            r.picks[pick(256)] = anyFace();
        break;
    case 4: // the count alone: leftovers come into play
        r.count = pick(2) ? (uint8_t)(n + 1) : pick(2) ? (uint8_t)(n - 1) : (uint8_t)pick(256);
        return;
    default: // a run of steps repeated elsewhere: meshes grow
        if (n) {
            const unsigned from = pick(n);
            const std::vector<Step> run(s.begin() + from, s.begin() + from + 1 + pick(n - from));
            s.insert(s.begin() + pick(n + 1), run.begin(), run.end());
        }
    }
    r.count = (uint8_t)(s.size() < MIRL_MAXSTEPS ? s.size() : MIRL_MAXSTEPS);
    for (int k = 0, p = 0; k < r.count; k++) {
        r.ops[k] = s[k].op;
        r.params[k] = s[k].param;
        if (s[k].op == MIRL_OPPICK)
            r.picks[p++] = s[k].face;
    }
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *data, size_t size, size_t maxSize, unsigned int seed)
{
    static unsigned char image[MIRL_IMAGE_SIZE], text[MIRL_TEXT_MAX];
    static mirlObj r;
    Random.seed(seed);
    if (pick(8) == 0) // now and then bytes as bytes: line ends, odd lengths
        return LLVMFuzzerMutate(data, size, maxSize);
    const bool whole = untext(data, size, image) == MIRL_IMAGE_SIZE;
    if (!whole)
        std::memset(image, 0, sizeof image);
    decobj(image, &r);
    if (!whole) {
        r.count = 1;
        r.ops[0] = MIRL_OP_ADDCUBE;
        r.params[0] = 128;
    }
    for (unsigned k = 1 + pick(3); k > 0; k--)
        mutate(r);
    encobj(&r, image);
    size_t n = totext(image, text);
    if (n > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, text, n);
    return n;
}
