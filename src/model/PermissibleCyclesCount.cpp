#include "model/PermissibleCyclesCount.h"

#include <cmath>

std::int32_t PermissibleCyclesCount(double quotient)
{
    constexpr double kMost = 2147483647.0;
    if (!std::isfinite(quotient) || quotient > kMost) return 2147483647;
    if (quotient < 1.0) return 1;
    return static_cast<std::int32_t>(std::trunc(quotient));
}
