// Placeholders for the transform, extrude/delete and subdivide/smooth
// operations: they leave the mesh alone but record their step, so records,
// undo and replay already line up. Replaced by the real operations next.
#include "internal.h"

#define PENDING_OP(name, opcode, recorded)                                    \
    MIRL_SECTION("." #name) void name(Mesh *m, float p)                       \
    {                                                                          \
        (void)m;                                                               \
        (void)p;                                                               \
        recordstep(opcode, recorded);                                          \
    }

PENDING_OP(scale1, 0, p)
PENDING_OP(scale2, 1, p)
PENDING_OP(scale3, 2, p)
PENDING_OP(scale4, 3, p)
PENDING_OP(scale5, 4, p)
PENDING_OP(scale6, 5, p)
PENDING_OP(scale7, 6, p)
PENDING_OP(scale8, 7, p)
PENDING_OP(scalece, 8, p)
PENDING_OP(trans1, 9, p)
PENDING_OP(trans3, 11, p)
PENDING_OP(trans4, 12, p)
PENDING_OP(trans5, 13, p)
PENDING_OP(trans6, 14, p)
PENDING_OP(trans2, 15, p)
// trans2b follows trans2 in its section.
MIRL_SECTION(".trans2") void trans2b(Mesh *m, float p) { (void)m; recordstep(10, p); }
PENDING_OP(rotate1, 16, p)
PENDING_OP(rotate2, 17, p)
PENDING_OP(rotate3, 18, p)
PENDING_OP(subd, 27, 0.0f)
PENDING_OP(addquad, 29, 0.0f)
PENDING_OP(delQuad, 30, 0.0f)

MIRL_SECTION(".transob") void transob(Mesh *m, const Vec3 *offset, int32_t scope) { (void)m; (void)offset; (void)scope; }
MIRL_SECTION(".scaleob") void scaleob(Mesh *m, const Vec3 *factors, int32_t whole) { (void)m; (void)factors; (void)whole; }
MIRL_SECTION(".rotobj") void rotobj(Mesh *m, float p, int32_t axis) { (void)m; (void)p; (void)axis; }
MIRL_SECTION(".smooth") void smooth(Mesh *m, int32_t smoothing) { (void)m; (void)smoothing; }
