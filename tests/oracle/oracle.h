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

// Transforms as described: the selection scope asks vselect for every
// vertex (vertex count x face count), the per-face ones walk the faces.
void transob(Mesh *m, const Vec3 *offset, int32_t scope);
void scaleob(Mesh *m, const Vec3 *factors, int32_t whole);
void rotobj(Mesh *m, float p, int32_t axis);
void scale1(Mesh *m, float p);
void scale2(Mesh *m, float p);
void scale3(Mesh *m, float p);
void scale4(Mesh *m, float p);
void scale5(Mesh *m, float p);
void scale6(Mesh *m, float p);
void scale7(Mesh *m, float p);
void scale8(Mesh *m, float p);
void scalece(Mesh *m, float p);
void trans1(Mesh *m, float p);
void trans2b(Mesh *m, float p);
void trans3(Mesh *m, float p);
void trans4(Mesh *m, float p);
void trans5(Mesh *m, float p);
void trans6(Mesh *m, float p);
void trans2(Mesh *m, float p);
void rotate1(Mesh *m, float p);
void rotate2(Mesh *m, float p);
void rotate3(Mesh *m, float p);

// Extrude and delete removing one face at a time with delquad (quadratic),
// refusing an extrude whose result would exceed the capacity.
void addquad(Mesh *m, float p);
void delQuad(Mesh *m, float p);

// Subdivide/smooth with the linear addvert search for every edge point and
// the full clear of both scratch arrays; refuses by the runtime's condition
// (4N faces or the new points would not fit). Unused old vertices stay.
void smooth(Mesh *m, int32_t smoothing);
void subd(Mesh *m, float p);
void smoooth(Mesh *m, float p);

// The table the oracle replays through: its own literal routine where the
// runtime has a faster one, the runtime's routine everywhere else.
extern mirlOp Table[MIRL_NUMOPS];

// replayobj through Table, step by step as described.
void replay(const mirlObj *r, Mesh *m);

} // namespace oracle
