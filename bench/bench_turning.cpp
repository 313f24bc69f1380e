// The turning points of a 201-record series at each width, as the rainflow of the critical-plane
// search finds them once per origin.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "damage/TurningPoints.h"

namespace {

// A series like those of the search: 2·|shear change| from the origin, random shears.
std::vector<double> MakeSeries()
{
    std::mt19937 random(2015);
    std::uniform_real_distribution<double> shear(-200.0, 200.0);
    std::vector<double> values;
    const double origin = shear(random);
    values.push_back(0.0);
    for (int k = 1; k < 200; ++k) values.push_back(2.0 * std::fabs(shear(random) - origin));
    values.push_back(0.0);
    return values;
}

void Turning(benchmark::State& state, TurningWidth width)
{
    const std::vector<double> values = MakeSeries();
    const auto n = static_cast<std::int32_t>(values.size());
    std::vector<double> pointValues(values.size());
    std::vector<std::int32_t> pointIndices(values.size());
    std::vector<double> keptValues(values.size());
    std::vector<std::int32_t> keptIndices(values.size());
    std::int32_t count = 0;
    for (auto _ : state) {
        count = TurningPoints(width, values.data(), n, pointValues.data(), pointIndices.data(), keptValues.data(),
                              keptIndices.data());
        benchmark::DoNotOptimize(count);
        benchmark::ClobberMemory();
    }
    state.counters["points"] = count;
}

void TurningOne(benchmark::State& state) { Turning(state, TurningWidth::One); }
void TurningFour(benchmark::State& state) { Turning(state, TurningWidth::Four); }
void TurningEight(benchmark::State& state) { Turning(state, TurningWidth::Eight); }

}  // namespace

BENCHMARK(TurningOne);
BENCHMARK(TurningFour);
BENCHMARK(TurningEight);

namespace {

// The turning points in one pass, records kept and turns tested together (the form before the
// wide ones), for comparison.
std::int32_t OnePass(const double* values, std::int32_t n, double* pointValues, std::int32_t* pointIndices)
{
    const auto flat = [values, n](std::int32_t i) { return i + 1 < n && !(std::fabs(values[i + 1] - values[i]) > 0.01); };
    std::int32_t i = 0;
    while (flat(i)) ++i;
    pointValues[0] = values[i];
    pointIndices[0] = i;
    std::int32_t k = 1;
    double last = values[i];
    std::int32_t lastIndex = i;
    do {
        ++i;
    } while (i < n && flat(i));
    if (i >= n) return 0;
    double before = last;
    last = values[i];
    lastIndex = i;
    std::int32_t kept = 2;
    for (++i; i < n; ++i) {
        if (flat(i)) continue;
        const double value = values[i];
        pointValues[k] = last;
        pointIndices[k] = lastIndex;
        k += (last - before) * (value - last) < 0.0 ? 1 : 0;
        before = last;
        last = value;
        lastIndex = i;
        ++kept;
    }
    if (kept < 3) return 0;
    pointValues[k] = last;
    pointIndices[k] = lastIndex;
    return k + 1;
}

// Then a plain four-point pass over the points, as the rainflow does next, on 64 different
// series in turn (so that the pairings cannot be learnt by the branch predictor).
void TurningThenPass(benchmark::State& state, int width)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> shear(-200.0, 200.0);
    std::vector<std::vector<double>> series(64);
    for (std::vector<double>& values : series) {
        const double origin = shear(random);
        values.push_back(0.0);
        for (int k = 1; k < 200; ++k) values.push_back(2.0 * std::fabs(shear(random) - origin));
        values.push_back(0.0);
    }
    const std::int32_t n = 201;
    std::vector<double> pointValues(n);
    std::vector<std::int32_t> pointIndices(n);
    std::vector<double> keptValues(n);
    std::vector<std::int32_t> keptIndices(n);
    std::vector<double> stack(n + 4);
    std::vector<std::int32_t> at(n + 4);
    std::vector<double> ranges(n);
    std::size_t which = 0;
    std::size_t kept = 0;
    for (auto _ : state) {
        const double* values = series[which++ & 63].data();
        const std::int32_t count =
            width < 0 ? OnePass(values, n, pointValues.data(), pointIndices.data())
                      : TurningPoints(static_cast<TurningWidth>(width), values, n, pointValues.data(),
                                      pointIndices.data(), keptValues.data(), keptIndices.data());
        std::int32_t size = 0;
        kept = 0;
        for (std::int32_t q = 0; q < count; ++q) {
            stack[size] = pointValues[q];
            at[size] = pointIndices[q];
            ++size;
            while (size >= 4) {
                const double* v = stack.data() + size - 4;
                const double range = std::fabs(v[2] - v[1]);
                if (std::fabs(v[1] - v[0]) + 0.01 < range || std::fabs(v[3] - v[2]) + 0.01 < range) break;
                ranges[kept] = range;
                kept += range >= 0.01 ? 1 : 0;
                stack[size - 3] = stack[size - 1];
                at[size - 3] = at[size - 1];
                size -= 2;
            }
        }
        benchmark::DoNotOptimize(kept);
        benchmark::ClobberMemory();
    }
}
void PassOnePass(benchmark::State& state) { TurningThenPass(state, -1); }
void PassOne(benchmark::State& state) { TurningThenPass(state, static_cast<int>(TurningWidth::One)); }
void PassFour(benchmark::State& state) { TurningThenPass(state, static_cast<int>(TurningWidth::Four)); }
void PassEight(benchmark::State& state) { TurningThenPass(state, static_cast<int>(TurningWidth::Eight)); }

}  // namespace

BENCHMARK(PassOnePass);
BENCHMARK(PassOne);
BENCHMARK(PassFour);
BENCHMARK(PassEight);
