// The operation table and the replay that drives it.
#include "internal.h"

// Writable on purpose: a player may swap in its own routines.
MIRL_SECTION(".functio") mirlOp OperationTable[MIRL_NUMOPS] = {
    scale1,  scale2,  scale3,  scale4,  scale5,  scale6,  scale7,  scale8,
    scalece, trans1,  trans2b, trans3,  trans4,  trans5,  trans6,  trans2,
    rotate1, rotate2, rotate3, select1, select2, select3, select4, select5,
    select6, select7, select8, subd,    smoooth, addquad, delQuad, addcube,
};
MIRL_SECTION(".functio") int32_t HeaderPending = 1;

MIRL_SECTION(".unpacko") void replayobj(const mirlObj *r, Mesh *m)
{
    uint32_t pick = 0; // at most 255 pick steps: always inside picks[256]
    PickCount = 0;
    // A replay depends on the record alone: a last pick left over from
    // before (an undone pick, an earlier model) must not steer a "select
    // similar" that comes before the record's own first pick, or undo and
    // load would build another mesh than a player does.
    LastPickedFace = -1;
    for (uint32_t i = 0; i < r->count; i++) {
        uint8_t o = r->ops[i];
        if (o < MIRL_NUMOPS) {
            OperationTable[o](m, decpar(r->params[i]));
            if (o < 19 || o > 26) // selection leaves the geometry alone
                setnorm(m);
        } else if (o == MIRL_OPPICK) {
            select9(m, r->picks[pick]);
            pick += 1;
        }
    }
}

MIRL_SECTION(".unpacko") void replayrec(Mesh *m)
{
    replayobj(&CommandRecord, m);
}
