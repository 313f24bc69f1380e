// The pieces of the critical-plane search on a random three-dimensional history of 100 records
// (the stresses of the unwelded bench decks), one thread: the damage of every origin of one
// plane, counted by each method, and the whole search of the 5184 planes.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "damage/CPelnoFatigueRainFlow.h"
#include "damage/CPelnoFatigueReservoir.h"
#include "damage/CriticalPlaneSearch.h"
#include "damage/OriginDamage.h"
#include "model/CPelnoFatigueUWCourbe.h"

namespace {

struct Records {
    std::vector<std::int32_t> instants;
    std::vector<StressTensor> totals;
};

Records MakeRecords(std::size_t count)
{
    std::mt19937 random(count);
    std::uniform_real_distribution<double> pressure(0.0, 2.8);
    std::uniform_real_distribution<double> gradient(-60.0, 60.0);
    Records records;
    for (std::size_t k = 0; k < count; ++k) {
        const double p = pressure(random);
        const double dT = gradient(random);
        records.instants.push_back(static_cast<std::int32_t>(k));
        records.totals.push_back({30 * p + 1.3 * 1.817 * dT, 2 * p, 0.0, 15.5 * p + 1.3 * 1.817 * dT, 0.0, -0.5 * p});
    }
    return records;
}

const CPelnoFatigueUWCourbe::Query& Curve()
{
    static const CPelnoFatigueUWCourbe::Query query = [] {
        CPelnoFatigueUWCourbe curve;
        curve.SetDefinition("410", 410.0);
        return curve.GetQuery();
    }();
    return query;
}

// Every origin of the plane Theta 30, Phi 60 degrees: the series and the damage of each.
void OnePlane(benchmark::State& state, const CPelnoFatigueCountingMethod& method)
{
    const Records records = MakeRecords(static_cast<std::size_t>(state.range(0)));
    const std::size_t n = records.instants.size();
    const PlaneBasis basis = CriticalPlaneSearch::Basis(0.5235987756, 1.0471975512);
    std::vector<double> shearY(n);
    std::vector<double> shearZ(n);
    for (std::size_t i = 0; i < n; ++i) {
        shearY[i] = CriticalPlaneSearch::Project(records.totals[i], basis.x, basis.y) * 1.8;
        shearZ[i] = CriticalPlaneSearch::Project(records.totals[i], basis.x, basis.z) * 1.8;
    }
    std::vector<std::int32_t> seriesInstants(n + 1);
    std::vector<double> values(n + 1);
    OriginDamage damage(records.instants, method);
    const auto damages = [](const double* ranges, std::size_t count, double largest, double factor,
                            double* inverses) { Curve().CycleDamages(ranges, count, largest, factor, inverses); };
    const auto points = static_cast<std::int32_t>(n);
    for (auto _ : state) {
        double total = 0.0;
        for (std::int32_t origin = 0; origin < points; ++origin) {
            const double largest = CriticalPlaneSearch::Series(points, records.instants.data(), shearY.data(),
                                                               shearZ.data(), origin, false, 1.0,
                                                               seriesInstants.data(), values.data());
            total += damage.Damage(origin, values.data(), largest, 0.2, damages);
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["points/s"] =
        benchmark::Counter(static_cast<double>(n * (n + 1)), benchmark::Counter::kIsIterationInvariantRate);
}

void RainFlowPlane(benchmark::State& state)
{
    const CPelnoFatigueRainFlow method;
    OnePlane(state, method);
}

void ReservoirPlane(benchmark::State& state)
{
    const CPelnoFatigueReservoir method;
    OnePlane(state, method);
}

// The whole search, one thread.
void Search(benchmark::State& state)
{
    const Records records = MakeRecords(static_cast<std::size_t>(state.range(0)));
    const CPelnoFatigueRainFlow method;
    CriticalPlaneSearch search(records.instants, records.totals);
    CriticalPlaneSearch::SearchRules rules;
    rules.applyFactor = true;
    rules.factor = 1.8;
    rules.tieBreakOnNormalSum = true;
    const auto damages = [](const double* ranges, std::size_t count, double largest, double factor,
                            double* inverses) { Curve().CycleDamages(ranges, count, largest, factor, inverses); };
    for (auto _ : state) {
        const CriticalPlaneSearch::Plane best = search.Run(rules, method, damages, [](const CriticalPlaneSearch::Plane&) {}, 1);
        benchmark::DoNotOptimize(best.damage);
    }
    const double n = static_cast<double>(records.instants.size());
    state.counters["points/s"] = benchmark::Counter(5184.0 * n * (n + 1), benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(RainFlowPlane)->Arg(100)->Arg(200);
BENCHMARK(ReservoirPlane)->Arg(100)->Arg(200);
BENCHMARK(Search)->Arg(50)->Unit(benchmark::kMillisecond);
