#include "damage/CriticalPlaneSearch.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>

#include "damage/OriginDamage.h"
#include "damage/SeriesStretch.h"

namespace {

// The n + 1 values of the DSigmaEq series seen from the origin: records origin .. n-1, then
// 0 .. origin-1, then the origin again with 0. Returns the largest value (0 at least).
double SeriesValues(std::int32_t n, const double* shearY, const double* shearZ, std::int32_t origin,
                    bool applyFactor, double factor, double* values) noexcept
{
    const std::size_t count = static_cast<std::size_t>(n);
    const std::size_t from = static_cast<std::size_t>(origin);
    const double originY = shearY[from];
    const double originZ = shearZ[from];
    double largest = SeriesStretch(count - from, shearY + from, shearZ + from, originY, originZ, applyFactor, factor,
                                   values, 0.0);
    largest = SeriesStretch(from, shearY, shearZ, originY, originZ, applyFactor, factor, values + (count - from),
                            largest);
    values[count] = 0.0;
    return largest;
}

// What the search keeps of a plane once scored: its damage (the largest over its origins), the
// first origin that gives it, and the sum of the positive normal stresses of its records.
struct PlaneScore {
    double damage = 0.0;
    double normalSum = 0.0;
    std::int32_t origin = -1;
};

// Scores planes one after the other with the buffers of one thread: nothing is allocated per
// plane or per origin once built.
class PlaneScorer {
public:
    PlaneScorer(const std::vector<std::int32_t>& instants, const std::vector<StressTensor>& totals,
                const CriticalPlaneSearch::SearchRules& rules, const CPelnoFatigueCountingMethod& method,
                CycleDamagesRef damages)
        : totals_(totals),
          rules_(rules),
          damages_(damages),
          n_(static_cast<std::int32_t>(instants.size())),
          shearY_(instants.size()),
          shearZ_(instants.size()),
          values_(instants.size() + 1),
          damage_(instants, method)
    {
    }

    PlaneScore Score(double theta, double phi)
    {
        const std::size_t n = static_cast<std::size_t>(n_);
        const PlaneBasis basis = CriticalPlaneSearch::Basis(theta, phi);
        PlaneScore score;
        double normalSum = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const StressTensor& total = totals_[i];
            const double normal = CriticalPlaneSearch::Project(total, basis.x, basis.x);
            shearY_[i] = CriticalPlaneSearch::Project(total, basis.x, basis.y);
            shearZ_[i] = CriticalPlaneSearch::Project(total, basis.x, basis.z);
            if (normal > 0.0) normalSum += normal;
        }
        score.normalSum = normalSum;

        score.damage = std::numeric_limits<double>::lowest();
        for (std::int32_t origin = 0; origin < n_; ++origin) {
            const double largest = Series(static_cast<std::size_t>(origin));
            // Only a damage above the best so far counts: one certainly below it is not summed
            // in order.
            const double damage = damage_.Damage(origin, values_.data(), largest, CriticalPlaneSearch::kSearchCoefficient,
                                                 damages_, score.damage);
            if (damage > score.damage) {
                score.damage = damage;
                score.origin = origin;
            }
        }
        return score;
    }

private:
    // The DSigmaEq series from the origin, into values_.
    double Series(std::size_t origin)
    {
        return SeriesValues(n_, shearY_.data(), shearZ_.data(), static_cast<std::int32_t>(origin), rules_.applyFactor,
                            rules_.factor, values_.data());
    }

    const std::vector<StressTensor>& totals_;
    const CriticalPlaneSearch::SearchRules& rules_;
    CycleDamagesRef damages_;
    std::int32_t n_;
    std::vector<double> shearY_;
    std::vector<double> shearZ_;
    std::vector<double> values_;
    OriginDamage damage_;
};

}  // namespace

unsigned CriticalPlaneSearch::AvailableThreads() noexcept
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0) return 1;
    const int count = CPU_COUNT(&allowed);
    return count > 0 ? static_cast<unsigned>(count) : 1;
}

PlaneBasis CriticalPlaneSearch::Basis(double theta, double phi) noexcept
{
    const double cosTheta = std::cos(theta);
    const double sinTheta = std::sin(theta);
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    PlaneBasis basis{};
    basis.x[0] = cosTheta * cosPhi;
    basis.x[1] = sinTheta * cosPhi;
    basis.x[2] = sinPhi;
    basis.y[0] = -sinTheta;
    basis.y[1] = cosTheta;
    basis.y[2] = 0.0;
    basis.z[0] = -sinPhi * cosTheta;
    basis.z[1] = -sinPhi * sinTheta;
    basis.z[2] = cosPhi;
    return basis;
}

double CriticalPlaneSearch::Project(const StressTensor& s, const double (&a)[3], const double (&b)[3]) noexcept
{
    // Sxx, Sxy, Sxz, Syy, Syz, Szz as the full symmetric matrix.
    const double m[3][3] = {{s[0], s[1], s[2]}, {s[1], s[3], s[4]}, {s[2], s[4], s[5]}};
    double sum = 0.0;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) sum += (a[i] * m[i][j]) * b[j];
    }
    return sum;
}

