#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "app/CExceptionPelnoFatigue.h"
#include "damage/CPelnoFatigueCountingMethod.h"

// A scalar history with its record numbers.
struct History {
    std::vector<std::int32_t> instants;
    std::vector<double> values;
};

// Records numbered first, first + 1, ...
inline History MakeHistory(const std::vector<double>& values, std::int32_t first = 0)
{
    History history;
    history.values = values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        history.instants.push_back(first + static_cast<std::int32_t>(i));
    }
    return history;
}

struct Counted {
    CyclesByInstants byInstants;
    CyclesByRange byRange;
};

inline void Count(const CPelnoFatigueCountingMethod& method, const History& history, Counted& out)
{
    method.LoadingCycles(static_cast<std::int32_t>(history.values.size()), history.instants.data(),
                         history.values.data(), out.byInstants, out.byRange);
}

inline Counted Count(const CPelnoFatigueCountingMethod& method, const History& history)
{
    Counted out;
    Count(method, history, out);
    return out;
}

// (Peak, Start, End, Range) of every cycle, in the collection's order.
using CycleRow = std::tuple<std::int32_t, std::int32_t, std::int32_t, double>;

template <class Collection>
std::vector<CycleRow> Rows(const Collection& cycles)
{
    std::vector<CycleRow> rows;
    for (const LoadingCycle& cycle : cycles) {
        rows.emplace_back(cycle.Peak, cycle.Start, cycle.End, cycle.Range);
    }
    return rows;
}

// Runs the body and returns the code and message of the program error it raises (0 and ""
// when it raises none).
template <class Body>
std::pair<std::int32_t, std::string> RaisedError(Body&& body)
{
    try {
        body();
    } catch (const CExceptionPelnoFatigue& error) {
        return {error.GetCode(), error.GetMessage() != nullptr ? error.GetMessage() : ""};
    }
    return {0, ""};
}
