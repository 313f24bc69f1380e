#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "model/PermissibleCyclesCount.h"

// The fatigue curve of unwelded zones, defined by the tensile strength Rm alone: endurance
// limit at 2000000 cycles, cut-off limit at 100000000 cycles, both derived from Rm. Read from a
// "*UWCOURBE" block or built for an unwelded zone from its material's Rm, and kept by name in
// the context library.
class CPelnoFatigueUWCourbe {
public:
    static constexpr std::int32_t kEnduranceCycles = 2000000;
    static constexpr std::int32_t kCutOffCycles = 100000000;
    // Permissible cycles that stand for an unlimited life.
    static constexpr std::int32_t kUnlimitedLife = 1000000000;

    CPelnoFatigueUWCourbe() = default;
    CPelnoFatigueUWCourbe(const CPelnoFatigueUWCourbe& source);
    CPelnoFatigueUWCourbe& operator=(const CPelnoFatigueUWCourbe& source);

    // Reads the block that follows a "*UWCOURBE" card up to "*FIN_UWCOURBE" and defines the curve.
    void Read(std::istream& input, const std::string& header);

    // Named curve (code 70 for a blank name or Rm <= 50).
    void SetDefinition(std::string name, double rm);
    // Curve of an unwelded zone: named after the integer part of Rm (code 70 for Rm <= 50).
    void SetDefinition(double rm);

    // Endurance and cut-off limits (MPa); code 70 on an undefined curve.
    double GetDSigmaD() const;
    double GetDSigmaC() const;
    // The whole definition; code 70 on an undefined curve.
    void GetDefinition(std::string& name, std::int32_t& nd, double& dSigmaD, std::int32_t& nc,
                       double& dSigmaC, double& rm) const;

    // Permissible cycles for the range DSigma corrected by Factor; the second slope applies only
    // when DSigmaMax / Factor reaches the endurance limit. Saturates to 1..2147483647.
    std::int32_t PermissibleCycles(double dSigma, double dSigmaMax, double factor) const;

    // The S-N query with what does not change from one query to the next (the two limits and
    // the terms of Rm) computed once: a search asks it many times. PermissibleCycles answers
    // through it. Its query raises 70 when the curve was not defined.
    class Query {
    public:
        std::int32_t PermissibleCycles(double dSigma, double dSigmaMax, double factor) const
        {
            if (!defined_) Undefined();
            const double x = dSigma / factor;
            if (x >= dSigmaD_) {
                const double root = 46000.0 / (x - firstSlopeRm_ + 11.5);
                return PermissibleCyclesCount(root * root);
            }
            // Second slope only when the largest range, corrected like x, reaches the endurance
            // limit.
            if (dSigmaC_ < x && dSigmaMax / factor >= dSigmaD_) {
                return SecondSlopeCount(secondSlopeRm_ / x);
            }
            return kUnlimitedLife;
        }

        // 1 / PermissibleCycles of each of count ranges.
        void CycleDamages(const double* ranges, std::size_t count, double dSigmaMax, double factor,
                          double* inverses) const;

    private:
        friend class CPelnoFatigueUWCourbe;
        [[noreturn]] static void Undefined();  // code 70
        // CycleDamages four ranges at a time, on the processors that offer it: returns how many
        // were done.
        std::size_t FourDamages(const double* ranges, std::size_t count, double dSigmaMax, double factor,
                                double* inverses) const;

        // PermissibleCyclesCount(2000000 * pow(y, 10)). The tenth power by four products is
        // within 1e-15 of pow's, relatively: when 2000000 times it lies farther than 1e-12 of
        // itself from any whole number, the count truncated is the same as pow's and is taken;
        // otherwise (for some hundred thousandth of the queries) pow is called.
        static std::int32_t SecondSlopeCount(double y)
        {
            const double square = y * y;
            const double fourth = square * square;
            const double quotient = 2000000.0 * ((fourth * fourth) * square);
            if (quotient > 1.0 && quotient < 2147483647.0) {
                const double whole = std::trunc(quotient);
                const double margin = quotient * 1e-12;
                if (quotient - whole > margin && (whole + 1.0) - quotient > margin) {
                    return static_cast<std::int32_t>(whole);
                }
            }
            return PermissibleCyclesCount(2000000.0 * std::pow(y, 10.0));
        }
        bool defined_ = false;
        double dSigmaD_ = 0.0;
        double dSigmaC_ = 0.0;
        double firstSlopeRm_ = 0.0;   // 0.63 Rm
        double secondSlopeRm_ = 0.0;  // 0.63 Rm + 21.0269
    };
    Query GetQuery() const;

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    double GetRm() const { return rm_; }

private:
    static double EnduranceLimit(double rm);
    void CopyFrom(const CPelnoFatigueUWCourbe& source);

    bool defined_ = false;
    std::string name_ = " ";
    double rm_ = -1.7976931348623157e308;
};

// Report printout of the curve.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueUWCourbe& curve);
