/* Selection operations (opcodes 19-26) and the face pick (opcode 50). */
#include <string.h>

#include "internal.h"

/*@ selrang */
MIRL_ROUTINE(".selrang") void selrang(Mesh *m, uint32_t first, uint32_t end, int32_t value)
{
    for (uint32_t i = first; i < end; i++)
        m->selected[i] = value;
}
/*@ end */

/*@ selinvr */
MIRL_ROUTINE(".selinvr") void selinvr(Mesh *m)
{
    for (uint32_t i = 0; i < m->nquads; i++)
        m->selected[i] = m->selected[i] == 0;
}
/*@ end */

#ifdef MIRL_PLAYER
/*@ expands */
/* The player's form: the corners of the faces selected at the start are
   the selection marks of the transforms (flags are 0 or 1 between steps). */
MIRL_ROUTINE(".expands") void expands(Mesh *m, int32_t keep)
{
    uint32_t i;
    int k;
    selmark(m);
    for (i = 0; i < m->nquads; i++) {
        int32_t *flag = &m->selected[i];
        if (*flag)
            *flag = keep;
        else
            for (k = 0; k < 4; k++)
                *flag |= SelMark[m->quads[i].v[k]];
    }
}
/*@ end */
#else
/* One ring of growth by shared vertex index. Marking every corner of the
   faces selected at the start and testing each unselected face against the
   marks selects the same faces as comparing every pair of faces, in one
   pass over the quads instead of one per selected face. */
static uint8_t GrowMark[MIRL_MAXVERTS];

MIRL_ROUTINE(".expands") void expands(Mesh *m, int32_t keep)
{
    uint32_t nv = m->nverts < MIRL_MAXVERTS ? m->nverts : MIRL_MAXVERTS;
    memset(GrowMark, 0, nv);
    for (uint32_t i = 0; i < m->nquads; i++) {
        if ((m->selected[i] & 1) == 0)
            continue;
        for (int k = 0; k < 4; k++)
            if (m->quads[i].v[k] < nv)
                GrowMark[m->quads[i].v[k]] = 1;
    }
    for (uint32_t i = 0; i < m->nquads; i++) {
        int32_t f = m->selected[i];
        if (f == 1) {
            m->selected[i] = keep;
        } else if (f > 1) {
            m->selected[i] = 1;
        } else if (f == 0) {
            const uint32_t *v = m->quads[i].v;
            for (int k = 0; k < 4; k++) {
                if (v[k] < nv && GrowMark[v[k]]) {
                    m->selected[i] = 1;
                    break;
                }
            }
        }
    }
}
#endif

#ifdef MIRL_PLAYER
/*@ axissel */
/* The player's form; a last pick at or beyond the faces (or none: -1 is
   beyond them all, unsigned) selects nothing. */
MIRL_ROUTINE(".axissel") void axissel(Mesh *m, int32_t axis)
{
    float low = 1000000.0f, high = -1000000.0f, c;
    uint32_t i;
    int k;
    Vec3 centre;
#if MIRL_SIMILAR_NOFACE
    if (m->nquads <= (uint32_t)LastPickedFace)
        return;
#endif
    for (k = 0; k < 4; k++) {
        c = (float)mirl_get(&m->verts[m->quads[LastPickedFace].v[k]], axis);
        if (c <= low)
            low = c;
        if (c >= high)
            high = c;
    }
    for (i = 0; i < m->nquads; i++) {
        centroi(m, i, &centre);
        c = (float)mirl_get(&centre, axis);
        if (c >= low && c <= high)
            m->selected[i] = 1;
    }
}
/*@ end */
#else
MIRL_ROUTINE(".axissel") void axissel(Mesh *m, int32_t axis)
{
    /* A last pick that names no face (none, or a face deleted since) selects
       nothing, in the editor and in every player alike. */
    if (LastPickedFace < 0 || (uint32_t)LastPickedFace >= m->nquads)
        return;
    int a = axis == 0 ? 0 : axis == 1 ? 1 : 2;
    float low = 1000000.0f, high = -1000000.0f;
    const Quad *q = &m->quads[LastPickedFace];
    for (int k = 0; k < 4; k++) {
        const Vec3 *p = &m->verts[q->v[k]];
        float c = a == 0 ? p->x : a == 1 ? p->y : p->z;
        if (c <= low)
            low = c;
        if (c >= high)
            high = c;
    }
    for (uint32_t i = 0; i < m->nquads; i++) {
        Vec3 ctr;
        centroi(m, i, &ctr);
        float c = a == 0 ? ctr.x : a == 1 ? ctr.y : ctr.z;
        if (low <= c && c <= high)
            m->selected[i] = 1;
    }
}
#endif

