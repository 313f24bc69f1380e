#include "damage/CPelnoFatigueRainFlow.h"

#include <gtest/gtest.h>

#include "damage/CountingHelpers.h"

TEST(CPelnoFatigueRainFlow, WorkedHistories)
{
    const CPelnoFatigueRainFlow rainflow;
    struct Case {
        const char* what;
        std::vector<double> values;
        std::vector<CycleRow> cycles; // by instants
    };
    const Case cases[] = {
        {"three equal values", {5, 5, 5}, {}},
        {"monotonic", {0, 50, 100}, {}},
        // One cycle of 100 between records 1 and 2; its lower extreme is the last record; the
        // level 100 is found at record 1 both ways round.
        {"0 100 0", {0, 100, 0}, {{2, 1, 1, 100.0}}},
        // The run 0, 0 merges into its later record, 2, which is the lower extreme; the level
        // 100 is found at record 0 backwards and at record 3 forwards.
        {"flat run keeps the later record", {100, 0, 0, 100}, {{2, 0, 3, 100.0}}},
        // Junction 50 on the rising run: the residue 50 100 0 50 is doubled as 50 100 0 100 0
        // 50, which closes 0-100 once.
        {"junction on a run", {50, 100, 0, 50}, {{2, 1, 1, 100.0}}},
    };
    for (const Case& c : cases) {
        const Counted counted = Count(rainflow, MakeHistory(c.values));
        EXPECT_EQ(Rows(counted.byInstants), c.cycles) << c.what;
        EXPECT_EQ(counted.byRange.size(), c.cycles.size()) << c.what;
    }
}

TEST(CPelnoFatigueRainFlow, CycleNarrowerThanToleranceIsDroppedNotRecorded)
{
    // Values rounded to 0.01 MPa. 0.03 - 0.02 computes just below 0.01, so the first four
    // records merge into record 3 (0.02) and the turning points are 0.02 0.07 0.00 0.03. The
    // doubled residue 0.02 0.07 0 0.03 0.02 0.07 0 0.03 first closes 0.03-0.02, a "0.01" range
    // below the tolerance: dropped without a cycle and without an error. Then 0.07-0 closes
    // with its lower extreme at record 5, the level 0.07 being record 4 both ways round.
    const Counted counted = Count(CPelnoFatigueRainFlow(), MakeHistory({0.03, 0.02, 0.03, 0.02, 0.07, 0.00, 0.03}));
    EXPECT_EQ(Rows(counted.byInstants), (std::vector<CycleRow>{{5, 4, 4, 0.07}}));
    EXPECT_EQ(Rows(counted.byRange), (std::vector<CycleRow>{{5, 4, 4, 0.07}}));
}

TEST(CPelnoFatigueRainFlow, Errors)
{
    const CPelnoFatigueRainFlow rainflow;
    const auto short_ = RaisedError([&] { Count(rainflow, MakeHistory({0, 100})); });
    EXPECT_EQ(short_.first, 220);
    EXPECT_EQ(short_.second,
              "<CPelnoFatigueRainFlow::LoadingCycles> : L'historique ne contient pas assez de relevés pour "
              "permettre un comptage des cycles");

    // Last value differs from the first: turning points 50 70 0 20 10 stay whole after the
    // first pass (r = 5); the slopes 20 / -10 / wrap 40 double it as 50 70 0 20 50 70 0 20 50,
    // whose pass closes 0-20, 70-50 and 0-20 again and leaves 3 points, not 5.
    const auto residue = RaisedError([&] { Count(rainflow, MakeHistory({50, 70, 0, 20, 10})); });
    EXPECT_EQ(residue.first, 210);
    EXPECT_EQ(residue.second, "<CPelnoFatigueRainFlow::LoadingCycles> : Erreur interne au logiciel, contactez le TOLVE");
}
