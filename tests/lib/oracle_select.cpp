#include "oracle.h"

namespace oracle {

void expands(Mesh *m, int32_t keep)
{
    for (uint32_t i = 0; i < m->nquads; i++) {
        if ((m->selected[i] & 1) == 0)
            continue;
        for (uint32_t j = 0; j < m->nquads; j++)
            if (m->selected[j] == 0)
                m->selected[j] = 2 * adjquad(m, i, j);
    }
    for (uint32_t i = 0; i < m->nquads; i++) {
        if (m->selected[i] == 1)
            m->selected[i] = keep;
        else if (m->selected[i] > 1)
            m->selected[i] = 1;
    }
}

void select4(Mesh *m, float)
{
    oracle::expands(m, 1);
    recordstep(MIRL_OP_SELECT4, 0.0f);
}

void select5(Mesh *m, float)
{
    oracle::expands(m, 0);
    recordstep(MIRL_OP_SELECT5, 0.0f);
}

} // namespace oracle
