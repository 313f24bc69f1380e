#include "damage/SeriesStretch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

// One, two or four values at a time: the same values and the same largest one, to the last bit,
// for every length (the tails of the wide forms included), with and without the factor.
TEST(SeriesStretch, SameValuesAtEveryWidth)
{
    std::mt19937 random(2);
    std::uniform_real_distribution<double> stress(-300.0, 300.0);
    for (std::size_t count = 0; count <= 23; ++count) {
        std::vector<double> y(count);
        std::vector<double> z(count);
        for (std::size_t k = 0; k < count; ++k) {
            y[k] = stress(random);
            z[k] = k % 5 == 0 ? 0.0 : stress(random);
        }
        for (const bool applyFactor : {false, true}) {
            std::vector<double> one(count);
            const double largestOne =
                SeriesStretch(SeriesWidth::One, count, y.data(), z.data(), 12.5, -3.25, applyFactor, 1.8, one.data(), 0.0);
            for (const SeriesWidth width : {SeriesWidth::Two, SeriesWidth::Four}) {
                std::vector<double> other(count);
                const double largest = SeriesStretch(width, count, y.data(), z.data(), 12.5, -3.25, applyFactor, 1.8,
                                                     other.data(), 0.0);
                if (count > 0) {
                    EXPECT_EQ(std::memcmp(one.data(), other.data(), count * sizeof(double)), 0) << count;
                }
                EXPECT_EQ(largest, largestOne) << count;
            }
            // By hand for the first value: 2·sqrt(dy² + dz²) (times 1.8).
            if (count > 0) {
                const double dy = y[0] - 12.5;
                const double dz = z[0] + 3.25;
                const double value = 2.0 * std::sqrt(dy * dy + dz * dz);
                EXPECT_EQ(one[0], applyFactor ? value * 1.8 : value);
            }
        }
    }
    // The largest given stands when no value passes it.
    const double y = 1.0;
    const double z = 0.0;
    double value = 0.0;
    EXPECT_EQ(SeriesStretch(1, &y, &z, 0.0, 0.0, false, 1.0, &value, 50.0), 50.0);
    EXPECT_EQ(value, 2.0);
}
