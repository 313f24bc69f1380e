#include "model/CPelnoFatigueClasse.h"

#include <cmath>
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

constexpr std::int32_t kBadClass = 20;

}  // namespace

CPelnoFatigueClasse::CPelnoFatigueClasse(const CPelnoFatigueClasse& source)
{
    static const MethodLogName log("CPelnoFatigueClasse::CPelnoFatigueClasse(&SourceObject)");
    Guarded(log, [&] { CopyFrom(source); });
}

CPelnoFatigueClasse& CPelnoFatigueClasse::operator=(const CPelnoFatigueClasse& source)
{
    static const MethodLogName log("CPelnoFatigueClasse::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueClasse& {
        if (this != &source) CopyFrom(source);
        return *this;
    });
}

void CPelnoFatigueClasse::CopyFrom(const CPelnoFatigueClasse& source)
{
    defined_ = source.defined_;
    name_ = source.name_;
    nd_ = source.nd_;
    dSigmaD_ = source.dSigmaD_;
    nc_ = source.nc_;
    dSigmaC_ = source.dSigmaC_;
    m1_ = source.m1_;
    c1_ = source.c1_;
    m2_ = source.m2_;
    c2_ = source.c2_;
}

void CPelnoFatigueClasse::Read(std::istream& input, const std::string& header)
{
    static const MethodLogName log("CPelnoFatigueClasse::Read");
    Guarded(log, [&] {
        const std::string name = HeaderName(header);
        std::int32_t nd = -1;
        std::int32_t nc = -1;
        double dSigmaD = std::numeric_limits<double>::lowest();
        double dSigmaC = std::numeric_limits<double>::lowest();
        double m1 = std::numeric_limits<double>::lowest();
        double c1 = std::numeric_limits<double>::lowest();
        double m2 = std::numeric_limits<double>::lowest();
        double c2 = std::numeric_limits<double>::lowest();
        bool limitsGiven = false;
        bool slopesGiven = false;

        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*PARAMETRE")) {
                CardValues values(card);
                if (IsCard(card, "*PARAMETRES")) {
                    // m1, C1, m2, C2
                    block.Once(slopesGiven);
                    m1 = values.Number(kBadClass, log);
                    c1 = values.Number(kBadClass, log);
                    m2 = values.Number(kBadClass, log);
                    c2 = values.Number(kBadClass, log);
                } else {
                    // ND, DSigmaD, NC, DSigmaC; the cycle numbers truncated toward zero
                    block.Once(limitsGiven);
                    nd = values.Integer(kBadClass, log);
                    dSigmaD = values.Number(kBadClass, log);
                    nc = values.Integer(kBadClass, log);
                    dSigmaC = values.Number(kBadClass, log);
                }
            } else if (IsCard(card, "*FIN_CLASSE")) {
                if (!limitsGiven || !slopesGiven) log.Raise(kBadClass);
                SetDefinition(name, nd, nc, dSigmaC, m1, c1, m2, c2, dSigmaD);
                return;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueClasse::SetDefinition(std::string name, std::int32_t nd, std::int32_t nc,
                                        double dSigmaC, double m1, double c1, double m2, double c2,
                                        double dSigmaD)
{
    static const MethodLogName log("CPelnoFatigueClasse::SetDefinition");
    Guarded(log, [&] {
        // Every comparison is strict; written so that a NaN never passes.
        const bool accepted = name != " " && nd > 10000 && dSigmaD > 5.0 && nc > nd &&
                              dSigmaD > dSigmaC && m1 > 1.0 && c1 > 1e9 && m2 > 1.0 && c2 > 1e9;
        if (!accepted) log.Raise(kBadClass);
        name_ = std::move(name);
        nd_ = nd;
        dSigmaD_ = dSigmaD;
        nc_ = nc;
        dSigmaC_ = dSigmaC;
        m1_ = m1;
        c1_ = c1;
        m2_ = m2;
        c2_ = c2;
        defined_ = true;
    });
}

CPelnoFatigueClasse::Query CPelnoFatigueClasse::GetQuery() const
{
    Query query;
    query.defined_ = defined_;
    query.dSigmaD_ = dSigmaD_;
    query.dSigmaC_ = dSigmaC_;
    query.m1_ = m1_;
    query.c1_ = c1_;
    query.m2_ = m2_;
    query.c2_ = c2_;
    return query;
}

void CPelnoFatigueClasse::Query::Undefined()
{
    static const MethodLogName log("CPelnoFatigueClasse::PermissibleCycles");
    log.Raise(kBadClass);
}

std::int32_t CPelnoFatigueClasse::PermissibleCycles(double dSigma, double dSigmaMax,
                                                    double factor) const
{
    static const MethodLogName log("CPelnoFatigueClasse::PermissibleCycles");
    return Guarded(log, [&]() -> std::int32_t { return GetQuery().PermissibleCycles(dSigma, dSigmaMax, factor); });
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueClasse& fatigueClass)
{
    static const MethodLogName log("CPelnoFatigueClasse std::ofstream operator<<");
    return Guarded(log, [&]() -> std::ostream& {
        // The cycle numbers follow the user's locale (digit grouping) whatever the stream carries.
        const std::locale locale = UserLocale();
        out << '\n';
        out << ToReportText("Nom de la classe de fatigue                            : ")
            << fatigueClass.GetName() << '\n';
        out << ToReportText("Nombre de cycles à la limite d'endurance               : ")
            << LocaleNumberText(fatigueClass.GetND(), locale) << '\n';
        out << ToReportText("Limite d'endurance (MPa)                               : ")
            << fatigueClass.GetDSigmaD() << '\n';
        out << ToReportText("Nombre de cycles à la limite de troncature             : ")
            << LocaleNumberText(fatigueClass.GetNC(), locale) << '\n';
        out << ToReportText("Limite de troncature (MPa)                             : ")
            << fatigueClass.GetDSigmaC() << '\n';
        out << ToReportText("Paramètre m1 de N*(DSigma**m1)=C1 (selon C11.3.12.1.3) : ")
            << fatigueClass.GetM1() << '\n';
        out << ToReportText("Paramètre C1 de N*(DSigma**m1)=C1 (selon C11.3.12.1.3) : ")
            << fatigueClass.GetC1() << '\n';
        out << ToReportText("Paramètre m2 de N*(DSigma**m2)=C2 (selon C11.3.12.1.3) : ")
            << fatigueClass.GetM2() << '\n';
        out << ToReportText("Paramètre C2 de N*(DSigma**m2)=C2 (selon C11.3.12.1.3) : ")
            << fatigueClass.GetC2() << '\n';
        out << '\n';
        return out;
    });
}
