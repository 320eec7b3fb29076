#include "objwriter.h"

#include <cmath>

namespace {

bool writeFaces(std::FILE *out, const Mesh &m, int32_t selected)
{
    bool ok = true;
    for (uint32_t i = 0; i < m.nquads; i++) {
        if ((m.selected[i] != 0) != (selected != 0))
            continue;
        const uint32_t *v = m.quads[i].v;
        ok = std::fprintf(out, "f %lu %lu %lu %lu\n", v[0] + 1ul, v[3] + 1ul, v[2] + 1ul, v[1] + 1ul) > 0 && ok;
    }
    return ok;
}

} // namespace

bool writeWavefront(std::FILE *out, const Mesh &m)
{
    uint32_t selected = 0;
    for (uint32_t i = 0; i < m.nquads; i++)
        selected += m.selected[i] != 0;
    bool ok = std::fprintf(out, "# mirl object: %u vertices, %u faces, %u selected\n", (unsigned)m.nverts,
                           (unsigned)m.nquads, (unsigned)selected) > 0;
    for (uint32_t i = 0; i < m.nverts; i++) {
        const Vec3 &p = m.verts[i];
        ok = std::fprintf(out, "v %.9g %.9g %.9g\n", (double)p.x, (double)p.y, (double)p.z) > 0 && ok;
    }
    if (selected < m.nquads) {
        ok = std::fputs("g unselected\n", out) >= 0 && ok;
        ok = writeFaces(out, m, 0) && ok;
    }
    if (selected > 0) {
        ok = std::fputs("g selected\n", out) >= 0 && ok;
        ok = writeFaces(out, m, 1) && ok;
    }
    return ok;
}

unsigned countNonFinite(const Mesh &m)
{
    unsigned n = 0;
    for (uint32_t i = 0; i < m.nverts; i++) {
        const Vec3 &p = m.verts[i];
        n += !std::isfinite(p.x) + !std::isfinite(p.y) + !std::isfinite(p.z);
    }
    return n;
}
