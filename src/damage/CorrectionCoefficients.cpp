#include "damage/CorrectionCoefficients.h"

#include <algorithm>
#include <cmath>

#include "app/Guarded.h"

namespace {

constexpr std::int32_t kCycleCap = 2000000;

// Slope a of Ke (C11.3.11.1.2).
double KeSlope(const MethodLogName& log, std::int32_t materialType, double Rm)
{
    if (materialType != 20) {
        return 0.4;
    }
    if (Rm <= 500.0) {
        return 0.4;
    }
    if (Rm <= 800.0) {
        return 0.4 + (Rm - 500.0) / 3000.0;
    }
    if (Rm <= 1000.0) {
        return 0.5;
    }
    log.Raise(420);
}

double Ke(const MethodLogName& log, std::int32_t materialType, double Rm, double Rpt, double DSigmaRlm)
{
    const double a = KeSlope(log, materialType, Rm);
    return std::max(1.0, 1.0 + a * (DSigmaRlm / (2.0 * Rpt) - 1.0));
}

double Kv(double nu, double Rpt, double DSigmaRlt)
{
    return std::max(1.0, (1.0 - nu) / (0.5 + 2.0 * (0.5 - nu) * Rpt / DSigmaRlt));
}

// The flat value above 2 000 000 cycles, the value raised to 0.1·ln N − 0.465 below.
double EnduranceLaw(double factor, std::int32_t n)
{
    if (n >= kCycleCap) {
        return factor;
    }
    return std::pow(factor, 0.1 * std::log(static_cast<double>(n)) - 0.465);
}

// Cm above 2 000 000 cycles: the four reference laws in the reduced mean stress, interpolated
// linearly in Rm.
double MeanStressEndurance(double Rm, double smr)
{
    const double c400 = smr < 100.0 ? 1.0 / (0.9979 + 0.00029 * smr) : 0.9875 - 1.25e-4 * smr;
    const double c600 = smr < 150.0 ? std::sqrt(0.9989 - 0.00127 * smr) : 0.93 - 2e-4 * smr;
    const double c800 = smr < 200.0 ? std::sqrt(1.0104 - 0.00147 * smr) : 0.9167 - 3.333e-4 * smr;
    const double c1000 = smr < 220.0 ? std::sqrt(0.9931 - 0.00159 * smr) : 0.8688 - 3.125e-4 * smr;
    if (Rm >= 1000.0) {
        return c1000;
    }
    if (Rm >= 800.0) {
        return c800 + (c1000 - c800) * (Rm - 800.0) / 200.0;
    }
    if (Rm >= 600.0) {
        return c600 + (c800 - c600) * (Rm - 600.0) / 200.0;
    }
    if (Rm >= 400.0) {
        return c400 + (c600 - c400) * (Rm - 400.0) / 200.0;
    }
    return c400;
}

} // namespace

PlasticityFactors CorrectionCoefficients::PlasticityCorrection(const MethodLogName& log, ZoneKind zone,
                                                               std::int32_t materialType, double Rm,
                                                               double nu, double Rpt, CycleQuantities& cycle)
{
    return Guarded(log, [&] {
        PlasticityFactors factors;
        const bool welded = zone == ZoneKind::Welded;
        const double tested = welded ? cycle.DSigmaR : cycle.DSigmaRl;
        if (!(tested > 2.0 * Rpt)) {
            return factors;
        }
        const bool mechanical = cycle.DSigmaRlm > 0.01;
        const bool thermal = cycle.DSigmaRlt > 0.01;
        if (!mechanical && !thermal) {
            log.Raise(440);
        }
        if (mechanical) {
            factors.Ke = Ke(log, materialType, Rm, Rpt, cycle.DSigmaRlm);
        }
        if (thermal) {
            factors.Kv = Kv(nu, Rpt, cycle.DSigmaRlt);
        }

        if (mechanical && thermal) {
            if (welded) {
                const double a = std::min(cycle.DSigmaRlm, cycle.DSigmaR);
                const double b = cycle.DSigmaR - a;
                cycle.DSigmaR = factors.Ke * a + factors.Kv * b;
            } else {
                const double a = std::min(cycle.DSigmaRlm, cycle.DSigmaRl);
                const double b = cycle.DSigmaRl - a;
                const double corrected = factors.Ke * a + factors.Kv * b;
                cycle.DSigmaR = cycle.DSigmaR * corrected / cycle.DSigmaRl;
                cycle.Sigmo = cycle.Sigmo * corrected / cycle.DSigmaRl;
                cycle.DSigmaRl = corrected;
            }
            cycle.DSigmaRlm = factors.Ke * cycle.DSigmaRlm;
            cycle.DSigmaRlt = factors.Kv * cycle.DSigmaRlt;
            return factors;
        }

        const double k = mechanical ? factors.Ke : factors.Kv;
        if (mechanical) {
            cycle.DSigmaRlm = cycle.DSigmaRlm * k;
        } else {
            cycle.DSigmaRlt = cycle.DSigmaRlt * k;
        }
        cycle.DSigmaR = cycle.DSigmaR * k;
        if (!welded) {
            cycle.DSigmaRl = cycle.DSigmaRl * k;
            cycle.Sigmo = cycle.Sigmo * k;
        }
        return factors;
    });
}

