#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

#include "app/MethodLogName.h"
#include "damage/CPelnoFatigueCountingMethod.h"
#include "damage/CPelnoFatiguePlasticityCriteria.h"
#include "model/CPelnoFatigueClasse.h"
#include "model/CPelnoFatigueClassification.h"
#include "model/CPelnoFatigueComposant.h"
#include "model/CPelnoFatigueCordon.h"
#include "model/CPelnoFatigueMateriau.h"
#include "stress/CPelnoFatigueHistorique.h"
#include "stress/StressTensor.h"

class CPelnoFatigue;

// One record seen from the throat plane of the weld: the first three components of its total
// tensor are the normal stress and the two shear stresses acting on that plane.
struct ThroatRow {
    std::int32_t number = 0;  // record number (instant)
    double Sxx = 0.0;         // normal stress on the throat plane (Sigma perpendicular)
    double Sxy = 0.0;         // shear stress (Tau perpendicular)
    double Sxz = 0.0;         // shear stress (Tau parallel)
    StressTensor SijLM{};     // linearised mechanical stresses
    StressTensor SijLT{};     // linearised thermal stresses
    double temperature = 0.0;
};

// One counted cycle of the throat, with what its damage is made of.
struct ThroatCycle {
    std::int32_t Start = 0;
    std::int32_t Peak = 0;
    std::int32_t End = 0;
    double DSigmaR = 0.0;    // cycle range of DSigmaEq
    double DSigmaRlm = 0.0;  // range of the linearised mechanical stresses
    double DSigmaRlt = 0.0;  // range of the linearised thermal stresses
    double Temp = 0.0;       // mean cycle temperature t*
    double Rpt = 0.0;        // smaller yield strength of the two materials at Temp (0 until checked)
    double CtR = 1.0;
    double Cr = 1.0;
    std::int32_t N = 0;      // permissible cycles (0 until the final damage)
    double damage = 0.0;
};

// The objects a throat check works on, copied from the study and its context library.
struct WeldThroatObjects {
    CPelnoFatigueCordon weld;
    CPelnoFatigueClassification classification;
    CPelnoFatigueClasse fatigueClass;
    CPelnoFatigueComposant component1;
    CPelnoFatigueComposant component2;
    CPelnoFatigueMateriau material1;
    CPelnoFatigueMateriau material2;
};

// How the check of a throat ended, and what it found. An error code is the fifth way to end:
// it leaves as an exception and no result is returned.
struct WeldThroatDamageResult {
    enum class End {
        ZeroDamage,          // the best origin gives a damage below 1e-8
        NoCycle,             // the series of the chosen origin yields no cycle
        PlasticityRequired,  // a cycle exceeds 2·Rpt: the throat does not meet the code
        Complete             // the damage sum
    };
    struct OriginRow {
        std::int32_t origin = 0;  // row index of the origin tried
        double damage = 0.0;      // its damage with Cr = 0.2
    };

    End end = End::ZeroDamage;
    std::vector<ThroatRow> rows;
    std::vector<OriginRow> originRows;  // each origin that became the best, in search order
    std::int32_t origin = -1;           // N0, row index of the chosen origin
    double searchDamage = 0.0;          // its damage with Cr = 0.2
    std::vector<std::int32_t> seriesInstants;  // DSigmaEq series from N0 (n + 1 points)
    std::vector<double> seriesValues;
    double DSigmaEqMax = 0.0;           // largest value of that series
    std::vector<ThroatCycle> cycles;    // in the order of the cycles by instants
    std::size_t failingCycle = 0;       // index of the cycle that ended a PlasticityRequired check
    double thickness = 0.0;             // larger thickness of the two components (reported only)
    double Ce = 1.0;
    double total = 0.0;
};

// Fatigue check of the throat of a partial-penetration weld (C11.3.9.4, C11.3.9.5.2): the
// variation of the stress vector on the throat plane from an origin instant, the origin that
// gives the largest damage, its cycles, the no-plasticity condition (C11.3.11.1.1) and the sum
// of 1/N on the fatigue class of the seam's classification with CtR and Ce = 1 (C11.3.12.4).
// Writes the report while it computes when given a stream.
class WeldThroatDamage {
public:
    // log: the damage request's procedure name, the "%s" of every message raised here.
    WeldThroatDamage(const MethodLogName& log, const CPelnoFatigue& study, const CPelnoFatigueHistorique& history,
                     const CPelnoFatigueCountingMethod& method, const CPelnoFatiguePlasticityCriteria& criterion);

    // The whole check, the seam, classification, class, components and materials looked up in
    // the study. report: the open report stream, or null to compute without writing. Raises
    // 220 (fewer than 3 records), 430 (a material of neither family 20 nor 30), 210 (a cycle
    // instant that is not a record), 10 (any other failure) and lets the codes of the lookups,
    // the counting, the class and the materials pass.
    WeldThroatDamageResult Run(std::ostream* report);

    // The same check on objects given directly instead of looked up in the study.
    WeldThroatDamageResult Run(const WeldThroatObjects& objects, std::ostream* report);

private:
    void CheckRecordCount() const;
    WeldThroatObjects Lookup() const;
    WeldThroatDamageResult Compute(const WeldThroatObjects& objects, std::ostream* report);

    const MethodLogName& log_;
    const CPelnoFatigue& study_;
    const CPelnoFatigueHistorique& history_;
    const CPelnoFatigueCountingMethod& method_;
    const CPelnoFatiguePlasticityCriteria& criterion_;
};
