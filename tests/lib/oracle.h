// The literal algorithms, written as plainly as they are described, to check
// the runtime's faster equivalents against. Slow on purpose (quadratic where
// the description is quadratic); only tests and benchmarks use them.
#pragma once

#include "mirl.h"

namespace oracle {

// Grow (select4) and adjacent (select5): every selected face against every
// face whose flag is still 0, marking with twice the shared corner pairs.
void expands(Mesh *m, int32_t keep);
void select4(Mesh *m, float p);
void select5(Mesh *m, float p);

// The selection-scope moves ask vselect for every vertex (vertices x faces).
void trans4(Mesh *m, float p);

// Extrude and delete remove one face at a time with delquad (quadratic); an
// extrude whose result would exceed the capacity is refused.
void addquad(Mesh *m, float p);
void delQuad(Mesh *m, float p);

// Subdivide/smooth with the linear addvert search for every edge point;
// refused by the runtime's condition (4N faces or the new points would not
// fit). Unused old vertices stay.
void subd(Mesh *m, float p);
void smoooth(Mesh *m, float p);

// Every opcode below 32: the literal routine where the runtime has a faster
// one (all transforms included), the runtime's routine everywhere else.
extern mirlOp Table[MIRL_NUMOPS];

// replayobj through Table, step by step as described.
void replay(const mirlObj *r, Mesh *m);

} // namespace oracle
