// Approximate ambient occlusion. For each vertex i, every vertex j closer
// than the threshold that lies in front of i's tangent plane darkens it.
// Only such pairs count, so instead of testing all V^2 pairs the search
// takes its candidates from a spatial grid (grid.h), which returns every
// vertex that can be within the threshold in increasing index order. Each
// candidate is tested and applied with the arithmetic of the double loop,
// in the same order, so the colours are the same bits.
//
// Each vertex's colour depends on nothing another vertex's computation
// writes, so the cells are shaded by several threads at once, each with
// scratch of its own: the colours are the same bits whatever the split.
#include "aao.h"

#include <math.h>
#include <string.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "grid.h"
#include "pairs.h"

namespace {

const double Pi = 3.14159265;
const float FacingLimit = -0.01f;
const uint32_t Slack = CandidateBlock;
// Cells a thread takes at a time: few enough that the threads finish
// together, enough that they rarely meet at the counter.
const uint32_t CellsPerTurn = 16;
const unsigned MostThreads = 256;

Vec3 unitNormals[MIRL_MAXVERTS];     // maths14 of each vertex normal
double occluderWeights[MIRL_MAXVERTS]; // L / (4 V) of each vertex
float shades[MIRL_MAXVERTS];
std::atomic<uint32_t> nextCell;

// What one thread needs of its own. The arrays hold every vertex, as a
// neighbourhood may, but are left uninitialised: only the pages of the
// largest neighbourhood are ever touched.
struct ShadingScratch {
    explicit ShadingScratch(uint32_t vertexCount);

    std::unique_ptr<NeighbourhoodScratch> grid;
    // The current neighbourhood, in increasing index order.
    std::unique_ptr<uint32_t[]> candidateIndices;
    std::unique_ptr<float[]> candidateX, candidateY, candidateZ;
    // The candidates within the threshold of the vertex being shaded, and
    // those of them in front of its tangent plane.
    std::unique_ptr<uint32_t[]> withinPositions;
    std::unique_ptr<float[]> withinX, withinY, withinZ, withinSquared;
    std::unique_ptr<uint32_t[]> facingEntries;
    WithinThreshold within;
};

ShadingScratch::ShadingScratch(uint32_t vertexCount)
{
    // Padding to a whole block, and the batches' slack beyond it.
    const size_t size = (size_t)vertexCount + 2 * Slack;
    grid.reset(new NeighbourhoodScratch()); // zeroed, as neighbourhoodOf wants
    candidateIndices.reset(new uint32_t[size]);
    candidateX.reset(new float[size]);
    candidateY.reset(new float[size]);
    candidateZ.reset(new float[size]);
    withinPositions.reset(new uint32_t[size]);
    withinX.reset(new float[size]);
    withinY.reset(new float[size]);
    withinZ.reset(new float[size]);
    withinSquared.reset(new float[size]);
    facingEntries.reset(new uint32_t[size]);
    within = {withinPositions.get(), withinX.get(), withinY.get(), withinZ.get(), withinSquared.get()};
}

// Copies the positions of the neighbourhood, padded with not-a-number.
uint32_t loadCandidates(const Mesh *m, uint32_t cell, ShadingScratch &s)
{
    uint32_t count = neighbourhoodOf(cell, s.candidateIndices.get(), *s.grid);
    for (uint32_t k = 0; k < count; k++) {
        const Vec3 &p = m->verts[s.candidateIndices[k]];
        s.candidateX[k] = p.x;
        s.candidateY[k] = p.y;
        s.candidateZ[k] = p.z;
    }
    uint32_t padded = (count + CandidateBlock - 1) / CandidateBlock * CandidateBlock;
    for (uint32_t k = count; k < padded; k++)
        s.candidateX[k] = s.candidateY[k] = s.candidateZ[k] = NAN;
    return padded;
}

// True when no facing test of this normal can pass: a not-a-number
// component (a zero normal normalises to that) or no component at all.
bool hasNoDirection(const Vec3 &n)
{
    return !(fabs((double)n.x) + fabs((double)n.y) + fabs((double)n.z) > 0);
}

// The shade of vertex i: from 1, each candidate within the threshold that
// its normal faces darkens it by its weight over the distance, in order.
float shadeOf(const Mesh *m, uint32_t i, uint32_t candidateCount, float threshold, ShadingScratch &s)
{
    const Vec3 position = m->verts[i];
    const double thresholdSquared = (double)threshold * (double)threshold;
    float shade = 1.0f;
    uint32_t withinCount = selectWithinThreshold(position, s.candidateX.get(), s.candidateY.get(),
                                                 s.candidateZ.get(), candidateCount, threshold, s.within);
    uint32_t facingCount = selectFacing(unitNormals[i], s.within, withinCount, FacingLimit, s.facingEntries.get());
    for (uint32_t k = 0; k < facingCount; k++) {
        uint32_t e = s.facingEntries[k];
        uint32_t j = s.candidateIndices[s.withinPositions[e]];
        double squared = (double)s.withinSquared[e];
        shade = mirl_f32((double)shade - sqrt(occluderWeights[j] / (Pi * (thresholdSquared + squared))));
    }
    return shade;
}

// Shades the members of the cells that nextCell hands out, until none is
// left; each vertex belongs to one cell, so no two threads write the same
// shade.
void shadeCells(const Mesh *m, float threshold)
{
    ShadingScratch scratch(m->nverts);
    const uint32_t cellCount = occlusionCellCount();
    for (;;) {
        const uint32_t first = nextCell.fetch_add(CellsPerTurn);
        if (first >= cellCount)
            return;
        for (uint32_t cell = first; cell < std::min(first + CellsPerTurn, cellCount); cell++) {
            uint32_t memberCount;
            const uint32_t *members = occlusionCellMembers(cell, &memberCount);
            uint32_t candidateCount = 0;
            bool loaded = false;
            for (uint32_t k = 0; k < memberCount; k++) {
                uint32_t i = members[k];
                if (hasNoDirection(unitNormals[i]))
                    continue;
                if (!loaded) {
                    candidateCount = loadCandidates(m, cell, scratch);
                    loaded = true;
                }
                shades[i] = shadeOf(m, i, candidateCount, threshold, scratch);
            }
        }
    }
}

} // namespace

