// Approximate ambient occlusion. For each vertex i, every vertex j closer
// than the threshold that lies in front of i's tangent plane darkens it.
// Only such pairs count, so instead of testing all V^2 pairs the search
// takes its candidates from a spatial grid (grid.h), which returns every
// vertex that can be within the threshold in increasing index order. Each
// candidate is tested and applied with the arithmetic of the double loop,
// in the same order, so the colours are the same bits.
#include "aao.h"

#include <math.h>
#include <string.h>

#include "grid.h"
#include "pairs.h"

namespace {

const double Pi = 3.14159265;
const float FacingLimit = -0.01f;
const uint32_t Slack = CandidateBlock;

Vec3 unitNormals[MIRL_MAXVERTS];     // maths14 of each vertex normal
double occluderWeights[MIRL_MAXVERTS]; // L / (4 V) of each vertex
float shades[MIRL_MAXVERTS];

// The current neighbourhood, in increasing index order.
uint32_t candidateIndices[MIRL_MAXVERTS + Slack];
float candidateX[MIRL_MAXVERTS + Slack], candidateY[MIRL_MAXVERTS + Slack], candidateZ[MIRL_MAXVERTS + Slack];

// The candidates within the threshold of the vertex being shaded, and
// those of them in front of its tangent plane.
uint32_t withinPositions[MIRL_MAXVERTS + Slack];
float withinX[MIRL_MAXVERTS + Slack], withinY[MIRL_MAXVERTS + Slack], withinZ[MIRL_MAXVERTS + Slack];
float withinSquared[MIRL_MAXVERTS + Slack];
const WithinThreshold within = {withinPositions, withinX, withinY, withinZ, withinSquared};
uint32_t facingEntries[MIRL_MAXVERTS + Slack];

// Copies the positions of the neighbourhood, padded with not-a-number.
uint32_t loadCandidates(const Mesh *m, uint32_t cell)
{
    uint32_t count = neighbourhoodOf(cell, candidateIndices);
    for (uint32_t k = 0; k < count; k++) {
        const Vec3 &p = m->verts[candidateIndices[k]];
        candidateX[k] = p.x;
        candidateY[k] = p.y;
        candidateZ[k] = p.z;
    }
    uint32_t padded = (count + CandidateBlock - 1) / CandidateBlock * CandidateBlock;
    for (uint32_t k = count; k < padded; k++)
        candidateX[k] = candidateY[k] = candidateZ[k] = NAN;
    return padded;
}

// True when no facing test of this normal can pass: a not-a-number
// component (a zero normal normalises to that) or no component at all.
bool hasNoDirection(const Vec3 &n)
{
    return !(fabs((double)n.x) + fabs((double)n.y) + fabs((double)n.z) > 0);
}

// The double loop's steps 3.1 to 3.5 for vertex i over the candidates.
float shadeOf(const Mesh *m, uint32_t i, uint32_t candidateCount, float threshold)
{
    const Vec3 position = m->verts[i];
    const double thresholdSquared = (double)threshold * (double)threshold;
    float shade = 1.0f;
    uint32_t withinCount = selectWithinThreshold(position, candidateX, candidateY, candidateZ, candidateCount,
                                                 threshold, within);
    uint32_t facingCount = selectFacing(unitNormals[i], within, withinCount, FacingLimit, facingEntries);
    for (uint32_t k = 0; k < facingCount; k++) {
        uint32_t e = facingEntries[k];
        uint32_t j = candidateIndices[withinPositions[e]];
        double squared = (double)withinSquared[e];
        shade = mirl_f32((double)shade - sqrt(occluderWeights[j] / (Pi * (thresholdSquared + squared))));
    }
    return shade;
}

} // namespace

void computeAAO(const Mesh *m, float threshold, Vec3 *out)
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
        for (uint32_t cell = 0; cell < occlusionCellCount(); cell++) {
            uint32_t memberCount;
            const uint32_t *members = occlusionCellMembers(cell, &memberCount);
            uint32_t candidateCount = 0;
            bool loaded = false;
            for (uint32_t k = 0; k < memberCount; k++) {
                uint32_t i = members[k];
                if (hasNoDirection(unitNormals[i]))
                    continue;
                if (!loaded) {
                    candidateCount = loadCandidates(m, cell);
                    loaded = true;
                }
                shades[i] = shadeOf(m, i, candidateCount, threshold);
            }
        }
    }
    for (uint32_t i = 0; i < vertexCount; i++)
        out[i].x = out[i].y = out[i].z = shades[i];
}
