#include "oracle.h"

namespace oracle {

mirlOp Table[MIRL_NUMOPS] = {
    oracle::scale1,  oracle::scale2,  oracle::scale3,  oracle::scale4,
    oracle::scale5,  oracle::scale6,  oracle::scale7,  oracle::scale8,
    oracle::scalece, oracle::trans1,  oracle::trans2b, oracle::trans3,
    oracle::trans4,  oracle::trans5,  oracle::trans6,  oracle::trans2,
    oracle::rotate1, oracle::rotate2, oracle::rotate3, ::select1,
    ::select2,       ::select3,       oracle::select4, oracle::select5,
    ::select6,       ::select7,       ::select8,       oracle::subd,
    oracle::smoooth, oracle::addquad, oracle::delQuad, ::addcube,
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
