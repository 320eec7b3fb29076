#include "samplerecs.h"

#include <cstring>

#include "randrec.h"
#include "testmesh.h"

mirlObj startingRecord()
{
    return makeRecord({{31, 128}});
}

void useRecord(const mirlObj &r)
{
    CommandRecord = r;
    uint32_t picks = 0;
    for (int i = 0; i < r.count; i++)
        picks += r.ops[i] == MIRL_OPPICK;
    PickCount = picks;
}

// Count 10, and 0x0A, 0x0D 0x0A and 0x1A as opcodes, parameters and pick
// bytes, with leftovers past the counts that the file keeps too.
static mirlObj specialBytesRecord()
{
    mirlObj r = makeRecord({{31, 128}, {10, 10}, {13, 10}, {10, 13}, {26, 26}, {50, 128},
                            {50, 10}, {19, 128}, {50, 26}, {13, 13}},
                           {10, 0x0A0D0A0Du, 26});
    r.ops[10] = 0x0A; // past the count: written and read, never replayed
    r.params[200] = 0x0D;
    r.picks[3] = 0x1A0A1A0Au;
    r.picks[255] = 0x0A0A0A0Au;
    return r;
}

// Unknown opcodes, picks far outside the mesh, a pick before any face.
static mirlObj oddStepsRecord()
{
    return makeRecord({{50, 128}, {31, 128}, {40, 7}, {255, 255}, {50, 128}, {32, 0}, {49, 128},
                       {51, 128}, {50, 128}, {21, 128}, {50, 128}},
                      {0, 6, 0xFFFFFFFFu, 250000});
}

// 255 steps: the cube, then 254 picks cycling over faces 0..6 (6 is beyond
// the cube's last face).
static mirlObj fullRecord()
{
    mirlObj r;
    std::memset(&r, 0, sizeof r);
    r.count = 255;
    r.ops[0] = 31;
    r.params[0] = 128;
    for (int i = 1; i < 255; i++) {
        r.ops[i] = MIRL_OPPICK;
        r.params[i] = 128;
        r.picks[i - 1] = static_cast<uint32_t>(i % 7);
    }
    return r;
}

std::vector<SampleRecord> sampleRecords()
{
    std::vector<SampleRecord> all = {
        {"cube", startingRecord()},
        {"picked", makeRecord({{31, 128}, {20, 128}, {50, 128}, {50, 128}, {15, 132}}, {3, 5})},
        {"specialbytes", specialBytesRecord()},
        {"oddsteps", oddStepsRecord()},
        {"full", fullRecord()},
    };
    auto scratch = newMesh();
    for (uint64_t seed = 1; seed <= 3; seed++) {
        RecOptions o;
        o.maxSteps = 80;
        all.push_back({"random" + std::to_string(seed), randomRecord(seed, o, scratch.get())});
    }
    return all;
}
