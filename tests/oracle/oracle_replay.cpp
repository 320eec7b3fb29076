#include "oracle.h"

namespace oracle {

mirlOp Table[MIRL_NUMOPS] = {
    scale1,  scale2,  scale3,  scale4,  scale5,  scale6,  scale7,  scale8,
    scalece, trans1,  trans2b, trans3,  trans4,  trans5,  trans6,  trans2,
    rotate1, rotate2, rotate3, select1, select2, select3, select4, select5,
    select6, select7, select8, subd,    smoooth, addquad, delQuad, addcube,
};

void replay(const mirlObj *r, Mesh *m)
{
    PickCount = 0;
    int cursor = 0;
    for (int i = 0; i < r->count; i++) {
        int o = r->ops[i];
        if (o < 32) {
            Table[o](m, decpar(r->params[i]));
            if (o < 19 || o > 26)
                setnorm(m);
        } else if (o == 50) {
            select9(m, r->picks[cursor]);
            cursor++;
        }
    }
}

} // namespace oracle
