// LoadingCycles on a 300-record periodic history, as the critical-plane search calls it: the
// same counting object and the same two collections for every count.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "damage/CPelnoFatigueRainFlow.h"
#include "damage/CPelnoFatigueReservoir.h"

namespace {

struct History {
    std::vector<std::int32_t> instants;
    std::vector<double> values;
};

// An equivalent-stress history of 300 records: starts and ends at 0 like the histories seen
// from an origin instant, random levels in between.
History MakeHistory()
{
    std::mt19937 random(2015);
    std::uniform_real_distribution<double> level(0.0, 400.0);
    History history;
    for (std::int32_t k = 0; k < 300; ++k) {
        history.instants.push_back(k);
        history.values.push_back(k == 0 || k == 299 ? 0.0 : level(random));
    }
    return history;
}

void Count(benchmark::State& state, const CPelnoFatigueCountingMethod& method)
{
    const History history = MakeHistory();
    CyclesByInstants byInstants;
    CyclesByRange byRange;
    const auto n = static_cast<std::int32_t>(history.values.size());
    for (auto _ : state) {
        method.LoadingCycles(n, history.instants.data(), history.values.data(), byInstants, byRange);
        benchmark::DoNotOptimize(byInstants.size());
        benchmark::DoNotOptimize(byRange.size());
    }
    state.counters["cycles"] = static_cast<double>(byRange.size());
}

void RainFlow300(benchmark::State& state)
{
    const CPelnoFatigueRainFlow method;
    Count(state, method);
}

void Reservoir300(benchmark::State& state)
{
    const CPelnoFatigueReservoir method;
    Count(state, method);
}

} // namespace

BENCHMARK(RainFlow300);
BENCHMARK(Reservoir300);
