#include "model/CPelnoFatigueUWCourbe.h"

#include <cmath>
#include <cstdio>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "app/Guarded.h"
#include "app/UserLocale.h"
#include "damage/ReportText.h"
#include "deck/BlockReader.h"
#include "deck/CardReader.h"
#include "deck/CardValues.h"
#include "model/LocaleNumberText.h"
#include "model/PermissibleCyclesCount.h"

namespace {

constexpr std::int32_t kBadCurve = 70;

// Rm must exceed 50 MPa; a NaN or an infinite Rm defines no curve either.
bool AcceptableRm(double rm)
{
    return rm > 50.0 && std::isfinite(rm);
}

}  // namespace

CPelnoFatigueUWCourbe::CPelnoFatigueUWCourbe(const CPelnoFatigueUWCourbe& source)
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::CPelnoFatigueUWCourbe(&SourceObject)");
    Guarded(log, [&] { CopyFrom(source); });
}

CPelnoFatigueUWCourbe& CPelnoFatigueUWCourbe::operator=(const CPelnoFatigueUWCourbe& source)
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueUWCourbe& {
        if (this != &source) CopyFrom(source);
        return *this;
    });
}

void CPelnoFatigueUWCourbe::CopyFrom(const CPelnoFatigueUWCourbe& source)
{
    defined_ = source.defined_;
    name_ = source.name_;
    rm_ = source.rm_;
}

void CPelnoFatigueUWCourbe::Read(std::istream& input, const std::string& header)
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::Read");
    Guarded(log, [&] {
        const std::string name = HeaderName(header);
        double rm = std::numeric_limits<double>::lowest();
        bool rmGiven = false;

        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*PARAMETRE")) {
                block.Once(rmGiven);
                CardValues values(card);
                rm = values.Number(kBadCurve, log);
            } else if (IsCard(card, "*FIN_UWCOURBE")) {
                if (!rmGiven) log.Raise(kBadCurve);
                SetDefinition(name, rm);
                return;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueUWCourbe::SetDefinition(std::string name, double rm)
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::SetDefinition(Name,Rm)");
    Guarded(log, [&] {
        if (name == " " || !AcceptableRm(rm)) log.Raise(kBadCurve);
        name_ = std::move(name);
        rm_ = rm;
        defined_ = true;
    });
}

void CPelnoFatigueUWCourbe::SetDefinition(double rm)
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::SetDefinition(Rm)");
    Guarded(log, [&] {
        if (!AcceptableRm(rm)) log.Raise(kBadCurve);
        // The integer part of Rm in plain decimal digits, without grouping (Rm is finite, so
        // no conversion to an integer type is needed).
        char digits[400];
        std::snprintf(digits, sizeof digits, "%.0f", std::trunc(rm));
        SetDefinition(std::string(digits), rm);
    });
}

double CPelnoFatigueUWCourbe::EnduranceLimit(double rm)
{
    return 0.63 * rm + 46000.0 / std::pow(2000000.0, 0.5) - 11.5;
}

double CPelnoFatigueUWCourbe::GetDSigmaD() const
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::GetDSigmaD");
    return Guarded(log, [&]() -> double {
        if (!defined_) log.Raise(kBadCurve);
        return EnduranceLimit(rm_);
    });
}

double CPelnoFatigueUWCourbe::GetDSigmaC() const
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::GetDSigmaC");
    return Guarded(log, [&]() -> double {
        if (!defined_) log.Raise(kBadCurve);
        return GetDSigmaD() * std::pow(0.02, 0.1);
    });
}

void CPelnoFatigueUWCourbe::GetDefinition(std::string& name, std::int32_t& nd, double& dSigmaD,
                                          std::int32_t& nc, double& dSigmaC, double& rm) const
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::GetDefinition");
    Guarded(log, [&] {
        if (!defined_) log.Raise(kBadCurve);
        name = name_;
        nd = kEnduranceCycles;
        dSigmaD = GetDSigmaD();
        nc = kCutOffCycles;
        dSigmaC = GetDSigmaC();
        rm = rm_;
    });
}

CPelnoFatigueUWCourbe::Query CPelnoFatigueUWCourbe::GetQuery() const
{
    Query query;
    query.defined_ = defined_;
    if (defined_) {
        // The same values as GetDSigmaD and GetDSigmaC, and the same terms of Rm as the slopes.
        query.dSigmaD_ = EnduranceLimit(rm_);
        query.dSigmaC_ = query.dSigmaD_ * std::pow(0.02, 0.1);
        query.firstSlopeRm_ = 0.63 * rm_;
        query.secondSlopeRm_ = query.firstSlopeRm_ + 21.0269;
    }
    return query;
}

