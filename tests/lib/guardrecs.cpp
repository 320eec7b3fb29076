#include "guardrecs.h"

#include "testmesh.h"


// A cube refused for the vertex capacity: the mesh grown to 221,186
// vertices, its faces deleted, then lone cubes smoothed 5, 4, 3, 2, 1 and 0
// times (6,146, 1,538, 386, 98, 26 and 8 vertices each) up to 249,998, so
// the last cube's 8 do not fit.
static mirlObj cubePastCapacity()
{
    const int cube = MIRL_OP_ADDCUBE, smooth = MIRL_OP_SMOOOTH, all = MIRL_OP_SELECT1, del = MIRL_OP_DELQUAD;
    mirlObj r = makeRecord({{cube, 128}});
    auto add = [&r](int op) {
        r.ops[r.count] = (uint8_t)op;
        r.params[r.count++] = 128;
    };
    for (int i = 0; i < 6; i++)
        add(smooth);
    add(MIRL_OP_ADDQUAD);
    add(MIRL_OP_ADDQUAD);
    const int smooths[] = {5, 5, 5, 5, 4, 4, 3, 3, 2, 2, 2, 1, 1, 1, 0};
    for (int k : smooths) {
        add(all);
        add(del);
        add(cube);
        for (int i = 0; i < k; i++)
            add(smooth);
    }
    add(cube);
    add(MIRL_OP_SCALE4); // the step after the refusal goes on as usual
    return r;
}

// Records that reach the guards: a step refused for the face capacity, one
// refused for the vertex capacity, an extrude that would not fit, a cube
// that would not fit, picks beyond the faces (one far beyond the capacity),
// select similar before any
// pick, select similar after the picked face was deleted (and none before
// the first pick), a step with an opcode that has no operation.
std::vector<SampleRecord> guardRecords()
{
    const int smooth = MIRL_OP_SMOOOTH, all = MIRL_OP_SELECT1, invert = MIRL_OP_SELECT3;
    const int extrude = MIRL_OP_ADDQUAD, del = MIRL_OP_DELQUAD, cube = MIRL_OP_ADDCUBE, pick = MIRL_OPPICK;
    return {
        {"smoothpastfaces", makeRecord({{cube, 128}, {smooth, 128}, {smooth, 128}, {smooth, 128}, {smooth, 128},
                                        {smooth, 128}, {smooth, 128}, {smooth, 128}, {smooth, 128}})},
        {"smoothpastverts",
         makeRecord({{cube, 128}, {smooth, 128}, {smooth, 128}, {smooth, 128}, {smooth, 128}, {smooth, 128},
                     {smooth, 128}, {extrude, 128}, {invert, 128}, {del, 128}, {all, 128}, {extrude, 128},
                     {invert, 128}, {del, 128}, {smooth, 128}, {MIRL_OP_TRANS1, 140}})},
        {"extrudepastcapacity", makeRecord({{cube, 128}, {smooth, 128}, {smooth, 128}, {smooth, 128}, {smooth, 128},
                                            {smooth, 128}, {smooth, 128}, {smooth, 128}, {extrude, 128}})},
        {"cubepastcapacity", cubePastCapacity()},
        {"pickoutside", makeRecord({{cube, 128}, {MIRL_OP_SELECT2, 128}, {pick, 128}, {pick, 128}, {pick, 128},
                                    {extrude, 128}, {MIRL_OP_TRANS2, 140}},
                                   {9, 2, 4000000000u})},
        {"similarunpicked", makeRecord({{cube, 128}, {MIRL_OP_SELECT2, 128}, {MIRL_OP_SELECT7, 128}, {pick, 128},
                                        {del, 128},
                                        {MIRL_OP_SELECT6, 128}, {all, 128}, {MIRL_OP_ROTATE2, 100}},
                                       {5})},
        {"similardeleted", makeRecord({{cube, 128}, {MIRL_OP_SELECT2, 128}, {pick, 128}, {del, 128},
                                       {MIRL_OP_SELECT8, 128}, {extrude, 128}},
                                      {5})},
        {"skippedstep", makeRecord({{cube, 128}, {40, 128}, {MIRL_OP_SCALE4, 140}, {255, 7}})},
    };
}

