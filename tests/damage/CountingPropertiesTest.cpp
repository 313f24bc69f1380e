// Properties of both counting methods on seeded random periodic histories whose levels are
// well apart (multiples of 0.75 MPa, all distinct but the closing one).

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "damage/CPelnoFatigueRainFlow.h"
#include "damage/CPelnoFatigueReservoir.h"
#include "damage/CountingHelpers.h"

namespace {

// Plain three-point rainflow, written independently of the program: the period is started
// and closed at its maximum, reduced to its turning points and stacked; whenever the newest
// range is at least the one before it, the one before is a full cycle and its two points go.
std::vector<double> ThreePointRanges(const std::vector<double>& values)
{
    const std::size_t period = values.size() - 1; // the last value repeats the first
    const std::size_t top = static_cast<std::size_t>(
        std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(period)) - values.begin());
    std::vector<double> rotated;
    for (std::size_t k = 0; k <= period; ++k) {
        rotated.push_back(values[(top + k) % period]);
    }
    std::vector<double> turning;
    for (std::size_t k = 0; k < rotated.size(); ++k) {
        const bool inner = k > 0 && k + 1 < rotated.size();
        if (inner && (rotated[k] - rotated[k - 1]) * (rotated[k + 1] - rotated[k]) > 0) {
            continue;
        }
        turning.push_back(rotated[k]);
    }
    std::vector<double> ranges;
    std::vector<double> stack;
    for (const double point : turning) {
        stack.push_back(point);
        while (stack.size() >= 3) {
            const std::size_t t = stack.size() - 1;
            const double newest = std::fabs(stack[t] - stack[t - 1]);
            const double before = std::fabs(stack[t - 1] - stack[t - 2]);
            if (newest < before) {
                break;
            }
            ranges.push_back(before);
            stack.erase(stack.begin() + static_cast<std::ptrdiff_t>(t - 2), stack.begin() + static_cast<std::ptrdiff_t>(t));
        }
    }
    std::sort(ranges.begin(), ranges.end());
    return ranges;
}

std::vector<double> Ranges(const CyclesByRange& cycles)
{
    std::vector<double> ranges;
    for (const LoadingCycle& cycle : cycles) {
        ranges.push_back(cycle.Range);
    }
    return ranges;
}

History RandomPeriodicHistory(std::mt19937& random)
{
    const std::size_t length = 3 + random() % 45;
    std::vector<int> levels(1000);
    for (int k = 0; k < 1000; ++k) {
        levels[static_cast<std::size_t>(k)] = k;
    }
    std::shuffle(levels.begin(), levels.end(), random);
    std::vector<double> values;
    for (std::size_t k = 0; k + 1 < length; ++k) {
        values.push_back(0.75 * levels[k]);
    }
    values.push_back(values.front());
    return MakeHistory(values, static_cast<std::int32_t>(random() % 1000));
}

} // namespace

TEST(CountingProperties, RainflowReservoirAndThreePointAgreeOnPeriodicHistories)
{
    const CPelnoFatigueRainFlow rainflow;
    const CPelnoFatigueReservoir reservoir;
    Counted byRainflow;
    Counted byReservoir;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        const History history = RandomPeriodicHistory(random);
        Count(rainflow, history, byRainflow);
        Count(reservoir, history, byReservoir);
        const std::vector<double> expected = ThreePointRanges(history.values);
        ASSERT_EQ(Ranges(byRainflow.byRange), expected) << "seed " << seed;
        ASSERT_EQ(Ranges(byReservoir.byRange), expected) << "seed " << seed;

        // Every cycle sits on records of the history, and the collection by instants holds
        // each distinct triple of instants of the other one once.
        const std::set<std::int32_t> instants(history.instants.begin(), history.instants.end());
        for (const Counted* counted : {&byRainflow, &byReservoir}) {
            std::set<std::tuple<std::int32_t, std::int32_t, std::int32_t>> triples;
            for (const LoadingCycle& cycle : counted->byRange) {
                ASSERT_EQ(instants.count(cycle.Peak) * instants.count(cycle.Start) * instants.count(cycle.End), 1u)
                    << "seed " << seed;
                triples.emplace(cycle.Peak, cycle.Start, cycle.End);
            }
            ASSERT_EQ(counted->byInstants.size(), triples.size()) << "seed " << seed;
        }
    }
}
