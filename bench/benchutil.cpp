#include "benchutil.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

std::unique_ptr<Mesh> gridTorus(uint32_t nu, uint32_t nv)
{
    auto m = std::make_unique<Mesh>();
    const double pi = 3.14159265358979323846;
    for (uint32_t i = 0; i < nu; i++) {
        for (uint32_t j = 0; j < nv; j++) {
            double a = 2 * pi * i / nu, b = 2 * pi * j / nv;
            double r = 2.0 + 0.7 * std::cos(b);
            m->verts[i * nv + j] = {(float)(r * std::cos(a)), (float)(0.7 * std::sin(b)), (float)(r * std::sin(a))};
        }
    }
    m->nverts = nu * nv;
    for (uint32_t i = 0; i < nu; i++) {
        for (uint32_t j = 0; j < nv; j++) {
            uint32_t i1 = (i + 1) % nu, j1 = (j + 1) % nv;
            addQ(m.get(), i * nv + j, i * nv + j1, i1 * nv + j1, i1 * nv + j, 0);
        }
    }
    setnorm(m.get());
    return m;
}

void selectSpread(Mesh *m, uint32_t every)
{
    uint64_t s = 88172645463325252ull;
    for (uint32_t q = 0; q < m->nquads; q++) {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        m->selected[q] = s % every == 0;
    }
}

static std::vector<std::pair<std::string, std::string>> &ratioPairs()
{
    static std::vector<std::pair<std::string, std::string>> pairs;
    return pairs;
}

int benchRatio(const char *fast, const char *baseline)
{
    ratioPairs().emplace_back(fast, baseline);
    return 0;
}

namespace {

// Console output as usual, plus the times kept by name for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            std::string name = r.benchmark_name();
            bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.run_type == Run::RT_Iteration || median) {
                std::string base = r.run_name.function_name;
                if (!r.run_name.args.empty())
                    base += "/" + r.run_name.args;
                if (median || !seconds.count(base))
                    seconds[base] = r.GetAdjustedRealTime();
            }
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (baseline time / measured time, same process; median when repeated):\n");
    for (auto &p : ratioPairs()) {
        auto f = reporter.seconds.find(p.first), b = reporter.seconds.find(p.second);
        if (f == reporter.seconds.end() || b == reporter.seconds.end() || f->second <= 0)
            continue;
        std::printf("  %-40s %9.2fx faster than %s\n", p.first.c_str(), b->second / f->second, p.second.c_str());
    }
    benchmark::Shutdown();
    return 0;
}
