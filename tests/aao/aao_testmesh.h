// Meshes for the occlusion tests, and the check that the grid search gives
// the double loop's bits.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mirl.h"
#include "randrec.h"

// Capacity-sized colour arrays on the heap.
using Colours = std::vector<Vec3>;
Colours newColours();

// A mesh of loose vertices (no quads) with the given positions and stored
// vertex normals; only these two arrays matter to the shading.
std::unique_ptr<Mesh> pointMesh(const std::vector<Vec3> &positions, const std::vector<Vec3> &normals);

// Runs computeAAO and the literal loop on the mesh, both into arrays that
// start out holding the same junk, and compares every byte of the whole
// arrays. Returns "" when equal, else the first differing vertex.
std::string shadingDiff(const Mesh &m, float threshold);

// The colour computeAAO gives vertex i (red; asserts red = green = blue).
float shadeOf(const Mesh &m, float threshold, uint32_t i);

// count random positions in a cube of the given side, with random stored
// normals of random length (every tenth one zero).
std::unique_ptr<Mesh> randomCloud(Rng &rng, uint32_t count, float side);

// A random float in [lo, hi).
float uniform(Rng &rng, float lo, float hi);
