#include "aao_testmesh.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "aao.h"
#include "aao_literal.h"

Colours newColours()
{
    return Colours(MIRL_MAXVERTS);
}

std::unique_ptr<Mesh> pointMesh(const std::vector<Vec3> &positions, const std::vector<Vec3> &normals)
{
    auto m = std::make_unique<Mesh>();
    m->nverts = static_cast<uint32_t>(positions.size());
    for (size_t i = 0; i < positions.size(); i++) {
        m->verts[i] = positions[i];
        m->vnormals[i] = normals[i];
    }
    return m;
}

static void fillJunk(Colours &c)
{
    // A pattern that no shading produces: a not-a-number payload.
    std::memset(c.data(), 0x7f, c.size() * sizeof(Vec3));
}

std::string shadingDiff(const Mesh &m, float threshold)
{
    static Colours fast = newColours(), literal = newColours();
    fillJunk(fast);
    fillJunk(literal);
    computeAAO(&m, threshold, fast.data());
    literalAAO(&m, threshold, literal.data());
    if (std::memcmp(fast.data(), literal.data(), fast.size() * sizeof(Vec3)) == 0)
        return "";
    size_t i = 0;
    while (std::memcmp(&fast[i], &literal[i], sizeof(Vec3)) == 0)
        i++;
    char text[160];
    std::snprintf(text, sizeof text, "vertex %zu of %u: grid %a, literal %a", i, m.nverts, fast[i].x, literal[i].x);
    return text;
}

float shadeOf(const Mesh &m, float threshold, uint32_t i)
{
    static Colours out = newColours();
    fillJunk(out);
    computeAAO(&m, threshold, out.data());
    EXPECT_EQ(std::memcmp(&out[i].x, &out[i].y, 4), 0);
    EXPECT_EQ(std::memcmp(&out[i].x, &out[i].z, 4), 0);
    return out[i].x;
}

float uniform(Rng &rng, float lo, float hi)
{
    double u = (double)(rng.next() >> 11) / 9007199254740992.0;
    return (float)(lo + (hi - lo) * u);
}

std::unique_ptr<Mesh> randomCloud(Rng &rng, uint32_t count, float side)
{
    std::vector<Vec3> positions(count), normals(count);
    for (uint32_t i = 0; i < count; i++) {
        positions[i] = {uniform(rng, 0, side), uniform(rng, 0, side), uniform(rng, 0, side)};
        float length = i % 10 == 9 ? 0.0f : uniform(rng, 0.001f, 3.0f);
        normals[i] = {uniform(rng, -1, 1) * length, uniform(rng, -1, 1) * length, uniform(rng, -1, 1) * length};
    }
    return pointMesh(positions, normals);
}
