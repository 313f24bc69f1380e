#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "app/MethodLogName.h"
#include "damage/CPelnoFatigueCountingMethod.h"
#include "damage/CPelnoFatiguePlasticityCriteria.h"
#include "damage/CorrectionCoefficients.h"
#include "damage/CriticalPlaneSearch.h"
#include "damage/CycleQuantities.h"
#include "damage/LoadingCycle.h"
#include "stress/CPelnoFatigueHistorique.h"

class CPelnoFatigue;

// One counted cycle of the critical plane of an unwelded zone, with everything the final
// damage is made of.
struct UWZoneCycle {
    LoadingCycle cycle;
    CycleQuantities counted;    // as extracted from the history
    CycleQuantities corrected;  // after the plasticity correction
    double Rpt = 0.0;
    PlasticityFactors plasticity;
    NotchFactors notch;
    double CtR = 1.0;
    double Cs = 1.0;
    double Ce = 1.0;
    double Cm = 1.0;
    double Cr = 1.0;
    std::int32_t N = 0;
    double damage = 0.0;
};

// How the computation of an unwelded zone ended, and what it found.
struct UWZoneDamageResult {
    enum class End { ZeroDamage, NoCycle, Complete };
    End end = End::ZeroDamage;
    CriticalPlaneSearch::Plane plane;
    std::vector<std::int32_t> seriesInstants;  // DSigmaEq history on the critical plane
    std::vector<double> seriesValues;
    std::vector<UWZoneCycle> cycles;
    double Dfinal = 0.0;
    double total = 0.0;
};

// The damage rate of an unwelded zone by the critical-plane method (C11.3.9.2.3): search of
// the plane and origin instant, cycles of DSigmaEq on that plane, plasticity correction,
// Kt -> Kf, coefficients CtR, Cs, Ce, Cm, permissible cycles and the sum of 1/N. Writes the
// report while it computes when given a stream.
class UWZoneDamage {
public:
    UWZoneDamage(const MethodLogName& log, const CPelnoFatigue& study, const CPelnoFatigueHistorique& history,
                 const CPelnoFatigueCountingMethod& method, const CPelnoFatiguePlasticityCriteria& criterion);

    // report: the open report stream, or null to compute without writing. threads: how many
    // threads the search of the critical plane may use (the same result for any number).
    UWZoneDamageResult Run(std::ostream* report, unsigned threads = CriticalPlaneSearch::AvailableThreads());

private:
    const MethodLogName& log_;
    const CPelnoFatigue& study_;
    const CPelnoFatigueHistorique& history_;
    const CPelnoFatigueCountingMethod& method_;
    const CPelnoFatiguePlasticityCriteria& criterion_;
};
