// The long differential run: random records and random meshes, runtime
// against the literal algorithms, from a given seed on.
// usage: ops_soak FIRST_SEED COUNT [FACE_BUDGET]
#include <cstdio>
#include <cstdlib>

#include "opsutil.h"

int main(int argc, char **argv)
{
    uint64_t first = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1;
    uint64_t count = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1000;
    DiffStats st;
    RecOptions o;
    o.maxSteps = 120;
    o.faceBudget = argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 3000;
    for (uint64_t s = first; s < first + count; s += 100) {
        uint64_t n = std::min<uint64_t>(100, first + count - s);
        std::string fail = diffRecords(s, n, o, &st);
        if (fail.empty())
            fail = diffMeshes(s, n, 200, 300);
        if (!fail.empty()) {
            std::printf("MISMATCH %s\n", fail.c_str());
            return 1;
        }
        std::printf("seeds %llu..%llu: %ld records, %ld steps, up to %u faces\n", (unsigned long long)first,
                    (unsigned long long)(s + n - 1), st.records, st.steps, st.maxFaces);
        std::fflush(stdout);
    }
    std::printf("all equal; %ld picks\n", st.opcodes[MIRL_OPPICK]);
    return 0;
}
