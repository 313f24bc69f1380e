#pragma once

// The two counting methods written plainly, step after step, for comparison with the program's
// methods: copies of the arrays, a linear search of each instant, linear scans of the history
// for the ends of every cycle, the turning points shifted in place when a cycle is removed, and
// a linear walk for the neighbours of each valley. Errors are reported by code only.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "damage/CyclesByInstants.h"
#include "damage/CyclesByRange.h"

namespace plain {

struct CountError {
    int code;
};

inline void EndsOf(const std::vector<std::int32_t>& instants, const std::vector<double>& values, std::int32_t peak,
                   double range, std::int32_t& start, std::int32_t& end)
{
    const std::int32_t n = static_cast<std::int32_t>(values.size());
    std::int32_t p = 0;
    while (p < n && instants[static_cast<std::size_t>(p)] != peak) ++p;
    if (!(range >= 0.01) || p == n) throw CountError{210};
    const auto v = [&](std::int32_t j) { return values[static_cast<std::size_t>(j)]; };
    const double level = v(p) + range;
    std::int32_t s = p;
    std::int32_t j = p;
    for (std::int32_t visit = 0; visit < n; ++visit) {
        j = (j == 0) ? n - 1 : j - 1;
        if (std::fabs(level - v(j)) < 0.01) {
            s = j;
            break;
        }
        if (v(j) + 0.01 < level) {
            s = j;
        } else if (v(j) > level + 0.01) {
            break;
        }
    }
    while (s > 0 && std::fabs(v(s - 1) - v(s)) < 0.01) --s;
    std::int32_t e = p;
    j = p;
    for (std::int32_t visit = 0; visit < n; ++visit) {
        j = (j == n - 1) ? 0 : j + 1;
        if (std::fabs(level - v(j)) < 0.01) {
            e = j;
            break;
        }
        if (v(j) + 0.01 < level) {
            e = j;
        } else if (v(j) > level + 0.01) {
            break;
        }
    }
    while (e < n - 1 && std::fabs(v(e + 1) - v(e)) < 0.01) ++e;
    start = instants[static_cast<std::size_t>(s)];
    end = instants[static_cast<std::size_t>(e)];
}

struct Output {
    CyclesByInstants byInstants;
    CyclesByRange byRange;
};

inline void Record(const std::vector<std::int32_t>& instants, const std::vector<double>& values, std::int32_t peak,
                   double range, Output& out)
{
    if (!(range >= 0.01)) return;
    LoadingCycle cycle;
    cycle.Peak = peak;
    cycle.Range = range;
    EndsOf(instants, values, peak, range, cycle.Start, cycle.End);
    out.byInstants.insert(cycle);
    out.byRange.insert(cycle);
}

// Four-point pass over points s..k of 1-based arrays, restarting from s after each cycle.
inline void FourPoint(std::vector<std::int32_t>& t, std::vector<double>& v, std::int32_t& s, std::int32_t k,
                      const std::vector<std::int32_t>& instants, const std::vector<double>& values, Output& out)
{
    const auto at = [](std::int32_t i) { return static_cast<std::size_t>(i); };
    std::int32_t i = s;
    while (i + 3 <= k) {
        const double range = std::fabs(v[at(i + 2)] - v[at(i + 1)]);
        if (std::fabs(v[at(i + 1)] - v[at(i)]) + 0.01 < range || std::fabs(v[at(i + 3)] - v[at(i + 2)]) + 0.01 < range) {
            ++i;
            continue;
        }
        const std::int32_t peak = v[at(i + 1)] <= v[at(i + 2)] ? t[at(i + 1)] : t[at(i + 2)];
        Record(instants, values, peak, range, out);
        for (std::int32_t j = i; j >= s; --j) {
            t[at(j + 2)] = t[at(j)];
            v[at(j + 2)] = v[at(j)];
        }
        s += 2;
        i = s;
    }
}

inline Output RainFlow(const std::vector<std::int32_t>& instants, const std::vector<double>& values)
{
    const auto at = [](std::int32_t i) { return static_cast<std::size_t>(i); };
    Output out;
    if (values.size() < 3) throw CountError{220};
    std::vector<std::int32_t> mi = instants;
    std::vector<double> mv = values;
    for (std::size_t i = 0; i + 1 < mv.size();) {
        if (std::fabs(mv[i + 1] - mv[i]) <= 0.01) {
            mi.erase(mi.begin() + static_cast<std::ptrdiff_t>(i));
            mv.erase(mv.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    const std::int32_t count = static_cast<std::int32_t>(mv.size());
    if (count < 3) return out;
    std::vector<std::int32_t> t(2 * at(count) + 2);
    std::vector<double> v(2 * at(count) + 2);
    std::int32_t k = 1;
    t[1] = mi[0];
    v[1] = mv[0];
    for (std::int32_t j = 1; j < count - 1; ++j) {
        if ((mv[at(j)] - mv[at(j - 1)]) * (mv[at(j + 1)] - mv[at(j)]) < 0.0) {
            ++k;
            t[at(k)] = mi[at(j)];
            v[at(k)] = mv[at(j)];
        }
    }
    ++k;
    t[at(k)] = mi[at(count - 1)];
    v[at(k)] = mv[at(count - 1)];
    if (k < 3) return out;
    std::int32_t s = 1;
    FourPoint(t, v, s, k, instants, values, out);

    const std::int32_t r = k - s + 1;
    std::vector<std::int32_t> rt(t.begin() + s - 1, t.begin() + k + 1);  // rt[1..r]
    std::vector<double> rv(v.begin() + s - 1, v.begin() + k + 1);
    const double first = rv[2] - rv[1];
    const double last = rv[at(r)] - rv[at(r - 1)];
    const double wrap = rv[1] - rv[at(r)];
    if (first * last == 0.0) throw CountError{210};
    std::vector<std::int32_t> dt(1);
    std::vector<double> dv(1);
    const auto append = [&](std::int32_t from, std::int32_t to) {
        for (std::int32_t j = from; j <= to; ++j) {
            dt.push_back(rt[at(j)]);
            dv.push_back(rv[at(j)]);
        }
    };
    if (first * last > 0.0) {
        if (last * wrap < 0.0) {
            append(1, r);
            append(1, r);
        } else {
            append(1, r - 1);
            append(2, r);
        }
    } else if (last * wrap >= 0.0) {
        append(1, r);
        append(2, r);
    } else {
        append(1, r - 1);
        append(1, r - 1);
        append(1, 1);
    }
    const std::int32_t length = static_cast<std::int32_t>(dv.size()) - 1;
    std::int32_t second = 1;
    FourPoint(dt, dv, second, length, instants, values, out);
    if (length - second + 1 != r) throw CountError{210};
    return out;
}

inline Output Reservoir(const std::vector<std::int32_t>& instants, const std::vector<double>& values)
{
    const auto at = [](std::int32_t i) { return static_cast<std::size_t>(i); };
    Output out;
    const std::int32_t n = static_cast<std::int32_t>(values.size());
    if (n < 3) throw CountError{220};
    if (std::fabs(values.front() - values.back()) > 0.01) throw CountError{460};
    std::vector<std::int32_t> t(at(n) + 1);
    std::vector<double> v(at(n) + 1);
    std::int32_t m = 1;
    t[1] = instants[0];
    v[1] = values[0];
    for (std::int32_t i = 1; i < n; ++i) {
        const double value = values[at(i)];
        if (std::fabs(value - v[at(m)]) < 0.01) continue;
        if (m >= 2 && (v[at(m)] - v[at(m - 1)]) * (value - v[at(m)]) > 0.0) {
            t[at(m)] = instants[at(i)];
            v[at(m)] = value;
            continue;
        }
        ++m;
        t[at(m)] = instants[at(i)];
        v[at(m)] = value;
    }
    if (m < 3) return out;
    if (m % 2 == 0) {
        for (std::int32_t j = 1; j <= m - 2; ++j) {
            t[at(j)] = t[at(j + 1)];
            v[at(j)] = v[at(j + 1)];
        }
        t[at(m - 1)] = t[1];
        v[at(m - 1)] = v[1];
        --m;
    }
    std::int32_t q = 1;
    for (std::int32_t j = 2; j <= m; ++j) {
        if (v[at(j)] > v[at(q)]) q = j;
    }
    if (q > 1) {
        std::vector<std::int32_t> rt(1);
        std::vector<double> rv(1);
        for (std::int32_t j = q; j <= m; ++j) {
            rt.push_back(t[at(j)]);
            rv.push_back(v[at(j)]);
        }
        for (std::int32_t j = 2; j <= q; ++j) {
            rt.push_back(t[at(j)]);
            rv.push_back(v[at(j)]);
        }
        t = rt;
        v = rv;
    }
    struct Valley {
        std::int32_t position;
        double value;
        double range;
    };
    std::vector<Valley> valleys;
    for (std::int32_t p = 2; p <= m - 1; p += 2) valleys.push_back(Valley{p, v[at(p)], 0.0});
    // Adjacent swaps until none, the later value strictly greater.
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (std::size_t j = 1; j < valleys.size(); ++j) {
            if (valleys[j].value > valleys[j - 1].value) {
                std::swap(valleys[j], valleys[j - 1]);
                swapped = true;
            }
        }
    }
    std::vector<char> used(at(m) + 1, 0);
    for (Valley& valley : valleys) {
        const std::int32_t p = valley.position;
        std::int32_t left = p - 1;
        while (left >= 1 && used[at(left)] != 0) left -= 2;
        std::int32_t right = p + 1;
        while (right <= m && used[at(right)] != 0) right += 2;
        if (left < 1 || right > m) throw CountError{210};
        if (v[at(right)] < v[at(left)]) {
            valley.range = v[at(right)] - v[at(p)];
            used[at(right)] = 1;
        } else {
            valley.range = v[at(left)] - v[at(p)];
            used[at(left)] = 1;
        }
        used[at(p)] = 1;
    }
    for (std::size_t index = valleys.size(); index-- > 0;) {
        const std::int32_t p = valleys[index].position;
        const double range = valleys[index].range;
        bool found = false;
        for (std::int32_t j = p - 1; j >= 1; --j) {
            const double rise = v[at(j)] - v[at(p)];
            if (rise > range) break;
            if (rise == range) {
                found = true;
                break;
            }
        }
        for (std::int32_t j = p + 1; !found && j <= m; ++j) {
            const double rise = v[at(j)] - v[at(p)];
            if (rise > range) break;
            if (rise == range) found = true;
        }
        if (found) Record(instants, values, t[at(p)], range, out);
    }
    return out;
}

}  // namespace plain
