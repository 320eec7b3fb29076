#include "samplerecs.h"

#include "randrec.h"
#include "testmesh.h"

std::vector<SampleRecord> sampleRecords()
{
    // Count 10; 0x0A, 0x0D 0x0A and 0x1A as opcodes, parameters and pick
    // bytes; leftovers past the counts, which the file keeps too.
    mirlObj special = makeRecord({{31}, {10, 10}, {13, 10}, {10, 13}, {26, 26}, {50}, {50, 10}, {19}, {50, 26}, {13, 13}},
                                 {10, 0x0A0D0A0Du, 26});
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

// Records that reach the guards: a step refused for the face capacity, one
// refused for the vertex capacity, an extrude that would not fit, a cube
// that would not fit, picks beyond the faces (one far beyond the capacity),
// select similar before any pick, select similar after the picked face was
// deleted (and none before the first pick), a step with an opcode that has
// no operation.
std::vector<SampleRecord> guardRecords()
{
    const int smooth = MIRL_OP_SMOOOTH, all = MIRL_OP_SELECT1, invert = MIRL_OP_SELECT3;
    const int extrude = MIRL_OP_ADDQUAD, del = MIRL_OP_DELQUAD, cube = MIRL_OP_ADDCUBE, pick = MIRL_OPPICK;
    // A cube refused for the vertex capacity: the mesh grown to 221,186
    // vertices, its faces deleted, then lone cubes smoothed 5, 4, 3, 2, 1 and
    // 0 times (6,146, 1,538, 386, 98, 26 and 8 vertices each) up to 249,998,
    // so the last cube's 8 do not fit; the step after the refusal goes on as
    // usual.
    mirlObj cubePast = makeRecord({{cube}, {smooth, 128, 6}, {extrude, 128, 2}});
    for (int k : {5, 5, 5, 5, 4, 4, 3, 3, 2, 2, 2, 1, 1, 1, 0})
        addSteps(cubePast, {{all}, {del}, {cube}, {smooth, 128, k}});
    addSteps(cubePast, {{cube}, {MIRL_OP_SCALE4}});
    return {
        {"smoothpastfaces", makeRecord({{cube}, {smooth, 128, 8}})},
        {"smoothpastverts", makeRecord({{cube}, {smooth, 128, 6}, {extrude}, {invert}, {del}, {all}, {extrude},
                                        {invert}, {del}, {smooth}, {MIRL_OP_TRANS1, 140}})},
        {"extrudepastcapacity", makeRecord({{cube}, {smooth, 128, 7}, {extrude}})},
        {"cubepastcapacity", cubePast},
        {"pickoutside", makeRecord({{cube}, {MIRL_OP_SELECT2}, {pick, 128, 3}, {extrude}, {MIRL_OP_TRANS2, 140}},
                                   {9, 2, 4000000000u})},
        {"similarunpicked", makeRecord({{cube}, {MIRL_OP_SELECT2}, {MIRL_OP_SELECT7}, {pick}, {del},
                                        {MIRL_OP_SELECT6}, {all}, {MIRL_OP_ROTATE2, 100}},
                                       {5})},
        {"similardeleted",
         makeRecord({{cube}, {MIRL_OP_SELECT2}, {pick}, {del}, {MIRL_OP_SELECT8}, {extrude}}, {5})},
        {"skippedstep", makeRecord({{cube}, {40}, {MIRL_OP_SCALE4, 140}, {255, 7}})},
    };
}
