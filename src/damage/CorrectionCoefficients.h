#pragma once

#include <cstddef>
#include <cstdint>

#include "app/MethodLogName.h"
#include "damage/CycleQuantities.h"
#include "damage/FunctionRef.h"

// The S-N query of a fatigue curve or class: permissible cycles for (range, largest range,
// global coefficient). Pass a lambda over the curve straight as the argument.
using PermissibleCyclesRef = FunctionRef<std::int32_t(double, double, double)>;

// The same query for many ranges at once, as the damage of each: inverses[k] = 1 / N of
// (ranges[k], largest range, global coefficient), for k below count.
using CycleDamagesRef = FunctionRef<void(const double* ranges, std::size_t count, double largest, double factor,
                                         double* inverses)>;

// The law of a coefficient as a function of the current estimate of N.
using CoefficientLaw = FunctionRef<double(std::int32_t)>;

enum class ZoneKind { Unwelded, Welded };

struct PlasticityFactors {
    double Ke = 1.0;
    double Kv = 1.0;
};

struct NotchFactors {
    double Kt = 1.0;
    double Kf = 1.0;
    double DSigmaF = 0.0;
};

// The correction coefficients of a counted cycle (C11.3.11, C11.3.12): stateless operations.
// Errors carry the log name of the calling procedure. The material type is 20 for
// non-austenitic steel (for a weld: 20 when either material is of type 20). N0 is the curve's
// answer for (DSigmaR, Dfinal, 1.0), asked once per cycle by the caller; Dfinal is the largest
// corrected range of the final pass.
class CorrectionCoefficients {
public:
    // Plasticity correction (C11.3.11.1.2) when the cycle's DSigmaRl (welded: DSigmaR) exceeds
    // 2·Rpt: scales the cycle's ranges (unwelded: DSigmaR, DSigmaRlm, DSigmaRlt, DSigmaRl and
    // Sigmo; welded: DSigmaR, DSigmaRlm, DSigmaRlt) in place and returns Ke and Kv; otherwise
    // leaves the cycle alone and returns 1 and 1. Rpt is the yield strength at the cycle
    // temperature, nu the Poisson coefficient. Raises 420 (Ke slope of a type-20 material
    // with Rm > 1000) and 440 (neither a mechanical nor a thermal part above 0.01).
    static PlasticityFactors PlasticityCorrection(const MethodLogName& log, ZoneKind zone,
                                                  std::int32_t materialType, double Rm, double nu,
                                                  double Rpt, CycleQuantities& cycle);

    // Kt, Kf and DSigmaF of an unwelded cycle (C11.3.11.2). geometricStresses is the applied-Kt
    // flag of the zone (zone defined and its Kt > 1.0001), zoneKt its Kt, DSigmaD the curve's.
    static NotchFactors EffectiveNotchFactor(bool geometricStresses, double zoneKt, double DSigmaD,
                                             const CycleQuantities& cycle) noexcept;

    // CtR at the mean cycle temperature.
    static double TemperatureCoefficient(std::int32_t materialType, double Temp) noexcept;

    // Cs of an unwelded cycle from the roughness Rz and Rm, solved by SolveCoefficient
    // (1 without any query when Rz < 6).
    static double SurfaceCoefficient(const MethodLogName& log, double Rz, double Rm, std::int32_t N0,
                                     double DSigmaF, double Dfinal, PermissibleCyclesRef curve);

    // Ce of an unwelded cycle from the thickness e, solved by SolveCoefficient.
    static double ThicknessCoefficient(const MethodLogName& log, double e, std::int32_t N0,
                                       double DSigmaF, double Dfinal, PermissibleCyclesRef curve);

    // Ce of a welded zone from the larger thickness e (C11.3.12.4): closed form, no query.
    static double ThicknessCoefficient(double e) noexcept;

    // Cm of an unwelded cycle (after its plasticity correction) from Rm and Rpt, solved by
    // SolveCoefficient (1 without any query when DSigmaRl > 2·Rpt). Raises 210 when the law
    // below 2 000 000 cycles meets a reduced mean stress outside [-Rpt, Rpt].
    static double MeanStressCoefficient(const MethodLogName& log, double Rm, double Rpt,
                                        const CycleQuantities& cycle, double DSigmaF, std::int32_t N0,
                                        double Dfinal, PermissibleCyclesRef curve);

    // The fixed-point loop of one coefficient: from min(N0, 2 000 000), alternately the law at
    // the current N and N = curve(DSigmaF, Dfinal, coefficient) capped at 2 000 000, averaged
    // as (3·N + Nnew)/4, until two successive values are within 0.0001. Raises 470 past 2000
    // iterations.
    static double SolveCoefficient(const MethodLogName& log, CoefficientLaw law, std::int32_t N0,
                                   double DSigmaF, double Dfinal, PermissibleCyclesRef curve);
};
