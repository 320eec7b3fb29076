#include "guardrecs.h"

#include "testmesh.h"

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
