#include "samplerecs.h"

#include "randrec.h"
#include "testmesh.h"

std::vector<SampleRecord> sampleRecords()
{
    // Count 10; 0x0A, 0x0D 0x0A and 0x1A as opcodes, parameters and pick
    // bytes; leftovers past the counts, which the file keeps too.
    mirlObj special = makeRecord(
        {{31}, {10, 10}, {13, 10}, {10, 13}, {26, 26}, {50}, {50, 10}, {19}, {50, 26}, {13, 13}}, {10, 0x0A0D0A0Du, 26});
    special.ops[10] = 0x0A;
    special.params[200] = 0x0D;
    special.picks[255] = 0x0A0A0A0Au;
    // 255 steps: the cube, then picks cycling over faces 0..6 (6 is no face).
    mirlObj full = makeRecord({{MIRL_OP_ADDCUBE}, {MIRL_OPPICK, 128, 254}});
    for (int i = 1; i < 255; i++)
        full.picks[i - 1] = static_cast<uint32_t>(i % 7);
    const int pick = MIRL_OPPICK;
    std::vector<SampleRecord> all = {
        {"cube", makeRecord({{MIRL_OP_ADDCUBE}})},
        {"picked", makeRecord({{MIRL_OP_ADDCUBE}, {MIRL_OP_SELECT2}, {pick, 128, 2}, {MIRL_OP_TRANS2, 132}}, {3, 5})},
        {"oddbytes", special},
        // Unknown opcodes, picks far outside the mesh, a pick before any face.
        {"oddsteps", makeRecord({{pick}, {MIRL_OP_ADDCUBE}, {40, 7}, {255, 255}, {pick}, {32, 0}, {49}, {51}, {pick},
                                 {MIRL_OP_SELECT3}, {pick}},
                                {0, 6, 0xFFFFFFFFu, 250000})},
        {"full", full},
    };
    auto scratch = newMesh();
    for (uint64_t seed = 1; seed <= 3; seed++) {
        RecOptions o;
        o.maxSteps = 80;
        all.push_back({"random" + std::to_string(seed), randomRecord(seed, o, scratch.get())});
    }
    return all;
}
