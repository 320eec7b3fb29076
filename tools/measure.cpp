#include "measure.h"

#include <algorithm>

namespace {

uint32_t selectedFaces(const Mesh *m)
{
    uint32_t n = 0;
    for (uint32_t i = 0; i < m->nquads; i++)
        n += m->selected[i] != 0;
    return n;
}

} // namespace

ObjectNeeds measureObject(const mirlObj &r, Mesh *m)
{
    ObjectNeeds need;
    const int32_t recorder = RecorderOn;
    recordoff();
    m->nverts = m->nquads = 0;
    LastPickedFace = -1;
    uint32_t cursor = 0; // the replay's: the n-th pick step takes picks[n]
    bool picked = false, stale = false;
    for (int i = 0; i < r.count; i++) {
        const uint8_t o = r.ops[i];
        const uint32_t faces = m->nquads;
        if (o == MIRL_OPPICK) {
            // A replay takes the picks in order; at most 255 pick steps.
            const uint32_t f = r.picks[cursor++];
            need.pickOutside = need.pickOutside || f >= faces;
            picked = true;
            select9(m, f);
            continue;
        }
        if (o >= MIRL_NUMOPS) {
            need.skippedSteps = true;
            continue;
        }
        const uint32_t selected = selectedFaces(m);
        if (o >= MIRL_OP_SELECT6 && o <= MIRL_OP_SELECT8) {
            need.similarUsed = true;
            need.similarFirst = need.similarFirst || !picked;
            need.similarNoFace = need.similarNoFace || LastPickedFace < 0 || (uint32_t)LastPickedFace >= faces;
        }
        if (o == MIRL_OP_SUBD || o == MIRL_OP_SMOOOTH) {
            need.smoothFaces = std::max(need.smoothFaces, faces);
            need.smoothWork += (uint64_t)faces * faces;
        }
        if (o == MIRL_OP_ADDQUAD)
            need.extrudeWork += (uint64_t)selected * faces;
        if (o == MIRL_OP_TRANS2 && stale)
            setnorm(m); // the only operation that reads the normals
        OperationTable[o](m, decpar(r.params[i]));
        stale = stale || o < MIRL_OP_SELECT1 || o > MIRL_OP_SELECT8;
        // A refused step changes nothing where it would have added faces.
        const bool same = m->nquads == faces;
        need.refusedCube = need.refusedCube || (o == MIRL_OP_ADDCUBE && same);
        need.refusedExtrude = need.refusedExtrude || (o == MIRL_OP_ADDQUAD && selected > 0 && same);
        need.refusedSmooth = need.refusedSmooth || ((o == MIRL_OP_SUBD || o == MIRL_OP_SMOOOTH) && faces > 0 && same);
        need.mostVerts = std::max(need.mostVerts, m->nverts);
        need.mostFaces = std::max(need.mostFaces, m->nquads);
    }
    if (stale)
        setnorm(m);
    if (recorder)
        recordon();
    return need;
}

void addNeeds(ObjectNeeds *all, const ObjectNeeds &one)
{
    all->mostVerts = std::max(all->mostVerts, one.mostVerts);
    all->mostFaces = std::max(all->mostFaces, one.mostFaces);
    all->smoothFaces = std::max(all->smoothFaces, one.smoothFaces);
    all->smoothWork = std::max(all->smoothWork, one.smoothWork);
    all->extrudeWork = std::max(all->extrudeWork, one.extrudeWork);
    all->refusedCube = all->refusedCube || one.refusedCube;
    all->refusedExtrude = all->refusedExtrude || one.refusedExtrude;
    all->refusedSmooth = all->refusedSmooth || one.refusedSmooth;
    all->pickOutside = all->pickOutside || one.pickOutside;
    all->similarUsed = all->similarUsed || one.similarUsed;
    all->similarFirst = all->similarFirst || one.similarFirst;
    all->similarNoFace = all->similarNoFace || one.similarNoFace;
    all->skippedSteps = all->skippedSteps || one.skippedSteps;
}
