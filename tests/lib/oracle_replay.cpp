#include "oracle.h"

namespace oracle {

void replay(const mirlObj *r, Mesh *m)
{
    int cursor = 0; // the n-th pick step takes the n-th face
    for (int i = 0; i < r->count; i++) {
        int o = r->ops[i];
        if (o < MIRL_NUMOPS) {
            Table[o](m, decpar(r->params[i]));
            if (o < MIRL_OP_SELECT1 || o > MIRL_OP_SELECT8)
                setnorm(m);
        } else if (o == MIRL_OPPICK) {
            select9(m, r->picks[cursor]);
            cursor++;
        }
    }
}

} // namespace oracle
