#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/MethodLogName.h"
#include "damage/CPelnoFatigueCountingMethod.h"
#include "damage/CPelnoFatiguePlasticityCriteria.h"
#include "damage/CorrectionCoefficients.h"
#include "damage/CriticalPlaneSearch.h"
#include "damage/CycleQuantities.h"
#include "damage/LoadingCycle.h"
#include "stress/CPelnoFatigueHistorique.h"
#include "stress/StressTensor.h"

class CPelnoFatigue;

// The stresses of one record intensified for the shape imperfection of the seam (C11.A6).
struct WeldIntensification {
    std::int32_t instant = 0;
    double pressure = 0.0;
    double Aperpendicular = 1.0;  // across the seam (x)
    double Aparallel = 1.0;       // along the seam (y)
    StressTensor Sij{};           // as given
    StressTensor SijLM{};
    StressTensor intensifiedSij{};
    StressTensor intensifiedSijLM{};
};

// One counted cycle of the critical plane of a weld seam, with everything its damage is made
// of. Only DSigmaR, DSigmaRlm, DSigmaRlt and Temp of the quantities are used.
struct WeldCycle {
    LoadingCycle cycle;
    CycleQuantities counted;    // as extracted from the history
    CycleQuantities corrected;  // after the plasticity correction
    double Rpt = 0.0;           // the smaller of the two materials' at Temp
    PlasticityFactors plasticity;
    double CtR = 1.0;
    double Cr = 1.0;
    std::int32_t N = 0;
    double damage = 0.0;
};

// How the computation of a weld seam ended, and what it found.
struct WeldDamageResult {
    enum class End { ZeroDamage, NoCycle, Complete };
    End end = End::ZeroDamage;
    double externalPressure = 0.0;                    // the smaller admissible one of the two components
    std::vector<WeldIntensification> intensification;  // empty when the seam has no imperfection
    CriticalPlaneSearch::Plane plane;
    std::vector<double> normal;  // Sx'x', Sx'y', Sx'z' of each record on the critical plane
    std::vector<double> shearY;
    std::vector<double> shearZ;
    std::vector<std::int32_t> seriesInstants;  // DSigmaEq history on the critical plane
    std::vector<double> seriesValues;
    std::vector<WeldCycle> cycles;
    double thickness = 0.0;  // the larger of the two components'
    double Ce = 1.0;
    double Dfinal = 0.0;
    double total = 0.0;
};

// The damage rate of a weld seam by the critical-plane method (C11.3.9.3 with C11.3.9.2.3):
// the stresses intensified for the seam's shape imperfection (C11.A6), search of the plane
// and origin instant, cycles of DSigmaEq on that plane, plasticity correction of DSigmaR,
// coefficients Ce and CtR (C11.3.12.4), permissible cycles from the fatigue class of the
// seam's classification and the sum of 1/N. Writes the report while it computes when given
// a stream.
class WeldDamage {
public:
    // Fixed modulus and Poisson's ratio of the intensification factors.
    static constexpr double kIntensificationE = 201660.0;
    static constexpr double kIntensificationNu = 0.3;

    // history: the request's own copy, whose records receive the intensified stresses.
    WeldDamage(const MethodLogName& log, const CPelnoFatigue& study, CPelnoFatigueHistorique& history,
               const CPelnoFatigueCountingMethod& method, const CPelnoFatiguePlasticityCriteria& criterion);

    // report: the open report stream, or null to compute without writing. threads: how many
    // threads the search of the critical plane may use (the same result for any number).
    WeldDamageResult Run(std::ostream* report, unsigned threads = CriticalPlaneSearch::AvailableThreads());

private:
    const MethodLogName& log_;
    const CPelnoFatigue& study_;
    CPelnoFatigueHistorique& history_;
    const CPelnoFatigueCountingMethod& method_;
    const CPelnoFatiguePlasticityCriteria& criterion_;
};
