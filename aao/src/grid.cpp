// Spatial grid for the occlusion search.
//
// Cells are cubes of side reach / n, reach = sqrt(threshold) with a
// relative margin of 1/256, far above every rounding involved: a pair whose
// float squared distance is below the threshold is truly less than
// sqrt(threshold) * (1 + 2^-21) apart, and the cell index floor(x / side)
// is off by at most 2^-22 of a cell. Neighbour cells are those whose boxes
// can come within reach of the cell's box. Sparse meshes get n = 1 (27
// neighbour cells to look up), denser ones n = 2 (125) or n = 3 (335),
// whose smaller cells fit the sphere of reach more closely (with n = 3
// about half the candidates are within it).
//
// Coordinates too large for an index are keyed on their exact value: at
// magnitudes from largeFrom on, distinct floats are more than twice the
// reach apart, so along such an axis only equal coordinates can interact.
#include "grid.h"

#include <math.h>
#include <string.h>

#include <algorithm>

namespace {

const int MostCellsPerReach = 3;
const int OffsetRange = (2 * MostCellsPerReach + 1) * (2 * MostCellsPerReach + 1) * (2 * MostCellsPerReach + 1);
// Finite vertices per cell of side reach from which cells of half and of a
// third of reach pay for their extra lookups (measured on a smoothed cube,
// a torus and random clouds).
const uint32_t HalfCellOccupancy = 12;
const uint32_t ThirdCellOccupancy = 150;
const uint32_t HashSize = 1u << 19; // over twice the vertex capacity
const uint32_t NoCell = 0xffffffffu;
const int64_t LargeKeyBase = (int64_t)1 << 40; // beyond every index key

struct CellKey {
    int64_t x, y, z;
};

bool allInOneCell; // an infinite threshold: every finite pair may interact
int cellsPerReach;
double cellSide;
double largeFrom;

int neighbourOffsets[OffsetRange][3];
int neighbourOffsetCount;

uint32_t hashSlots[HashSize]; // cell + 1, 0 when free
// One bit per hash of an occupied cell: small enough to stay in cache, it
// answers most lookups of empty neighbours of a sparse mesh.
const uint32_t OccupiedBits = 1u << 22;
uint64_t occupied[OccupiedBits / 64];
CellKey cellKeys[MIRL_MAXVERTS];
uint32_t cellCount;
uint32_t cellOfVertex[MIRL_MAXVERTS];
uint32_t cellFirst[MIRL_MAXVERTS + 1];
uint32_t cellMembers[MIRL_MAXVERTS];


int64_t axisKey(float coordinate)
{
    if (allInOneCell)
        return 0;
    if (fabs((double)coordinate) < largeFrom)
        return (int64_t)floor((double)coordinate / cellSide);
    uint32_t bits;
    memcpy(&bits, &coordinate, sizeof bits);
    // Keys of distinct magnitudes differ by more than any neighbour offset.
    int64_t key = LargeKeyBase + (int64_t)(MostCellsPerReach + 1) * (int64_t)(bits & 0x7fffffffu);
    return coordinate < 0 ? -key : key;
}

uint64_t mixedKey(const CellKey &key)
{
    uint64_t h = (uint64_t)key.x * 0x9E3779B97F4A7C15ull ^ (uint64_t)key.y * 0xC2B2AE3D27D4EB4Full ^
                 (uint64_t)key.z * 0x165667B19E3779F9ull;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return h;
}

uint32_t hashOf(const CellKey &key)
{
    return (uint32_t)mixedKey(key) & (HashSize - 1);
}

uint32_t occupiedBitOf(const CellKey &key)
{
    return (uint32_t)(mixedKey(key) >> 40) & (OccupiedBits - 1);
}

bool sameKey(const CellKey &a, const CellKey &b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

uint32_t findCell(const CellKey &key)
{
    uint32_t bit = occupiedBitOf(key);
    if (!(occupied[bit / 64] >> (bit % 64) & 1))
        return NoCell;
    for (uint32_t slot = hashOf(key);; slot = (slot + 1) & (HashSize - 1)) {
        uint32_t entry = hashSlots[slot];
        if (entry == 0)
            return NoCell;
        if (sameKey(cellKeys[entry - 1], key))
            return entry - 1;
    }
}

uint32_t findOrAddCell(const CellKey &key)
{
    uint32_t slot = hashOf(key);
    for (;; slot = (slot + 1) & (HashSize - 1)) {
        uint32_t entry = hashSlots[slot];
        if (entry == 0)
            break;
        if (sameKey(cellKeys[entry - 1], key))
            return entry - 1;
    }
    cellKeys[cellCount] = key;
    hashSlots[slot] = ++cellCount;
    uint32_t bit = occupiedBitOf(key);
    occupied[bit / 64] |= (uint64_t)1 << (bit % 64);
    return cellCount - 1;
}

// Offsets (a, b, c) whose cells can hold a point within reach of a point of
// the centre cell: their boxes are at least max(|a| - 1, 0) sides apart per
// axis, and reach is cellsPerReach sides.
void chooseNeighbourOffsets()
{
    neighbourOffsetCount = 0;
    int range = allInOneCell ? 0 : cellsPerReach;
    for (int a = -range; a <= range; a++)
        for (int b = -range; b <= range; b++)
            for (int c = -range; c <= range; c++) {
                int ga = std::max(abs(a) - 1, 0), gb = std::max(abs(b) - 1, 0), gc = std::max(abs(c) - 1, 0);
                if (ga * ga + gb * gb + gc * gc > cellsPerReach * cellsPerReach)
                    continue;
                int *offset = neighbourOffsets[neighbourOffsetCount++];
                offset[0] = a;
                offset[1] = b;
                offset[2] = c;
            }
}

bool isFinite(const Vec3 &p)
{
    return isfinite(p.x) && isfinite(p.y) && isfinite(p.z);
}

// Merges the members of the given cells (each list ascending) into out in
// increasing order: by a sort when they are few, else through a bit per
// vertex index, which costs one pass over the index range.
uint32_t mergeCells(const uint32_t *cells, int count, uint32_t *out, uint64_t *indexBits)
{
    uint32_t total = 0, lowest = NoCell, highest = 0;
    for (int k = 0; k < count; k++) {
        uint32_t first = cellFirst[cells[k]], end = cellFirst[cells[k] + 1];
        lowest = std::min(lowest, cellMembers[first]);
        highest = std::max(highest, cellMembers[end - 1]);
        total += end - first;
    }
    uint32_t firstWord = lowest / 64, endWord = highest / 64 + 1;
    if ((uint64_t)total * 16 < endWord - firstWord) {
        uint32_t n = 0;
        for (int k = 0; k < count; k++)
            for (uint32_t p = cellFirst[cells[k]]; p < cellFirst[cells[k] + 1]; p++)
                out[n++] = cellMembers[p];
        std::sort(out, out + n);
        return n;
    }
    for (int k = 0; k < count; k++)
        for (uint32_t p = cellFirst[cells[k]]; p < cellFirst[cells[k] + 1]; p++)
            indexBits[cellMembers[p] / 64] |= (uint64_t)1 << (cellMembers[p] % 64);
    uint32_t n = 0;
    for (uint32_t w = firstWord; w < endWord; w++) {
        uint64_t word = indexBits[w];
        indexBits[w] = 0;
        while (word) {
            out[n++] = w * 64 + (uint32_t)__builtin_ctzll(word);
            word &= word - 1;
        }
    }
    return n;
}

// Bins the finite vertices in cells of side reach / perReach; returns how
// many were binned.
uint32_t binVertices(const Vec3 *positions, uint32_t count, double reach, int perReach)
{
    cellsPerReach = perReach;
    cellSide = reach / perReach;
    chooseNeighbourOffsets();
    memset(hashSlots, 0, sizeof hashSlots);
    memset(occupied, 0, sizeof occupied);
    cellCount = 0;
    uint32_t binned = 0;
    for (uint32_t i = 0; i < count; i++) {
        const Vec3 &p = positions[i];
        if (!isFinite(p)) {
            cellOfVertex[i] = NoCell;
            continue;
        }
        CellKey key = {axisKey(p.x), axisKey(p.y), axisKey(p.z)};
        cellOfVertex[i] = findOrAddCell(key);
        binned++;
    }

    // Counting sort by cell, stable, so each cell lists its vertices in
    // increasing index order.
    memset(cellFirst, 0, (cellCount + 1) * sizeof cellFirst[0]);
    for (uint32_t i = 0; i < count; i++)
        if (cellOfVertex[i] != NoCell)
            cellFirst[cellOfVertex[i] + 1]++;
    for (uint32_t c = 0; c < cellCount; c++)
        cellFirst[c + 1] += cellFirst[c];
    static uint32_t fill[MIRL_MAXVERTS];
    memcpy(fill, cellFirst, cellCount * sizeof fill[0]);
    for (uint32_t i = 0; i < count; i++)
        if (cellOfVertex[i] != NoCell)
            cellMembers[fill[cellOfVertex[i]]++] = i;
    return binned;
}

} // namespace

void buildOcclusionGrid(const Vec3 *positions, uint32_t count, float threshold)
{
    double reach = sqrt((double)threshold) * (1.0 + 1.0 / 256);
    allInOneCell = !isfinite(reach);
    // From 2^e on, with 2^(e-25) <= 2 * reach < 2^(e-24), neighbouring
    // floats are more than 2 * reach apart.
    largeFrom = allInOneCell ? HUGE_VAL : ldexp(1.0, ilogb(2 * reach) + 25);
    uint32_t binned = binVertices(positions, count, reach, 1);
    if (allInOneCell)
        return;
    if (binned >= ThirdCellOccupancy * (uint64_t)cellCount)
        binVertices(positions, count, reach, MostCellsPerReach);
    else if (binned >= HalfCellOccupancy * (uint64_t)cellCount)
        binVertices(positions, count, reach, 2);
}

uint32_t occlusionCellCount()
{
    return cellCount;
}

const uint32_t *occlusionCellMembers(uint32_t cell, uint32_t *memberCount)
{
    *memberCount = cellFirst[cell + 1] - cellFirst[cell];
    return cellMembers + cellFirst[cell];
}

uint32_t neighbourhoodOf(uint32_t cell, uint32_t *out, NeighbourhoodScratch &scratch)
{
    static_assert(sizeof scratch.cells / sizeof scratch.cells[0] == OffsetRange, "room for every offset");
    const CellKey &centre = cellKeys[cell];
    int found = 0;
    for (int k = 0; k < neighbourOffsetCount; k++) {
        CellKey key = {centre.x + neighbourOffsets[k][0], centre.y + neighbourOffsets[k][1],
                       centre.z + neighbourOffsets[k][2]};
        uint32_t neighbour = findCell(key);
        if (neighbour != NoCell)
            scratch.cells[found++] = neighbour;
    }
    return mergeCells(scratch.cells, found, out, scratch.indexBits);
}
