#pragma once

#include <cstdint>

// One counted stress cycle: the instant (record number) of the lower of its two extremes, the
// instants where it begins and where it ends, and its stress range in MPa.
struct LoadingCycle {
    std::int32_t Peak = 0;
    std::int32_t Start = 0;
    std::int32_t End = 0;
    double Range = 0.0;
};
