#include "testmesh.h"

#include <cstdio>

std::string meshDiff(const Mesh &a, const Mesh &b)
{
    char buf[128];
    if (a.nverts != b.nverts || a.nquads != b.nquads) {
        std::snprintf(buf, sizeof buf, "counts differ: %u/%u verts, %u/%u quads", a.nverts, b.nverts, a.nquads,
                      b.nquads);
        return buf;
    }
    const struct {
        const char *what;
        const void *x, *y;
        size_t count, size;
    } parts[] = {{"quads", a.quads, b.quads, a.nquads, sizeof(Quad)},
                 {"flags", a.selected, b.selected, a.nquads, 4},
                 {"verts", a.verts, b.verts, a.nverts, sizeof(Vec3)},
                 {"vnormals", a.vnormals, b.vnormals, a.nverts, sizeof(Vec3)},
                 {"fnormals", a.fnormals, b.fnormals, a.nquads, sizeof(Vec3)}};
    for (const auto &p : parts) {
        const unsigned char *x = static_cast<const unsigned char *>(p.x), *y = static_cast<const unsigned char *>(p.y);
        if (std::memcmp(x, y, p.count * p.size) == 0)
            continue;
        size_t i = 0;
        while (x[i] == y[i])
            i++;
        std::snprintf(buf, sizeof buf, "%s differ at entry %zu", p.what, i / p.size);
        return buf;
    }
    return "";
}

std::string replayDiff(const mirlObj &r, const Mesh &m, int32_t lastPicked)
{
    const int32_t last = LastPickedFace, recorder = RecorderOn;
    const uint32_t picks = PickCount;
    static std::unique_ptr<Mesh> fresh = newMesh();
    recordoff();
    replayInto(r, fresh.get());
    std::string d = meshDiff(m, *fresh);
    if (d.empty() && (PickCount != picks || LastPickedFace != lastPicked))
        d = "pick count " + std::to_string(PickCount) + " or last pick " + std::to_string(LastPickedFace) + " differ";
    LastPickedFace = last, PickCount = picks, RecorderOn = recorder;
    return d;
}

void addSteps(mirlObj &r, std::initializer_list<Step> steps)
{
    for (const Step &s : steps)
        for (int k = 0; k < s.times; k++) {
            r.ops[r.count] = static_cast<uint8_t>(s.op);
            r.params[r.count++] = static_cast<uint8_t>(s.param);
        }
}

mirlObj makeRecord(std::initializer_list<Step> steps, std::initializer_list<uint32_t> picks)
{
    mirlObj r;
    std::memset(&r, 0, sizeof r);
    addSteps(r, steps);
    std::copy(picks.begin(), picks.end(), r.picks);
    return r;
}

std::string usedText(const mirlObj &r)
{
    std::string s = std::to_string(r.count) + ":";
    for (int i = 0; i < r.count; i++)
        s += " " + std::to_string(r.ops[i]) + "/" + std::to_string(r.params[i]);
    s += " |";
    for (uint32_t p = 0; p < pickidx(&r, r.count); p++)
        s += " " + std::to_string(r.picks[p]);
    return s;
}
