#include "damage/CyclesByInstants.h"

#include <algorithm>

namespace {

bool EarlierInstants(const LoadingCycle& left, const LoadingCycle& right) noexcept
{
    if (left.Peak != right.Peak) {
        return left.Peak < right.Peak;
    }
    if (left.Start != right.Start) {
        return left.Start < right.Start;
    }
    return left.End < right.End;
}

} // namespace

bool CyclesByInstants::insert(const LoadingCycle& cycle)
{
    const auto place = std::lower_bound(cycles_.begin(), cycles_.end(), cycle, EarlierInstants);
    if (place != cycles_.end() && !EarlierInstants(cycle, *place)) {
        return false;
    }
    cycles_.insert(place, cycle);
    return true;
}