namespace {

#if defined(__x86_64__) && defined(__GNUC__)
#define PELNO_DAMAGES_AVX2 1
#endif

}  // namespace

void CPelnoFatigueUWCourbe::Query::CycleDamages(const double* ranges, std::size_t count, double dSigmaMax,
                                                double factor, double* inverses) const
{
    std::size_t k = 0;
    // Several ranges at a time, with the same operations as PermissibleCycles, each rounding
    // alike one or several at a time: the first slope for all, taken where x reaches the
    // endurance limit; elsewhere the unlimited life, or the second slope one range at a time.
    // A count of the first slope outside 1 .. 2147483647 (never met in practice) sends the
    // group through PermissibleCycles.
#if defined(PELNO_DAMAGES_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (defined_ && avx2) {
        k = FourDamages(ranges, count, dSigmaMax, factor, inverses);
    }
#endif
#if defined(__SSE2__)
    if (defined_) {
        const __m128d pairFactor = _mm_set1_pd(factor);
        const __m128d pairLimit = _mm_set1_pd(dSigmaD_);
        const __m128d pairCutOff = _mm_set1_pd(dSigmaC_);
        const __m128d pairRm = _mm_set1_pd(firstSlopeRm_);
        const __m128d pair11 = _mm_set1_pd(11.5);
        const __m128d pair46000 = _mm_set1_pd(46000.0);
        const __m128d pairOne = _mm_set1_pd(1.0);
        const __m128d pairMost = _mm_set1_pd(2147483647.0);
        const __m128d pairUnlimited = _mm_set1_pd(1.0 / static_cast<double>(kUnlimitedLife));
        const bool secondSlope = dSigmaMax / factor >= dSigmaD_;
        for (; k + 2 <= count; k += 2) {
            const __m128d x = _mm_div_pd(_mm_loadu_pd(ranges + k), pairFactor);
            const __m128d first = _mm_cmpge_pd(x, pairLimit);
            const __m128d root = _mm_div_pd(pair46000, _mm_add_pd(_mm_sub_pd(x, pairRm), pair11));
            const __m128d quotient = _mm_mul_pd(root, root);
            const __m128d counted = _mm_and_pd(_mm_cmpge_pd(quotient, pairOne), _mm_cmple_pd(quotient, pairMost));
            if (_mm_movemask_pd(_mm_andnot_pd(counted, first)) != 0) {
                inverses[k] = 1.0 / static_cast<double>(PermissibleCycles(ranges[k], dSigmaMax, factor));
                inverses[k + 1] = 1.0 / static_cast<double>(PermissibleCycles(ranges[k + 1], dSigmaMax, factor));
                continue;
            }
            const __m128d firstDamage = _mm_div_pd(pairOne, _mm_cvtepi32_pd(_mm_cvttpd_epi32(quotient)));
            __m128d otherDamage = pairUnlimited;
            if (secondSlope) {
                const int second = _mm_movemask_pd(_mm_andnot_pd(first, _mm_cmplt_pd(pairCutOff, x)));
                if (second != 0) {
                    double lanes[2];
                    double damage[2];
                    _mm_storeu_pd(lanes, x);
                    _mm_storeu_pd(damage, otherDamage);
                    for (int lane = 0; lane < 2; ++lane) {
                        if ((second >> lane) & 1) {
                            damage[lane] = 1.0 / static_cast<double>(SecondSlopeCount(secondSlopeRm_ / lanes[lane]));
                        }
                    }
                    otherDamage = _mm_loadu_pd(damage);
                }
            }
            _mm_storeu_pd(inverses + k, _mm_or_pd(_mm_and_pd(first, firstDamage), _mm_andnot_pd(first, otherDamage)));
        }
    }
#endif
    for (; k < count; ++k) {
        inverses[k] = 1.0 / static_cast<double>(PermissibleCycles(ranges[k], dSigmaMax, factor));
    }
}

