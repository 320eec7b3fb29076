// The literal algorithms, written as plainly as they are described, to check
// the runtime's faster equivalents against. Slow on purpose (quadratic where
// the description is quadratic); only tests and benchmarks use them.
#pragma once

#include "mirl.h"

namespace oracle {

// Grow/adjacent by comparing every selected face with every face whose flag
// is still 0, marking with twice the number of shared corner pairs.
void expands(Mesh *m, int32_t keep);
void select4(Mesh *m, float p);
void select5(Mesh *m, float p);

// The table the oracle replays through: its own literal routine where the
// runtime has a faster one, the runtime's routine everywhere else.
extern mirlOp Table[MIRL_NUMOPS];

// replayobj through Table, step by step as described.
void replay(const mirlObj *r, Mesh *m);

} // namespace oracle
