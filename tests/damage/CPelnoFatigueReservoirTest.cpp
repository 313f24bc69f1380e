#include "damage/CPelnoFatigueReservoir.h"

#include <gtest/gtest.h>

#include "damage/CPelnoFatigueRainFlow.h"
#include "damage/CountingHelpers.h"

TEST(CPelnoFatigueReservoir, WorkedHistories)
{
    const CPelnoFatigueReservoir reservoir;
    struct Case {
        const char* what;
        std::vector<double> values;
        std::vector<CycleRow> byInstants;
        std::vector<CycleRow> byRange;
    };
    const Case cases[] = {
        {"three equal values", {5, 5, 5}, {}, {}},
        // Rotated to 100 20 80 0 100: valley 20 drains against 80 (60), valley 0 against 100.
        // Cycle 60 starts at its valley (100 stands right before it above the level 80).
        {"0 100 20 80 0",
         {0, 100, 20, 80, 0},
         {{2, 2, 3, 60.0}, {4, 1, 1, 100.0}},
         {{2, 2, 3, 60.0}, {4, 1, 1, 100.0}}},
        // The junction 50 lies on the rising run 0-50-100: dropped, the period is 100 0 100
        // and gives the one cycle 100 (without the drop the drain would pair 0 with 50).
        {"junction on a run", {50, 100, 0, 50}, {{2, 1, 1, 100.0}}, {{2, 1, 1, 100.0}}},
        // First and last 0.01 apart: still periodic; rotated to 100 0.01 100, one cycle from the
        // valley 0.01 (record 2).
        {"ends 0.01 apart", {0, 100, 0.01}, {{2, 1, 1, 100.0 - 0.01}}, {{2, 1, 1, 100.0 - 0.01}}},
        // Rounded input: 0.02 and 0.03 are within 0.01 of each other as computed, so the
        // turning points are 0.03 0.07 0 0.03 and the period, junction dropped, 0.07 0 0.07.
        {"rounded input", {0.03, 0.02, 0.03, 0.02, 0.07, 0.00, 0.03}, {{5, 4, 4, 0.07}}, {{5, 4, 4, 0.07}}},
    };
    for (const Case& c : cases) {
        const Counted counted = Count(reservoir, MakeHistory(c.values));
        EXPECT_EQ(Rows(counted.byInstants), c.byInstants) << c.what;
        EXPECT_EQ(Rows(counted.byRange), c.byRange) << c.what;
    }
}

TEST(CPelnoFatigueReservoir, Errors)
{
    const CPelnoFatigueReservoir reservoir;
    const auto short_ = RaisedError([&] { Count(reservoir, MakeHistory({0, 0})); });
    EXPECT_EQ(short_.first, 220);
    EXPECT_EQ(short_.second.rfind("<CPelnoFatigueReservoir::LoadingCycles> : L'historique", 0), 0u);

    const auto open = RaisedError([&] { Count(reservoir, MakeHistory({0, 100, 0.02})); });
    EXPECT_EQ(open.first, 460);
    EXPECT_EQ(open.second,
              "<CPelnoFatigueReservoir::LoadingCycles> : La méthode du réservoir est utilisable uniquement pour "
              "des historiques périodiques");
}

TEST(CountingMethods, OutputsAreClearedAndClonesCountAlike)
{
    const CPelnoFatigueRainFlow rainflow;
    const CPelnoFatigueReservoir reservoir;
    const History big = MakeHistory({0, 100, 20, 80, 0});
    const History small = MakeHistory({0, 30, 0});
    for (const CPelnoFatigueCountingMethod* method : {static_cast<const CPelnoFatigueCountingMethod*>(&rainflow),
                                                      static_cast<const CPelnoFatigueCountingMethod*>(&reservoir)}) {
        Counted reused;
        Count(*method, big, reused);
        Count(*method, small, reused);
        EXPECT_EQ(Rows(reused.byInstants), (std::vector<CycleRow>{{2, 1, 1, 30.0}}));
        EXPECT_EQ(Rows(reused.byRange), (std::vector<CycleRow>{{2, 1, 1, 30.0}}));

        const auto clone = method->Clone();
        EXPECT_EQ(Rows(Count(*clone, big).byRange), Rows(Count(*method, big).byRange));
    }
    // The clone of a reservoir is a reservoir: it still refuses an open history.
    EXPECT_EQ(RaisedError([&] { Count(*reservoir.Clone(), MakeHistory({0, 100, 50})); }).first, 460);
    EXPECT_EQ(RaisedError([&] { Count(*rainflow.Clone(), MakeHistory({0, 100, 50})); }).first, 0);
}
