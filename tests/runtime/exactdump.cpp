// Replays a fixed set of random records and prints a digest of each mesh.
// Built once per optimisation level of the runtime; the outputs must match.
#include <cinttypes>
#include <cstdio>

#include "randrec.h"
#include "testmesh.h"
// after the types
#include "meshdigest.h"

int main()
{
    auto m = newMesh(), scratch = newMesh();
    RecOptions o;
    o.maxSteps = 80;
    o.faceBudget = 4000;
    for (uint64_t seed = 1; seed <= 406; seed++) {
        mirlObj rec = randomRecord(seed, o, scratch.get());
        if (seed > 400) { // scaled and moved cubes: normals sum inexact cross products
            static const uint8_t params[] = {144, 131, 97, 200, 77, 130};
            int i = (int)(seed - 401);
            rec = makeRecord(
                {{MIRL_OP_ADDCUBE, 128}, {i, params[i]}, {(i + 1) % 4, params[5 - i]}, {MIRL_OP_ROTATE1 + i % 3, params[i]}});
        }
        replayInto(rec, m.get());
        std::printf("%" PRIu64 " %u %u %016" PRIx64 "\n", seed, m->nverts, m->nquads, meshDigestOf(m.get()));
    }
    return 0;
}