/*@ select1 */
MIRL_ROUTINE(".select1") void select1(Mesh *m, float p)
{
    (void)p;
    selrang(m, 0, m->nquads, 1);
    recordstep(MIRL_OP_SELECT1, 0.0f);
}
/*@ end */

/*@ select2 */
MIRL_ROUTINE(".select2") void select2(Mesh *m, float p)
{
    (void)p;
    selrang(m, 0, m->nquads, 0);
#if !defined(MIRL_PLAYER) || MIRL_SIMILAR_USED
    LastPickedFace = -1;
#endif
    recordstep(MIRL_OP_SELECT2, 0.0f);
}
/*@ end */

/*@ select3 */
MIRL_ROUTINE(".select3") void select3(Mesh *m, float p)
{
    (void)p;
    selinvr(m);
#if !defined(MIRL_PLAYER) || MIRL_SIMILAR_USED
    LastPickedFace = -1;
#endif
    recordstep(MIRL_OP_SELECT3, 0.0f);
}
/*@ end */

/*@ select4 */
MIRL_ROUTINE(".select4") void select4(Mesh *m, float p)
{
    (void)p;
    expands(m, 1);
    recordstep(MIRL_OP_SELECT4, 0.0f);
}
/*@ end */

/*@ select5 */
MIRL_ROUTINE(".select5") void select5(Mesh *m, float p)
{
    (void)p;
    expands(m, 0);
    recordstep(MIRL_OP_SELECT5, 0.0f);
}
/*@ end */

/*@ select6 */
MIRL_ROUTINE(".select6") void select6(Mesh *m, float p)
{
    (void)p;
    axissel(m, 0);
    recordstep(MIRL_OP_SELECT6, 0.0f);
}
/*@ end */

/*@ select7 */
MIRL_ROUTINE(".select7") void select7(Mesh *m, float p)
{
    (void)p;
    axissel(m, 1);
    recordstep(MIRL_OP_SELECT7, 0.0f);
}
/*@ end */

/*@ select8 */
MIRL_ROUTINE(".select8") void select8(Mesh *m, float p)
{
    (void)p;
    axissel(m, 2);
    recordstep(MIRL_OP_SELECT8, 0.0f);
}
/*@ end */

#ifdef MIRL_PLAYER
/*@ select9 */
/* The player's form: a player keeps no pick list, so only the flag and the
   last picked face change (flags are 0 or 1 between steps). */
MIRL_ROUTINE(".select9") void select9(Mesh *m, uint32_t f)
{
#if MIRL_PICK_OUTSIDE
    if (m->nquads <= f)
        return;
#endif
    m->selected[f] ^= 1;
#if MIRL_SIMILAR_USED
    LastPickedFace = -1;
    if (m->selected[f])
        LastPickedFace = (int32_t)f;
#endif
}
/*@ end */
#else
MIRL_ROUTINE(".select9") void select9(Mesh *m, uint32_t f)
{
    /* Only a damaged record can name a face that is not there: the pick is
       then kept in step (recorded and counted) but toggles nothing. */
    if (f < m->nquads) {
        m->selected[f] = m->selected[f] == 0;
        LastPickedFace = m->selected[f] ? (int32_t)f : -1;
    }
    LastPick = f;
    recordstep(MIRL_OPPICK, 0.0f); /* which also counts the face it stores */
}
#endif