NotchFactors CorrectionCoefficients::EffectiveNotchFactor(bool geometricStresses, double zoneKt,
                                                          double DSigmaD, const CycleQuantities& cycle) noexcept
{
    NotchFactors factors;
    bool notched = false;
    if (geometricStresses) {
        factors.Kt = std::max(zoneKt, 1.0);
        notched = factors.Kt * cycle.DSigmaRl > DSigmaD;
    } else {
        // Total stresses: Kt is the ratio of the total to the linearised range, 1 when the
        // linearised range is nil.
        factors.Kt = cycle.DSigmaRl <= 0.01 ? 1.0 : std::max(cycle.DSigmaR / cycle.DSigmaRl, 1.0);
        notched = cycle.DSigmaR > DSigmaD;
    }
    if (notched) {
        factors.Kf = 1.0 + 1.5 * (factors.Kt - 1.0) / (1.0 + 0.5 * std::max(1.0, factors.Kt * cycle.DSigmaRl / DSigmaD));
    } else {
        factors.Kf = factors.Kt;
    }
    factors.DSigmaF = (factors.Kf / factors.Kt) * cycle.DSigmaR;
    return factors;
}

double CorrectionCoefficients::TemperatureCoefficient(std::int32_t materialType, double Temp) noexcept
{
    if (!(Temp > 100.0)) {
        return 1.0;
    }
    if (materialType == 20) {
        return 1.03 - 1.5e-4 * Temp - 1.5e-6 * (Temp * Temp);
    }
    return 1.043 - 4.3e-4 * Temp;
}

double CorrectionCoefficients::SurfaceCoefficient(const MethodLogName& log, double Rz, double Rm,
                                                  std::int32_t N0, double DSigmaF, double Dfinal,
                                                  PermissibleCyclesRef curve)
{
    return Guarded(log, [&] {
        if (Rz < 6.0) {
            return 1.0;
        }
        const double fs = 1.0 - 0.056 * std::pow(std::log(Rz), 0.64) * std::log(Rm) + 0.289 * std::pow(std::log(Rz), 0.53);
        return SolveCoefficient(log, [fs](std::int32_t n) { return EnduranceLaw(fs, n); }, N0, DSigmaF, Dfinal, curve);
    });
}

double CorrectionCoefficients::ThicknessCoefficient(const MethodLogName& log, double e, std::int32_t N0,
                                                    double DSigmaF, double Dfinal, PermissibleCyclesRef curve)
{
    return Guarded(log, [&] {
        double fe = 1.0;
        if (e > 150.0) {
            fe = std::pow(1.0 / 6.0, 0.182);
        } else if (e >= 25.0) {
            fe = std::pow(25.0 / e, 0.182);
        }
        return SolveCoefficient(log, [fe](std::int32_t n) { return EnduranceLaw(fe, n); }, N0, DSigmaF, Dfinal, curve);
    });
}

double CorrectionCoefficients::ThicknessCoefficient(double e) noexcept
{
    double ce = 1.0;
    if (e > 150.0) {
        ce = std::pow(1.0 / 6.0, 0.25);
    } else if (e > 25.0) {
        ce = std::pow(25.0 / e, 0.25);
    }
    return std::min(ce, 1.0);
}

double CorrectionCoefficients::MeanStressCoefficient(const MethodLogName& log, double Rm, double Rpt,
                                                     const CycleQuantities& cycle, double DSigmaF,
                                                     std::int32_t N0, double Dfinal, PermissibleCyclesRef curve)
{
    return Guarded(log, [&] {
        if (cycle.DSigmaRl > 2.0 * Rpt) {
            return 1.0;
        }
        const double m = 0.00035 * Rm - 0.1;
        double smr = cycle.Sigmo;
        if (std::fabs(cycle.SigmaEqM) > Rpt) {
            smr = cycle.Sigmo > 0.0 ? Rpt - DSigmaF / 2.0 : DSigmaF / 2.0 - Rpt;
        }
        const auto law = [&](std::int32_t n) -> double {
            if (n >= kCycleCap) {
                return MeanStressEndurance(Rm, smr);
            }
            const double threshold = DSigmaF / (2.0 * (1.0 + m));
            if (-Rpt <= smr && smr <= threshold) {
                return std::sqrt(1.0 - (m * (m + 2.0) / (m + 1.0)) * (2.0 * smr / DSigmaF));
            }
            if (threshold < smr && smr <= Rpt) {
                return (1.0 + m / 3.0) / (1.0 + m) - (m / 3.0) * (2.0 * smr / DSigmaF);
            }
            log.Raise(210);
        };
        return SolveCoefficient(log, law, N0, DSigmaF, Dfinal, curve);
    });
}

double CorrectionCoefficients::SolveCoefficient(const MethodLogName& log, CoefficientLaw law, std::int32_t N0,
                                                double DSigmaF, double Dfinal, PermissibleCyclesRef curve)
{
    return Guarded(log, [&] {
        double current = 1.0;
        double previous = 0.7142857142857143;
        std::int32_t n = std::min(N0, kCycleCap);
        std::int32_t count = 0;
        while (std::fabs(current - previous) > 0.0001) {
            previous = current;
            current = law(n);
            const std::int32_t next = std::min(curve(DSigmaF, Dfinal, current), kCycleCap);
            n = static_cast<std::int32_t>((3 * static_cast<std::int64_t>(n) + next) / 4);
            ++count;
            if (count > 2000) {
                log.Raise(470);
            }
        }
        return current;
    });
}
