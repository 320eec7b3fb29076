#include "oracle.h"

namespace oracle {

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
