#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "model/PermissibleCyclesCount.h"

// One fatigue class (S-N curve) of welded zones, the two-slope law of C11.3.12.1.3:
// N x DSigma^m1 = C1 from the endurance limit up, N x DSigma^m2 = C2 between the cut-off
// limit and the endurance limit, unlimited life below the cut-off limit. Read from a "*CLASSE"
// block and kept by name in the context library.
class CPelnoFatigueClasse {
public:
    // Permissible cycles that stand for an unlimited life.
    static constexpr std::int32_t kUnlimitedLife = 1000000000;

    CPelnoFatigueClasse() = default;
    CPelnoFatigueClasse(const CPelnoFatigueClasse& source);
    CPelnoFatigueClasse& operator=(const CPelnoFatigueClasse& source);

    // Reads the block that follows a "*CLASSE" card up to "*FIN_CLASSE" and defines the class.
    void Read(std::istream& input, const std::string& header);

    // Validates and stores the class (code 20 on any bad value). Note the order of the values.
    void SetDefinition(std::string name, std::int32_t nd, std::int32_t nc, double dSigmaC, double m1,
                       double c1, double m2, double c2, double dSigmaD);

    // Permissible cycles for the range DSigma corrected by Factor; the second slope applies only
    // when DSigmaMax (not corrected) reaches the endurance limit. Saturates to 1..2147483647.
    std::int32_t PermissibleCycles(double dSigma, double dSigmaMax, double factor) const;

    // The S-N query of the class taken once for many queries (a search asks it many times);
    // PermissibleCycles answers through it. Its query raises 20 when the class was not defined.
    class Query {
    public:
        std::int32_t PermissibleCycles(double dSigma, double dSigmaMax, double factor) const
        {
            if (!defined_) Undefined();
            const double x = dSigma / factor;
            if (x >= dSigmaD_) return PermissibleCyclesCount(c1_ / std::pow(x, m1_));
            // Second slope only when the largest range, as given, reaches the endurance limit.
            if (dSigmaC_ < x && dSigmaMax >= dSigmaD_) {
                return PermissibleCyclesCount(c2_ / std::pow(x, m2_));
            }
            return kUnlimitedLife;
        }

        // 1 / PermissibleCycles of each of count ranges.
        void CycleDamages(const double* ranges, std::size_t count, double dSigmaMax, double factor,
                          double* inverses) const
        {
            for (std::size_t k = 0; k < count; ++k) {
                inverses[k] = 1.0 / static_cast<double>(PermissibleCycles(ranges[k], dSigmaMax, factor));
            }
        }

    private:
        friend class CPelnoFatigueClasse;
        [[noreturn]] static void Undefined();  // code 20
        bool defined_ = false;
        double dSigmaD_ = 0.0;
        double dSigmaC_ = 0.0;
        double m1_ = 0.0;
        double c1_ = 0.0;
        double m2_ = 0.0;
        double c2_ = 0.0;
    };
    Query GetQuery() const;

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    std::int32_t GetND() const { return nd_; }
    double GetDSigmaD() const { return dSigmaD_; }
    std::int32_t GetNC() const { return nc_; }
    double GetDSigmaC() const { return dSigmaC_; }
    double GetM1() const { return m1_; }
    double GetC1() const { return c1_; }
    double GetM2() const { return m2_; }
    double GetC2() const { return c2_; }

private:
    void CopyFrom(const CPelnoFatigueClasse& source);

    bool defined_ = false;
    std::string name_ = " ";
    std::int32_t nd_ = -1;
    double dSigmaD_ = -1.7976931348623157e308;
    std::int32_t nc_ = -1;
    double dSigmaC_ = -1.7976931348623157e308;
    double m1_ = -1.7976931348623157e308;
    double c1_ = -1.7976931348623157e308;
    double m2_ = -1.7976931348623157e308;
    double c2_ = -1.7976931348623157e308;
};

// Report printout of the fatigue class.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueClasse& fatigueClass);
