#pragma once

#include <cstddef>
#include <vector>

#include "damage/LoadingCycle.h"

// The counted cycles ordered by their instants (Peak, then Start, then End, ascending). A cycle
// whose three instants equal those of a cycle already held is not added: the first one stays,
// with its range. Held in one sorted array whose storage survives clear(), so that a counting
// method run thousands of times on the same collection allocates nothing once it has grown.
class CyclesByInstants {
public:
    using value_type = LoadingCycle;
    using const_iterator = std::vector<LoadingCycle>::const_iterator;

    // Adds the cycle in its place; false (and nothing changes) when its instants are taken.
    bool insert(const LoadingCycle& cycle);
    void clear() noexcept { cycles_.clear(); }

    std::size_t size() const noexcept { return cycles_.size(); }
    bool empty() const noexcept { return cycles_.empty(); }
    const_iterator begin() const noexcept { return cycles_.begin(); }
    const_iterator end() const noexcept { return cycles_.end(); }
    const LoadingCycle& operator[](std::size_t index) const { return cycles_[index]; }

private:
    std::vector<LoadingCycle> cycles_;
};
