#pragma once

#include <cstdint>

// The permissible number of cycles as a 32-bit count: a quotient that is not finite or beyond
// 2147483647 gives 2147483647, one below 1 gives 1 (a range allowed less than once still
// counts as one cycle to failure, so 1/N stays finite); any other is truncated toward zero.
std::int32_t PermissibleCyclesCount(double quotient);
