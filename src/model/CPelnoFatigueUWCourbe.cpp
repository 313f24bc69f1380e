#include "model/CPelnoFatigueUWCourbe.h"

#include <cmath>
#include <cstdio>
#include <limits>

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
