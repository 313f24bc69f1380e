#pragma once

#include <cmath>
#include <cstdint>

// The permissible number of cycles as a 32-bit count: a quotient that is not finite or beyond
// 2147483647 gives 2147483647, one below 1 gives 1 (a range allowed less than once still
// counts as one cycle to failure, so 1/N stays finite); any other is truncated toward zero.
inline std::int32_t PermissibleCyclesCount(double quotient)
{
    constexpr double kMost = 2147483647.0;
    if (!std::isfinite(quotient) || quotient > kMost) return 2147483647;
    if (quotient < 1.0) return 1;
    return static_cast<std::int32_t>(std::trunc(quotient));
}
