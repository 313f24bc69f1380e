#include "damage/TurningPoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

struct Points {
    std::vector<double> values;
    std::vector<std::int32_t> indices;
    bool operator==(const Points& other) const { return values == other.values && indices == other.indices; }
};

Points Turning(TurningWidth width, const std::vector<double>& values)
{
    const std::size_t n = values.size();
    std::vector<double> pointValues(n);
    std::vector<std::int32_t> pointIndices(n);
    std::vector<double> keptValues(n);
    std::vector<std::int32_t> keptIndices(n);
    const std::int32_t count = TurningPoints(width, values.data(), static_cast<std::int32_t>(n), pointValues.data(),
                                             pointIndices.data(), keptValues.data(), keptIndices.data());
    Points points;
    for (std::int32_t k = 0; k < count; ++k) {
        points.values.push_back(pointValues[static_cast<std::size_t>(k)]);
        points.indices.push_back(pointIndices[static_cast<std::size_t>(k)]);
    }
    return points;
}

}  // namespace

// By hand: flats within 0.01 keep their last record, a slope change turns, the ends stay.
TEST(TurningPoints, ByHand)
{
    struct Case {
        std::vector<double> values;
        std::vector<std::int32_t> indices;  // of the turning points
    };
    const Case cases[] = {
        // 1 2 3 go up, 1 turns down, 4 turns up: the monotonic 2 goes.
        {{0.0, 1.0, 2.0, 3.0, 1.0, 4.0}, {0, 3, 4, 5}},
        // 5 and 5.005 are one flat: the later record stays (index 2).
        {{0.0, 5.0, 5.005, 1.0, 2.0}, {0, 2, 3, 4}},
        // 0.26 - 0.25 is 0.010000000000000009 in doubles, above 0.01: not a flat; 0.25 goes on
        // the same slope as 0 to 0.25, and 0.26 turns.
        {{0.0, 0.25, 0.26, 0.0}, {0, 2, 3}},
        // Leading flat: the first record kept is the last of it.
        {{1.0, 1.0, 1.0, 3.0, 0.0}, {2, 3, 4}},
        // Two records kept (a flat then one step): nothing worth counting.
        {{1.0, 1.0, 1.004, 3.0}, {}},
        // Constant: nothing.
        {{2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0}, {}},
        // Three kept on a straight line: the first and the last only.
        {{0.0, 1.0, 2.0}, {0, 2}},
    };
    for (const Case& c : cases) {
        for (const TurningWidth width : {TurningWidth::One, TurningWidth::Four, TurningWidth::Eight}) {
            const Points points = Turning(width, c.values);
            EXPECT_EQ(points.indices, c.indices) << c.values.size() << " records, width " << static_cast<int>(width);
            for (std::size_t k = 0; k < points.indices.size(); ++k) {
                EXPECT_EQ(points.values[k], c.values[static_cast<std::size_t>(points.indices[k])]);
            }
        }
    }
}

// The wide forms against one at a time on random series of every length up to 70 (all the
// tails), with flats, plateaus, exact ties and signed zeros.
TEST(TurningPoints, SameAtEveryWidth)
{
    std::mt19937 random(11);
    int nonEmpty = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        const std::size_t n = 1 + static_cast<std::size_t>(trial % 70);
        std::vector<double> values(n);
        const int kind = trial % 4;
        for (std::size_t k = 0; k < n; ++k) {
            switch (kind) {
            case 0: values[k] = std::uniform_real_distribution<double>(0.0, 400.0)(random); break;
            case 1: values[k] = 0.005 * static_cast<double>(random() % 7); break;  // steps at the tolerance
            case 2: values[k] = static_cast<double>(random() % 3) * 10.0; break;     // plateaus and ties
            default: values[k] = (random() % 2 == 0 ? -0.0 : 0.0) + static_cast<double>(random() % 2); break;
            }
        }
        const Points one = Turning(TurningWidth::One, values);
        nonEmpty += one.values.empty() ? 0 : 1;
        for (const TurningWidth width : {TurningWidth::Four, TurningWidth::Eight}) {
            ASSERT_TRUE(Turning(width, values) == one) << "trial " << trial << " width " << static_cast<int>(width);
        }
    }
    EXPECT_GT(nonEmpty, 1000);
}