#if defined(PELNO_DAMAGES_AVX2)
__attribute__((target("avx2"))) std::size_t CPelnoFatigueUWCourbe::Query::FourDamages(const double* ranges,
                                                                                     std::size_t count,
                                                                                     double dSigmaMax, double factor,
                                                                                     double* inverses) const
{
    const __m256d quadFactor = _mm256_set1_pd(factor);
    const __m256d quadLimit = _mm256_set1_pd(dSigmaD_);
    const __m256d quadCutOff = _mm256_set1_pd(dSigmaC_);
    const __m256d quadRm = _mm256_set1_pd(firstSlopeRm_);
    const __m256d quad11 = _mm256_set1_pd(11.5);
    const __m256d quad46000 = _mm256_set1_pd(46000.0);
    const __m256d quadOne = _mm256_set1_pd(1.0);
    const __m256d quadMost = _mm256_set1_pd(2147483647.0);
    const __m256d quadUnlimited = _mm256_set1_pd(1.0 / static_cast<double>(kUnlimitedLife));
    const bool secondSlope = dSigmaMax / factor >= dSigmaD_;
    std::size_t k = 0;
    for (; k + 4 <= count; k += 4) {
        const __m256d x = _mm256_div_pd(_mm256_loadu_pd(ranges + k), quadFactor);
        const __m256d first = _mm256_cmp_pd(x, quadLimit, _CMP_GE_OQ);
        const __m256d root = _mm256_div_pd(quad46000, _mm256_add_pd(_mm256_sub_pd(x, quadRm), quad11));
        const __m256d quotient = _mm256_mul_pd(root, root);
        const __m256d counted =
            _mm256_and_pd(_mm256_cmp_pd(quotient, quadOne, _CMP_GE_OQ), _mm256_cmp_pd(quotient, quadMost, _CMP_LE_OQ));
        if (_mm256_movemask_pd(_mm256_andnot_pd(counted, first)) != 0) {
            for (std::size_t j = k; j < k + 4; ++j) {
                inverses[j] = 1.0 / static_cast<double>(PermissibleCycles(ranges[j], dSigmaMax, factor));
            }
            continue;
        }
        const __m256d firstDamage = _mm256_div_pd(quadOne, _mm256_cvtepi32_pd(_mm256_cvttpd_epi32(quotient)));
        __m256d otherDamage = quadUnlimited;
        if (secondSlope) {
            const int second = _mm256_movemask_pd(_mm256_andnot_pd(first, _mm256_cmp_pd(quadCutOff, x, _CMP_LT_OQ)));
            if (second != 0) {
                double lanes[4];
                double damage[4];
                _mm256_storeu_pd(lanes, x);
                _mm256_storeu_pd(damage, otherDamage);
                for (int lane = 0; lane < 4; ++lane) {
                    if ((second >> lane) & 1) {
                        damage[lane] = 1.0 / static_cast<double>(SecondSlopeCount(secondSlopeRm_ / lanes[lane]));
                    }
                }
                otherDamage = _mm256_loadu_pd(damage);
            }
        }
        _mm256_storeu_pd(inverses + k,
                         _mm256_or_pd(_mm256_and_pd(first, firstDamage), _mm256_andnot_pd(first, otherDamage)));
    }
    return k;
}
#endif

void CPelnoFatigueUWCourbe::Query::Undefined()
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::PermissibleCycles");
    log.Raise(kBadCurve);
}

std::int32_t CPelnoFatigueUWCourbe::PermissibleCycles(double dSigma, double dSigmaMax,
                                                      double factor) const
{
    static const MethodLogName log("CPelnoFatigueUWCourbe::PermissibleCycles");
    return Guarded(log, [&]() -> std::int32_t { return GetQuery().PermissibleCycles(dSigma, dSigmaMax, factor); });
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueUWCourbe& curve)
{
    static const MethodLogName log("CPelnoFatigueUWCourbe std::ofstream operator<<");
    return Guarded(log, [&]() -> std::ostream& {
        // The two cycle numbers are written as floating values in the default format of the
        // user's locale (2e+06 and 1e+08).
        const std::locale locale = UserLocale();
        out << '\n';
        out << ToReportText("Nom de la courbe de fatigue pour zone sans soudure : ")
            << curve.GetName() << '\n';
        out << ToReportText("Résistance à la traction (MPa)                     : ")
            << curve.GetRm() << '\n';
        out << ToReportText("Nombre de cycles à la limite d'endurance           : ")
            << LocaleNumberText(static_cast<double>(CPelnoFatigueUWCourbe::kEnduranceCycles), locale)
            << '\n';
        out << ToReportText("Limite d'endurance (MPa)                           : ")
            << curve.GetDSigmaD() << '\n';
        out << ToReportText("Nombre de cycles à la limite de troncature         : ")
            << LocaleNumberText(static_cast<double>(CPelnoFatigueUWCourbe::kCutOffCycles), locale)
            << '\n';
        out << ToReportText("Limite de troncature (MPa)                         : ")
            << curve.GetDSigmaC() << '\n';
        out << '\n';
        return out;
    });
}
