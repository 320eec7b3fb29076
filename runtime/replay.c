/* The operation table and the replay that drives it. */
#include "internal.h"

/*@ OperationTable PickOperation */
/* Writable on purpose: a player may swap in its own routines. An entry a
   generated player leaves out is 0, and the replay skips its steps. */
MIRL_SECTION(".functio") MIRL_LOCAL void (MIRL_CALL *OperationTable[MIRL_NUMOPS])(Mesh *, float) = {
    MIRL_OPENTRY(scale1),  MIRL_OPENTRY(scale2),  MIRL_OPENTRY(scale3),  MIRL_OPENTRY(scale4),
    MIRL_OPENTRY(scale5),  MIRL_OPENTRY(scale6),  MIRL_OPENTRY(scale7),  MIRL_OPENTRY(scale8),
    MIRL_OPENTRY(scalece), MIRL_OPENTRY(trans1),  MIRL_OPENTRY(trans2b), MIRL_OPENTRY(trans3),
    MIRL_OPENTRY(trans4),  MIRL_OPENTRY(trans5),  MIRL_OPENTRY(trans6),  MIRL_OPENTRY(trans2),
    MIRL_OPENTRY(rotate1), MIRL_OPENTRY(rotate2), MIRL_OPENTRY(rotate3), MIRL_OPENTRY(select1),
    MIRL_OPENTRY(select2), MIRL_OPENTRY(select3), MIRL_OPENTRY(select4), MIRL_OPENTRY(select5),
    MIRL_OPENTRY(select6), MIRL_OPENTRY(select7), MIRL_OPENTRY(select8), MIRL_OPENTRY(subd),
    MIRL_OPENTRY(smoooth), MIRL_OPENTRY(addquad), MIRL_OPENTRY(delQuad), MIRL_OPENTRY(addcube),
};
/* The pick is not in the table; a player whose objects pick nothing has no
   pick routine either. */
static void (MIRL_CALL *const PickOperation)(Mesh *, uint32_t) = MIRL_OPENTRY(select9);
/*@ end */
MIRL_SECTION(".functio") int32_t HeaderPending = 1;

#ifdef MIRL_PLAYER
/*@ replayobj */
/* The player's form. setnorm rewrites every used normal from the positions
   and the quads alone, and trans2 is the only operation that reads normals
   (smooth clears them as scratch): so computing them before each trans2
   and once at the end gives the mesh of a replay that computes them after
   every step, in a fraction of the time. */
MIRL_SECTION(".unpacko") void replayobj(const mirlObj *r, Mesh *m)
{
    const uint32_t *pick = r->picks; /* at most 255 pick steps: inside picks[256] */
    uint32_t i;
#if MIRL_SIMILAR_FIRST
    LastPickedFace = -1; /* a replay depends on the record alone */
#endif
    for (i = 0;; i++) {
        const uint8_t o = i < r->count ? r->ops[i] : (uint8_t)MIRL_OP_TRANS2; /* the end needs them too */
        if (o == MIRL_OP_TRANS2)
            setnorm(m);
        if (i == r->count)
            break;
#if MIRL_SKIPPED_STEPS
        if (o < MIRL_NUMOPS && OperationTable[o])
            OperationTable[o](m, decpar(r->params[i]));
        else if (o == MIRL_OPPICK && PickOperation)
            PickOperation(m, *pick++);
#else
        /* Every step has its operation here. */
        if (o != MIRL_OPPICK)
            OperationTable[o](m, decpar(r->params[i]));
        else if (PickOperation)
            PickOperation(m, *pick++);
#endif
    }
}
/*@ end */
#else
MIRL_SECTION(".unpacko") void replayobj(const mirlObj *r, Mesh *m)
{
    /* A replay depends on the record alone: a last pick left over from
       before (an undone pick, an earlier model) must not steer a "select
       similar" that comes before the record's own first pick, or undo and
       load would build another mesh than a player does. */
    LastPickedFace = -1;
    replayfrom(r, m, 0);
}
#endif

/* The editor's replays, whole (replayobj) or, for undo, redo and edits of
   a step, going on from a mesh that already holds the replay of r's first
   `first` steps, with LastPickedFace as that replay left it: the steps
   from `first` on then give the bits of a whole replay. A player has its
   own replayobj.
   The pick cursor starts at the first face of a pick step from `first` on:
   the n-th pick step of a record takes its n-th face. It reads the record
   only; the record's own pick count is the record module's.
   Normals are recomputed only before trans2 and at the end: setnorm rewrites
   every used normal from the positions and quads alone, and trans2 is the
   only operation that reads them (smooth clears them as scratch first), so
   the normals every step sees, and the last ones, are a whole replay's. */
MIRL_SECTION(".unpacko") void replayfrom(const mirlObj *r, Mesh *m, uint32_t first)
{
    int stale = 0;
    uint32_t cursor = pickidx(r, first);
    for (uint32_t i = first; i < r->count; i++) {
        uint8_t o = r->ops[i];
        if (o < MIRL_NUMOPS && OperationTable[o]) {
            if (stale && o == MIRL_OP_TRANS2) {
                setnorm(m);
                stale = 0;
            }
            OperationTable[o](m, decpar(r->params[i]));
            if (o < MIRL_OP_SELECT1 || o > MIRL_OP_SELECT8) /* selection leaves the geometry alone */
                stale = 1;
        } else if (o == MIRL_OPPICK && cursor < MIRL_MAXPICKS) {
            PickOperation(m, r->picks[cursor++]);
        }
    }
    if (stale)
        setnorm(m);
}
