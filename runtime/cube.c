/* Add Cube (opcode 31) and the cube template it copies. */
#include "internal.h"

/*@ CubeVerts CubeCorners */
/* Edge 2, centred on the origin; wound so that the normals point outwards. */
MIRL_SECTION(".cubedat") static const float CubeVerts[24] = {
    -1, -1, -1,  1, -1, -1,  1, 1, -1,  -1, 1, -1,
    -1, -1,  1,  1, -1,  1,  1, 1,  1,  -1, 1,  1,
};
MIRL_SECTION(".cubedat") static const uint8_t CubeCorners[24] = {
    0, 1, 2, 3,  3, 2, 6, 7,  7, 6, 5, 4,  1, 0, 4, 5,  0, 3, 7, 4,  2, 1, 5, 6,
};
/*@ end */

#ifdef MIRL_PLAYER
/*@ addcube */
/* The player's form: the template copied whole, its faces selected. */
MIRL_ROUTINE(".addcube") void addcube(Mesh *m, float p)
{
    uint32_t k;
    (void)p;
#if MIRL_REFUSED_CUBE
    if (m->nverts > MIRL_MAXVERTS - 8 || m->nquads > MIRL_MAXQUADS - 6)
        return; /* does not fit: refused */
#endif
    memcpy(&m->verts[m->nverts], CubeVerts, sizeof CubeVerts);
    for (k = 0; k < 24; k++)
        m->quads[m->nquads + k / 4].v[k % 4] = m->nverts + CubeCorners[k];
    for (k = 0; k < 6; k++)
        m->selected[m->nquads++] = 1;
    m->nverts += 8;
}
/*@ end */
#else
MIRL_ROUTINE(".addcube") void addcube(Mesh *m, float p)
{
    uint32_t v0 = m->nverts, q0 = m->nquads;
    (void)p;
    /* Refused, but still recorded, so undo and replay stay aligned with the
       commands; a replay refuses it the same way, silently. */
    if (v0 > MIRL_MAXVERTS - 8 || q0 > MIRL_MAXQUADS - 6) {
        capnote();
    } else {
        for (uint32_t i = 0; i < 8; i++) {
            m->verts[v0 + i].x = CubeVerts[3 * i];
            m->verts[v0 + i].y = CubeVerts[3 * i + 1];
            m->verts[v0 + i].z = CubeVerts[3 * i + 2];
        }
        for (uint32_t t = 0; t < 24; t++)
            m->quads[q0 + t / 4].v[t % 4] = CubeCorners[t] + v0;
        for (uint32_t i = 0; i < 6; i++)
            m->selected[q0 + i] = 1;
        m->nverts = v0 + 8;
        m->nquads = q0 + 6;
    }
    recordstep(MIRL_OP_ADDCUBE, 0.0f);
}
#endif