const std::vector<double>& CriticalPlaneSearch::Angles()
{
    static const std::vector<double> angles = [] {
        std::vector<double> values;
        for (double angle = 0.0; angle < kAngleBound; angle += kAngleStep) values.push_back(angle);
        return values;
    }();
    return angles;
}

CriticalPlaneSearch::CriticalPlaneSearch(const std::vector<std::int32_t>& instants,
                                         const std::vector<StressTensor>& totals)
    : instants_(instants), totals_(totals)
{
}

double CriticalPlaneSearch::Series(std::int32_t n, const std::int32_t* instants, const double* shearY,
                                   const double* shearZ, std::int32_t origin, bool applyFactor,
                                   double factor, std::int32_t* seriesInstants, double* seriesValues) noexcept
{
    std::int32_t j = origin;
    for (std::int32_t k = 0; k < n; ++k) {
        seriesInstants[k] = instants[j];
        if (++j == n) j = 0;
    }
    seriesInstants[n] = instants[origin];
    return SeriesValues(n, shearY, shearZ, origin, applyFactor, factor, seriesValues);
}

CriticalPlaneSearch::Plane CriticalPlaneSearch::Run(const SearchRules& rules,
                                                    const CPelnoFatigueCountingMethod& method,
                                                    PermissibleCyclesRef curve,
                                                    FunctionRef<void(const Plane&)> onNewBest, unsigned threads)
{
    const auto damages = [curve](const double* ranges, std::size_t count, double largest, double factor,
                                 double* inverses) {
        for (std::size_t k = 0; k < count; ++k) {
            inverses[k] = 1.0 / static_cast<double>(curve(ranges[k], largest, factor));
        }
    };
    return Run(rules, method, CycleDamagesRef(damages), onNewBest, threads);
}

CriticalPlaneSearch::Plane CriticalPlaneSearch::Run(const SearchRules& rules,
                                                    const CPelnoFatigueCountingMethod& method, CycleDamagesRef damages,
                                                    FunctionRef<void(const Plane&)> onNewBest, unsigned threads)
{
    const double lowest = std::numeric_limits<double>::lowest();
    const std::vector<double>& angles = Angles();
    const std::size_t perAngle = angles.size();
    const std::size_t planes = perAngle * perAngle;

    // The scorers, each with its own counting object (the method itself for the first), all
    // made before any thread starts.
    const std::size_t workers =
        method.CountsByIndex() ? std::max<std::size_t>(1, std::min<std::size_t>(threads, planes)) : 1;
    std::vector<std::unique_ptr<CPelnoFatigueCountingMethod>> clones;
    std::vector<std::unique_ptr<PlaneScorer>> scorers;
    scorers.push_back(std::make_unique<PlaneScorer>(instants_, totals_, rules, method, damages));
    for (std::size_t w = 1; w < workers; ++w) {
        clones.push_back(method.Clone());
        scorers.push_back(std::make_unique<PlaneScorer>(instants_, totals_, rules, *clones.back(), damages));
    }

    // Planes in loop order (Theta outer, Phi inner), handed out one at a time. A plane whose
    // scoring fails stops the handing out past it; the first one in loop order is the error
    // the search raises, once the planes before it are compared.
    std::vector<PlaneScore> scores(planes);
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> stopAt{planes};
    std::mutex failureMutex;
    std::size_t failedAt = planes;
    std::exception_ptr failure;
    const auto work = [&](PlaneScorer& scorer) {
        for (;;) {
            const std::size_t plane = next.fetch_add(1);
            if (plane >= planes || plane > stopAt.load()) return;
            try {
                scores[plane] = scorer.Score(angles[plane / perAngle], angles[plane % perAngle]);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureMutex);
                if (plane < failedAt) {
                    failedAt = plane;
                    failure = std::current_exception();
                    stopAt.store(plane);
                }
                return;
            }
        }
    };
    {
        std::vector<std::thread> started;
        started.reserve(workers);
        for (std::size_t w = 1; w < workers; ++w) {
            try {
                started.emplace_back(work, std::ref(*scorers[w]));
            } catch (...) {
                break;  // no thread could be started: those started share the planes out
            }
        }
        work(*scorers[0]);
        for (std::thread& thread : started) thread.join();
    }

    Plane best;
    best.theta = lowest;
    best.phi = lowest;
    best.origin = -1;
    best.damage = lowest;
    best.normalSum = 0.0;
    for (std::size_t index = 0; index < planes; ++index) {
        if (index == failedAt) std::rethrow_exception(failure);
        const PlaneScore& score = scores[index];
        bool wins = false;
        if (rules.tieBreakOnNormalSum) {
            wins = score.damage > best.damage + 1e-8 ||
                   (std::fabs(score.damage - best.damage) < 1e-8 && score.normalSum > best.normalSum);
        } else {
            wins = score.damage > best.damage;
        }
        if (wins) {
            const Plane plane{angles[index / perAngle], angles[index % perAngle], score.origin, score.damage,
                              score.normalSum};
            onNewBest(plane);
            best = plane;
        }
    }
    return best;
}
