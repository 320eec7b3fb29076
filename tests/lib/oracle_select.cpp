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

} // namespace oracle
