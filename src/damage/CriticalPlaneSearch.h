#pragma once

#include <cstdint>
#include <vector>

#include "damage/CorrectionCoefficients.h"
#include "damage/CPelnoFatigueCountingMethod.h"
#include "damage/CyclesByInstants.h"
#include "damage/CyclesByRange.h"
#include "damage/FunctionRef.h"
#include "stress/StressTensor.h"

// Orientation of an analysis plane: normal x', and y', z' spanning the plane.
struct PlaneBasis {
    double x[3];
    double y[3];
    double z[3];
};

// The iterative search of the critical plane shared by the unwelded-zone and welded-zone
// damage procedures: 72 x 72 planes (Theta outer, Phi inner, 0 to 177.5 degrees by 2.5), and on
// each plane every record as origin instant N0. On a plane the equivalent stress variation is
// DSigmaEq(j) = 2·|shear(j) − shear(N0)| (the change of length of the shear vector), counted
// into cycles and scored with a very low global coefficient Cr = 0.2 so that almost every
// cycle counts.
//
// What differs between the two procedures is given by SearchRules:
//   - unwelded zone: DSigmaEq multiplied by the zone Kt when it is applied; a plane wins by
//     more than 1e-8 of damage, or by the larger sum of positive normal stresses within 1e-8;
//   - welded zone: no factor; a plane wins only by a strictly greater damage.
class CriticalPlaneSearch {
public:
    // Angles derive from pi written as 3.141592654.
    static constexpr double kPi = 3.141592654;
    static constexpr double kAngleStep = kPi / 72.0;
    static constexpr double kAngleBound = kPi - 0.0001;  // keeps 180 degrees out of the loop
    static constexpr double kDegreesPerRadian = 57.29577950560105;
    static constexpr double kSearchCoefficient = 0.2;

    struct SearchRules {
        bool applyFactor = false;  // multiply DSigmaEq by factor
        double factor = 1.0;
        bool tieBreakOnNormalSum = false;
    };

    // One scored plane: its angles, its best origin (index in history order), its damage and
    // the sum of the positive normal stresses of its records.
    struct Plane {
        double theta = 0.0;
        double phi = 0.0;
        std::int32_t origin = -1;
        double damage = 0.0;
        double normalSum = 0.0;
    };

    // The plane basis for the angles (radians).
    static PlaneBasis Basis(double theta, double phi) noexcept;
    // a'ᵀ·S·b' of a symmetric tensor, summed over i (outer) then j (inner) from 0.
    static double Project(const StressTensor& tensor, const double (&a)[3], const double (&b)[3]) noexcept;
    // The 72 angle values, each obtained by repeated addition of the step.
    static const std::vector<double>& Angles();

    // The CPUs this process may run on (at least 1), as many threads as a search may use.
    static unsigned AvailableThreads() noexcept;

    // instants: the record numbers in history order; totals: the total stress tensor of each
    // record. The counting method and the S-N query score each origin.
    CriticalPlaneSearch(const std::vector<std::int32_t>& instants, const std::vector<StressTensor>& totals);

    // Runs the search; onNewBest is called with each plane that becomes the best, before the
    // best is updated. Returns the best plane (damage = lowest double when no plane was scored).
    //
    // threads: how many threads score the planes (0 counts as 1). Every plane is scored first,
    // each by one thread with its own clone of a method that counts by index (any other method
    // is called by the calling thread alone); then the planes are compared in loop order on the
    // calling thread, which alone calls onNewBest, so that the result, the rows of the search
    // table and an error raised on a plane are those of the plain loop whatever the number of
    // threads. The curve is then queried from several threads at once.
    Plane Run(const SearchRules& rules, const CPelnoFatigueCountingMethod& method,
              PermissibleCyclesRef curve, FunctionRef<void(const Plane&)> onNewBest, unsigned threads = 1);
    // The same with the curve asked for the damages of all the cycles of an origin at once.
    Plane Run(const SearchRules& rules, const CPelnoFatigueCountingMethod& method, CycleDamagesRef damages,
              FunctionRef<void(const Plane&)> onNewBest, unsigned threads = 1);

    // Fills the DSigmaEq series of n + 1 points seen from the origin index: point k is record
    // (origin + k) mod n, the last point repeats the origin with 0. The series value is
    // 2·sqrt(dy² + dz²), times factor when applyFactor. Returns the largest value (0 at least).
    static double Series(std::int32_t n, const std::int32_t* instants, const double* shearY,
                         const double* shearZ, std::int32_t origin, bool applyFactor, double factor,
                         std::int32_t* seriesInstants, double* seriesValues) noexcept;

private:
    std::vector<std::int32_t> instants_;
    std::vector<StressTensor> totals_;
};