void computeAAOThreads(const Mesh *m, float threshold, Vec3 *out, unsigned threadCount)
{
    const uint32_t vertexCount = m->nverts;
    if (vertexCount == 0)
        return;
    for (uint32_t i = 0; i < vertexCount; i++) {
        maths7(&m->vnormals[i], &unitNormals[i]);
        maths14(&unitNormals[i]);
        occluderWeights[i] = (double)maths13(&m->vnormals[i]) / (4.0 * (double)vertexCount);
        shades[i] = 1.0f;
    }
    // No squared distance is below a threshold that is not above 0.
    if (threshold > 0) {
        buildOcclusionGrid(m->verts, vertexCount, threshold);
        nextCell = 0;
        const uint32_t turns = (occlusionCellCount() + CellsPerTurn - 1) / CellsPerTurn;
        const unsigned threads = std::max(1u, std::min({threadCount, MostThreads, turns}));
        std::vector<std::thread> helpers;
        for (unsigned t = 1; t < threads; t++) {
            // A thread the system refuses is not needed: the cells it would
            // have taken go to the others.
            try {
                helpers.emplace_back(shadeCells, m, threshold);
            } catch (const std::system_error &) {
                break;
            }
        }
        shadeCells(m, threshold);
        for (std::thread &helper : helpers)
            helper.join();
    }
    for (uint32_t i = 0; i < vertexCount; i++)
        out[i].x = out[i].y = out[i].z = shades[i];
}

void computeAAO(const Mesh *m, float threshold, Vec3 *out)
{
    computeAAOThreads(m, threshold, out, std::thread::hardware_concurrency());
}
