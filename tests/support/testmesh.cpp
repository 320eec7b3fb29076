#include "testmesh.h"

#include <cstdio>

static std::string firstDiff(const char *what, const void *a, const void *b, size_t size, size_t stride)
{
    if (std::memcmp(a, b, size) == 0)
        return "";
    const unsigned char *x = static_cast<const unsigned char *>(a);
    const unsigned char *y = static_cast<const unsigned char *>(b);
    size_t i = 0;
    while (x[i] == y[i])
        i++;
    char buf[128];
    std::snprintf(buf, sizeof buf, "%s differ at entry %zu", what, i / stride);
    return buf;
}

std::string meshDiff(const Mesh &a, const Mesh &b)
{
    char buf[128];
    if (a.nverts != b.nverts || a.nquads != b.nquads) {
        std::snprintf(buf, sizeof buf, "counts differ: %u/%u verts, %u/%u quads", a.nverts, b.nverts, a.nquads,
                      b.nquads);
        return buf;
    }
    std::string d;
    size_t nv = a.nverts, nq = a.nquads;
    if (!(d = firstDiff("quads", a.quads, b.quads, nq * sizeof(Quad), sizeof(Quad))).empty())
        return d;
    if (!(d = firstDiff("flags", a.selected, b.selected, nq * 4, 4)).empty())
        return d;
    if (!(d = firstDiff("verts", a.verts, b.verts, nv * sizeof(Vec3), sizeof(Vec3))).empty())
        return d;
    if (!(d = firstDiff("vnormals", a.vnormals, b.vnormals, nv * sizeof(Vec3), sizeof(Vec3))).empty())
        return d;
    return firstDiff("fnormals", a.fnormals, b.fnormals, nq * sizeof(Vec3), sizeof(Vec3));
}

mirlObj recordOf(Mesh *m, void (*script)(Mesh *m))
{
    resetrecord();
    recordon();
    script(m);
    recordoff();
    return CommandRecord;
}

mirlObj makeRecord(std::initializer_list<std::pair<int, int>> steps, std::initializer_list<uint32_t> picks)
{
    mirlObj r;
    std::memset(&r, 0, sizeof r);
    for (auto &s : steps) {
        r.ops[r.count] = static_cast<uint8_t>(s.first);
        r.params[r.count] = static_cast<uint8_t>(s.second);
        r.count++;
    }
    int i = 0;
    for (uint32_t p : picks)
        r.picks[i++] = p;
    return r;
}

static uint64_t fnv(uint64_t h, const void *p, size_t n)
{
    const unsigned char *c = static_cast<const unsigned char *>(p);
    for (size_t i = 0; i < n; i++) {
        h ^= c[i];
        h *= 1099511628211ull;
    }
    return h;
}

uint64_t meshDigest(const Mesh &m)
{
    uint64_t h = 14695981039346656037ull;
    h = fnv(h, &m.nverts, 8);
    h = fnv(h, m.quads, m.nquads * sizeof(Quad));
    h = fnv(h, m.selected, m.nquads * 4);
    h = fnv(h, m.verts, m.nverts * sizeof(Vec3));
    h = fnv(h, m.vnormals, m.nverts * sizeof(Vec3));
    h = fnv(h, m.fnormals, m.nquads * sizeof(Vec3));
    return h;
}
