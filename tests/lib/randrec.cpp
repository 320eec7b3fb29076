#include "randrec.h"

#include <algorithm>
#include <cstring>

// Mostly moderate values, sometimes anything: large scales drive the
// coordinates to infinity and NaN, which replay must handle too.
static uint8_t randomParam(Rng &r)
{
    return static_cast<uint8_t>(r.below(10) < 7 ? 112 + r.below(33) : r.below(256));
}

// The face count after opcode op.
static uint64_t grownFaces(const Mesh *m, int op)
{
    uint64_t q = m->nquads;
    return op == MIRL_OP_SUBD || op == MIRL_OP_SMOOOTH ? 4 * q
           : op == MIRL_OP_ADDQUAD                    ? q + 4ull * static_cast<uint64_t>(countsel(m))
           : op == MIRL_OP_ADDCUBE                    ? q + 6
                                                      : q;
}

mirlObj randomRecord(uint64_t seed, const RecOptions &o, Mesh *m)
{
    Rng r(seed);
    mirlObj rec;
    std::memset(&rec, 0, sizeof rec);
    const uint32_t odd = 3, pick = 15; // percent
    int steps = std::min(1 + static_cast<int>(r.below(o.maxSteps)), MIRL_MAXSTEPS);
    m->nverts = m->nquads = 0;
    uint32_t picks = 0;
    int32_t savedRecorder = RecorderOn;
    recordoff();
    for (int i = 0; i < steps; i++) {
        int op;
        uint8_t param = 128;
        if (i == 0) {
            op = MIRL_OP_ADDCUBE;
        } else if (r.below(100) < odd) {
            op = MIRL_NUMOPS + static_cast<int>(r.below(256 - MIRL_NUMOPS));
            if (op == MIRL_OPPICK)
                op = MIRL_OPPICK + 1;
        } else if (r.below(100) < pick) {
            op = MIRL_OPPICK;
        } else {
            op = static_cast<int>(r.below(MIRL_NUMOPS));
            if (op <= MIRL_OP_ROTATE3)
                param = randomParam(r);
        }
        if (op < MIRL_NUMOPS && grownFaces(m, op) > o.faceBudget)
            op = MIRL_OP_SELECT1 + static_cast<int>(r.below(8)); // a selection step instead
        rec.ops[rec.count] = static_cast<uint8_t>(op);
        rec.params[rec.count] = param;
        rec.count++;
        if (op == MIRL_OPPICK) {
            uint32_t face;
            if (r.below(100) < odd)
                face = m->nquads + r.below(1000) + (r.below(2) ? 0u : 0xFFFFF000u);
            else
                face = r.below(m->nquads ? m->nquads : 1);
            rec.picks[picks++] = face;
            if (face < m->nquads)
                select9(m, face);
        } else if (op < MIRL_NUMOPS) {
            OperationTable[op](m, decpar(param));
            if (op < MIRL_OP_SELECT1 || op > MIRL_OP_SELECT8)
                setnorm(m);
        }
    }
    RecorderOn = savedRecorder;
    return rec;
}
