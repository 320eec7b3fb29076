// Random command records for differential and fuzz-seed tests. Generation
// is deterministic for a seed on every platform (plain 64-bit generator, no
// std distributions).
#pragma once

#include <cstdint>

#include "mirl.h"

// Records start with the cube, as every editor record does; about 15 % of
// the steps are picks and 3 % unknown opcodes or out-of-range picks.
struct RecOptions {
    int maxSteps = 60;          // at least one
    uint32_t faceBudget = 3000; // growth steps are avoided beyond this
};

struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t next()
    {
        // splitmix64
        uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t below(uint32_t n) { return n ? static_cast<uint32_t>(next() % n) : 0; }
};

// A record of random steps. scratch is used to follow the mesh the record
// builds (so picks mostly name existing faces and growth stays in budget);
// its contents afterwards are unspecified.
mirlObj randomRecord(uint64_t seed, const RecOptions &o, Mesh *scratch);
