#include "damage/CyclesByRange.h"

#include <algorithm>

void CyclesByRange::insert(const LoadingCycle& cycle)
{
    const auto place = std::upper_bound(
        cycles_.begin(), cycles_.end(), cycle,
        [](const LoadingCycle& left, const LoadingCycle& right) { return left.Range < right.Range; });
    cycles_.insert(place, cycle);
}
