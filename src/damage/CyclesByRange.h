#pragma once

#include <cstddef>
#include <vector>

#include "damage/LoadingCycle.h"

// Every counted cycle ordered by its range (ascending, plain less-than); cycles of equal range
// stay in the order they were inserted. Held in one sorted array whose storage survives
// clear().
class CyclesByRange {
public:
    using value_type = LoadingCycle;
    using const_iterator = std::vector<LoadingCycle>::const_iterator;

    // Adds the cycle after every cycle whose range is not greater than its own.
    void insert(const LoadingCycle& cycle);
    void clear() noexcept { cycles_.clear(); }

    std::size_t size() const noexcept { return cycles_.size(); }
    bool empty() const noexcept { return cycles_.empty(); }
    const_iterator begin() const noexcept { return cycles_.begin(); }
    const_iterator end() const noexcept { return cycles_.end(); }
    const LoadingCycle& operator[](std::size_t index) const { return cycles_[index]; }

private:
    std::vector<LoadingCycle> cycles_;
};
