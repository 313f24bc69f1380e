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

// The points a finder writes for the values (its count, -1 when it refuses them, into ok).
template <class Finder>
Points Collect(const std::vector<double>& values, const Finder& find, bool* ok = nullptr)
{
    const std::size_t n = values.size();
    std::vector<double> pointValues(n);
    std::vector<std::int32_t> pointIndices(n);
    std::vector<double> keptValues(n);
    std::vector<std::int32_t> keptIndices(n);
    const std::int32_t count = find(values.data(), static_cast<std::int32_t>(n), pointValues.data(),
                                    pointIndices.data(), keptValues.data(), keptIndices.data());
    if (ok != nullptr) *ok = count >= 0;
    Points points;
    for (std::int32_t k = 0; k < count; ++k) {
        points.values.push_back(pointValues[static_cast<std::size_t>(k)]);
        points.indices.push_back(pointIndices[static_cast<std::size_t>(k)]);
    }
    return points;
}

Points Turning(TurningWidth width, const std::vector<double>& values)
{
    return Collect(values, [width](const double* v, std::int32_t n, double* pv, std::int32_t* pi, double* kv,
                                   std::int32_t* ki) { return TurningPoints(width, v, n, pv, pi, kv, ki); });
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

namespace {

// The pass the step points stand for, written plainly: a record within 0.01 of the last one kept
// is dropped, a record on a monotonic run replaces the one before it.
Points PlainPass(const std::vector<double>& values)
{
    Points points;
    points.values.push_back(values[0]);
    points.indices.push_back(0);
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double value = values[i];
        const std::size_t m = points.values.size();
        if (std::fabs(value - points.values[m - 1]) < 0.01) continue;
        if (m >= 2 && (points.values[m - 1] - points.values[m - 2]) * (value - points.values[m - 1]) > 0.0) {
            points.values[m - 1] = value;
            points.indices[m - 1] = static_cast<std::int32_t>(i);
            continue;
        }
        points.values.push_back(value);
        points.indices.push_back(static_cast<std::int32_t>(i));
    }
    return points;
}

// The step points at a width, or nothing when the history is refused (-1).
bool Steps(TurningWidth width, const std::vector<double>& values, Points& points)
{
    bool ok = false;
    points = Collect(
        values,
        [width](const double* v, std::int32_t n, double* pv, std::int32_t* pi, double* kv, std::int32_t* ki) {
            return StepTurningPoints(width, v, n, pv, pi, kv, ki);
        },
        &ok);
    return ok;
}

}  // namespace

// By hand: equal neighbours keep the first, a step of exactly 0.01 counts, a step below it or
// one that is not a number refuses the history.
TEST(StepTurningPoints, ByHand)
{
    struct Case {
        std::vector<double> values;
        bool taken;
        std::vector<std::int32_t> indices;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {{0.0, 1.0, 2.0, 3.0, 1.0, 4.0}, true, {0, 3, 4, 5}},
        // 5 5 5: the first 5 stays (index 1), the others go.
        {{0.0, 5.0, 5.0, 5.0, 1.0, 1.0}, true, {0, 1, 4}},
        // 0 and 0.01 are a step (0.01 in doubles, not below 0.01).
        {{0.0, 0.01, 0.0, 0.01}, true, {0, 1, 2, 3}},
        // 5 and 5.005: the pass would drop 5.005, so the history is refused.
        {{0.0, 5.0, 5.005, 1.0}, false, {}},
        {{0.0, 1.0, nan, 1.0}, false, {}},
        // A plateau only: one point.
        {{2.0, 2.0, 2.0}, true, {0}},
    };
    for (const Case& c : cases) {
        for (const TurningWidth width : {TurningWidth::One, TurningWidth::Four, TurningWidth::Eight}) {
            Points points;
            ASSERT_EQ(Steps(width, c.values, points), c.taken) << c.values.size() << " records";
            if (c.taken) {
                EXPECT_EQ(points.indices, c.indices) << static_cast<int>(width);
            }
        }
    }
}

// On random histories of every length up to 70, wherever the step points are taken they are the
// plain pass's points, at every width; histories with repeated records are taken too.
TEST(StepTurningPoints, SameAsThePlainPass)
{
    std::mt19937 random(5);
    int taken = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        const std::size_t n = 1 + static_cast<std::size_t>(trial % 70);
        std::vector<double> values(n);
        for (std::size_t k = 0; k < n; ++k) {
            switch (trial % 3) {
            case 0: values[k] = std::uniform_real_distribution<double>(0.0, 400.0)(random); break;
            case 1: values[k] = static_cast<double>(random() % 4) * 0.01; break;  // repeats and steps of 0.01
            default: values[k] = k > 0 && random() % 3 == 0 ? values[k - 1] : std::uniform_real_distribution<double>(0.0, 9.0)(random); break;
            }
        }
        const Points plain = PlainPass(values);
        for (const TurningWidth width : {TurningWidth::One, TurningWidth::Four, TurningWidth::Eight}) {
            Points points;
            if (!Steps(width, values, points)) continue;
            taken += width == TurningWidth::One ? 1 : 0;
            ASSERT_TRUE(points == plain) << "trial " << trial << " width " << static_cast<int>(width);
        }
    }
    // Most are taken; steps like 0.03 - 0.02 (below 0.01 in doubles) refuse some.
    EXPECT_GT(taken, 2000);
    EXPECT_LT(taken, 4000);
}
