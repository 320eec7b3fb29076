// Shared by the benchmarks: test meshes and ratio reporting.
#pragma once

#include <cstdint>
#include <memory>

#include "mirl.h"

// A closed torus-like quad grid of nu x nv faces (every face has four
// neighbours), selection flags all 0, normals computed.
std::unique_ptr<Mesh> gridTorus(uint32_t nu, uint32_t nv);

// Selects about one face in every `every`, spread by a fixed generator.
void selectSpread(Mesh *m, uint32_t every);

// Registers a pair of benchmark names; after the run the real-time ratio
// baseline / fast is printed, measured in the same process.
int benchRatio(const char *fast, const char *baseline);
