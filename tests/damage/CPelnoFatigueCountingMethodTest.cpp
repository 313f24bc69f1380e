#include "damage/CPelnoFatigueCountingMethod.h"

#include <gtest/gtest.h>

#include "damage/CountingHelpers.h"

namespace {

struct EndsCase {
    const char* what;
    std::vector<double> values;
    std::int32_t peak;
    double range;
    std::int32_t start;
    std::int32_t end;
};

} // namespace

TEST(CycleEnds, LocatesStartAndEndInstants)
{
    // Records are numbered from 10 so that indices and instants differ.
    const EndsCase cases[] = {
        // Level 100: backwards 20 (below, taken) then 100 (reached) at index 1, then back over
        // the run of 100 to index 0 without wrapping; forwards 0 and 60 (below), 100 at index 6,
        // then the run up to index 7, the end of the history.
        {"plateaus", {100, 100, 20, 0, 0, 60, 100, 100}, 13, 100.0, 10, 17},
        // Level 80: the value right before the valley is above it, so the start stays at the
        // valley; forwards 80 is reached at once.
        {"higher value before", {0, 150, 20, 80, 0}, 12, 60.0, 12, 13},
        // Level 100 from index 0: backwards wraps to index 3 (50, below) then index 2 (100).
        {"wrap backwards", {0, 30, 100, 50}, 10, 100.0, 12, 12},
        // Level 100 from index 3: forwards wraps to index 0 (10, below), then index 1 (100).
        {"wrap forwards", {10, 100, 60, 0}, 13, 100.0, 11, 11},
    };
    for (const EndsCase& c : cases) {
        const History h = MakeHistory(c.values, 10);
        std::int32_t start = -1;
        std::int32_t end = -1;
        CPelnoFatigueCountingMethod::CycleEnds(static_cast<std::int32_t>(h.values.size()), h.instants.data(),
                                               h.values.data(), c.peak, c.range, start, end);
        EXPECT_EQ(start, c.start) << c.what;
        EXPECT_EQ(end, c.end) << c.what;
    }
}

TEST(CycleEnds, RaisesInternalErrorOnNarrowRangeOrUnknownInstant)
{
    const History h = MakeHistory({0, 100, 0});
    std::int32_t start = 0;
    std::int32_t end = 0;
    const auto ends = [&](std::int32_t peak, double range) {
        return RaisedError([&] { CPelnoFatigueCountingMethod::CycleEnds(3, h.instants.data(), h.values.data(), peak, range, start, end); });
    };
    const auto narrow = ends(0, 0.005);
    EXPECT_EQ(narrow.first, 210);
    EXPECT_EQ(narrow.second, "<CPelnoFatigueCountingMethod::CycleEnds> : Erreur interne au logiciel, contactez le TOLVE");
    EXPECT_EQ(ends(7, 100.0).first, 210);
    EXPECT_EQ(ends(0, 100.0).first, 0);
}

TEST(CyclesByInstants, OrderedByPeakStartEndAndFirstOneKept)
{
    CyclesByInstants cycles;
    EXPECT_TRUE(cycles.insert({3, 1, 5, 10.0}));
    EXPECT_TRUE(cycles.insert({2, 7, 7, 20.0}));
    EXPECT_TRUE(cycles.insert({3, 1, 4, 30.0}));
    EXPECT_TRUE(cycles.insert({3, 0, 9, 40.0}));
    EXPECT_FALSE(cycles.insert({3, 1, 5, 99.0})); // same instants: the first stays
    EXPECT_TRUE(cycles.insert({-1, 2, 2, 50.0}));
    const std::vector<CycleRow> expected = {
        {-1, 2, 2, 50.0}, {2, 7, 7, 20.0}, {3, 0, 9, 40.0}, {3, 1, 4, 30.0}, {3, 1, 5, 10.0}};
    EXPECT_EQ(Rows(cycles), expected);
    cycles.clear();
    EXPECT_TRUE(cycles.empty());
}

TEST(CyclesByRange, AscendingRangesAndInsertionOrderOnTies)
{
    CyclesByRange cycles;
    cycles.insert({1, 1, 1, 50.0});
    cycles.insert({2, 2, 2, 10.0});
    cycles.insert({3, 3, 3, 50.0});
    cycles.insert({1, 1, 1, 50.0}); // same instants as the first: kept all the same
    cycles.insert({4, 4, 4, 30.0});
    const std::vector<CycleRow> expected = {
        {2, 2, 2, 10.0}, {4, 4, 4, 30.0}, {1, 1, 1, 50.0}, {3, 3, 3, 50.0}, {1, 1, 1, 50.0}};
    EXPECT_EQ(Rows(cycles), expected);
}
