// Writes the records `make size` measures into FOLDER: empty.mrl (no steps:
// the player's fixed part), opNN.mrl (that one operation; op50 a pick),
// demo.mrl (cube, select none, two picks, extrude, move along normals,
// smooth twice) and smooth7.mrl (the cube smoothed seven times).
#include <cstdio>
#include <initializer_list>
#include <string>

#include "mirlfile.h"

namespace {

bool save(const std::string &path, std::initializer_list<int> ops, std::initializer_list<uint32_t> picks = {})
{
    mirlObj r = mirlObj();
    for (int op : ops) {
        r.ops[r.count] = (uint8_t)op;
        r.params[r.count++] = op == MIRL_OP_TRANS2 ? 132 : 144;
    }
    uint32_t n = 0;
    for (uint32_t p : picks)
        r.picks[n++] = p;
    setrec(&r);
    return saveobj(path.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: size_records FOLDER\n");
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/";
    const int cube = MIRL_OP_ADDCUBE, smooth = MIRL_OP_SMOOOTH;
    bool ok = save(dir + "empty.mrl", {});
    for (int op = 0; op < MIRL_NUMOPS; op++)
        ok = save(dir + "op" + std::to_string(op) + ".mrl", {op}) && ok;
    ok = save(dir + "op50.mrl", {MIRL_OPPICK}, {0}) && ok;
    ok = save(dir + "demo.mrl",
              {cube, MIRL_OP_SELECT2, MIRL_OPPICK, MIRL_OPPICK, MIRL_OP_ADDQUAD, MIRL_OP_TRANS2, smooth, smooth},
              {1, 4}) && ok;
    ok = save(dir + "smooth7.mrl", {cube, smooth, smooth, smooth, smooth, smooth, smooth, smooth}) && ok;
    return ok ? 0 : 1;
}
