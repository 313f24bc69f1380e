#include "model/CPelnoFatigueMateriau.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/Guarded.h"
#include "app/UserLocale.h"
#include "damage/ReportText.h"
#include "deck/BlockReader.h"
#include "deck/CardReader.h"
#include "deck/CardValues.h"
#include "model/LocaleNumberText.h"

namespace {

constexpr std::int32_t kBadMaterial = 390;
constexpr std::int32_t kTemperatureOutside = 480;
// Temperatures closer than this are the same temperature (°C).
constexpr double kTemperatureTolerance = 0.1;

// Inclusive range test; a NaN is never inside.
bool Inside(double value, double low, double high)
{
    return value >= low && value <= high;
}

}  // namespace

CPelnoFatigueMateriau::CPelnoFatigueMateriau(const CPelnoFatigueMateriau& source)
{
    static const MethodLogName log("CPelnoMateriau::CPelnoMateriau(&SourceObject)");
    Guarded(log, [&] { CopyFrom(source); });
}

CPelnoFatigueMateriau& CPelnoFatigueMateriau::operator=(const CPelnoFatigueMateriau& source)
{
    static const MethodLogName log("CPelnoFatigueMateriau::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueMateriau& {
        if (this != &source) CopyFrom(source);
        return *this;
    });
}

void CPelnoFatigueMateriau::CopyFrom(const CPelnoFatigueMateriau& source)
{
    defined_ = source.defined_;
    name_ = source.name_;
    type_ = source.type_;
    comment_ = source.comment_;
    re20_ = source.re20_;
    rptTable_ = source.rptTable_;
    rm_ = source.rm_;
    e_ = source.e_;
    nu_ = source.nu_;
}

void CPelnoFatigueMateriau::Read(std::istream& input, const std::string& header)
{
    static const MethodLogName log("CPelnoFatigueMateriau::Read");
    Guarded(log, [&] {
        const std::string name = HeaderName(header);
        std::string comment = " ";
        std::int32_t type = kUnknownType;
        double re20 = std::numeric_limits<double>::lowest();
        double rm = std::numeric_limits<double>::lowest();
        double e = std::numeric_limits<double>::lowest();
        double nu = std::numeric_limits<double>::lowest();
        RptTable rptTable;
        bool commentGiven = false;
        bool typeGiven = false;
        bool parametersGiven = false;

        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*COMMENTAIRE")) {
                block.Once(commentGiven);
                comment = CardText(card);
            } else if (IsCard(card, "*TYPE")) {
                block.Once(typeGiven);
                // The first letter of the word after the keyword: A austenitic, F ferritic.
                CardValues values(card);
                std::string word;
                if (!values.NextWord(word)) log.Raise(kBadMaterial);
                if (word[0] == 'A') {
                    type = kAusteniticType;
                } else if (word[0] == 'F') {
                    type = kFerriticType;
                } else {
                    log.Raise(kBadMaterial);
                }
            } else if (IsCard(card, "*PARAMETRE")) {
                block.Once(parametersGiven);
                CardValues values(card);
                re20 = values.Number(kBadMaterial, log);
                rm = values.Number(kBadMaterial, log);
                e = values.Number(kBadMaterial, log);
                nu = values.Number(kBadMaterial, log);
            } else if (IsCard(card, "*RPT")) {
                CardValues values(card);
                const double temperature = values.Number(kBadMaterial, log);
                const double rpt = values.Number(kBadMaterial, log);
                rptTable.emplace_back(temperature, rpt);
            } else if (IsCard(card, "*FIN_MATERIAU")) {
                if (!typeGiven || !parametersGiven) log.Raise(kBadMaterial);
                SetDefinition(name, type, comment, re20, rptTable, rm, e, nu);
                return;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueMateriau::SetDefinition(std::string name, std::int32_t type, std::string comment,
                                          double re20, RptTable rptTable, double rm, double e,
                                          double nu)
{
    static const MethodLogName log("CPelnoFatigueMateriau::SetDefinition");
    Guarded(log, [&] {
        if (name == " ") log.Raise(kBadMaterial);
        if (type != kFerriticType && type != kAusteniticType) log.Raise(kBadMaterial);
        if (!Inside(re20, 50.0, 2000.0)) log.Raise(kBadMaterial);
        if (!Inside(rm, 50.0, 2000.0)) log.Raise(kBadMaterial);
        if (!Inside(e, 120000.0, 250000.0)) log.Raise(kBadMaterial);
        if (!Inside(nu, 0.2, 0.4)) log.Raise(kBadMaterial);
        for (const auto& pair : rptTable) {
            if (!Inside(pair.first, -250.0, 600.0) || !Inside(pair.second, 50.0, 2000.0)) {
                log.Raise(kBadMaterial);
            }
        }
        std::sort(rptTable.begin(), rptTable.end());

        name_ = std::move(name);
        type_ = type;
        comment_ = std::move(comment);
        re20_ = re20;
        rptTable_ = std::move(rptTable);
        rm_ = rm;
        e_ = e;
        nu_ = nu;
        defined_ = true;
    });
}

double CPelnoFatigueMateriau::GetRet(double temperature) const
{
    static const MethodLogName log("CPelnoFatigueMateriau::GetRet");
    return Guarded(log, [&]() -> double {
        const double t = temperature;
        if (!defined_) log.Raise(kBadMaterial);
        // A temperature that is not a number lies in no interval.
        if (std::isnan(t)) log.Raise(kTemperatureOutside);
        if (std::fabs(20.0 - t) < kTemperatureTolerance) return re20_;
        if (rptTable_.empty()) log.Raise(kTemperatureOutside);
        if (rptTable_.size() == 1) {
            if (std::fabs(rptTable_.front().first - t) > kTemperatureTolerance) {
                log.Raise(kTemperatureOutside);
            }
            return rptTable_.front().second;
        }
        const double first = rptTable_.front().first;
        const double last = rptTable_.back().first;
        if (t - kTemperatureTolerance > last || first > t + kTemperatureTolerance) {
            log.Raise(kTemperatureOutside);
        }
        // First pair whose temperature is not below t.
        const auto upper = std::lower_bound(
            rptTable_.begin(), rptTable_.end(), t,
            [](const std::pair<double, double>& pair, double value) { return pair.first < value; });
        if (upper == rptTable_.begin()) return upper->second;      // no extrapolation below
        if (upper == rptTable_.end()) return rptTable_.back().second;  // nor above
        if (upper->first == t) return upper->second;
        const auto lower = upper - 1;
        return lower->second +
               (upper->second - lower->second) * (t - lower->first) / (upper->first - lower->first);
    });
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueMateriau& material)
{
    static const MethodLogName log("CPelnoFatigueMateriau std::ofstream operator<<");
    return Guarded(log, [&]() -> std::ostream& {
        out << '\n';
        out << ToReportText("Nom du matériau                  : ") << material.GetName() << '\n';
        out << ToReportText("Type du matériau                 : ") << material.GetType() << '\n';
        out << ToReportText("                                   10 --> inconnu") << '\n';
        out << ToReportText(
                   "                                   20 --> acier non allié ou allié et non austénitique")
            << '\n';
        out << ToReportText(
                   "                                   30 --> acier austénitique, nickel ou alliage de nickel")
            << '\n';
        out << ToReportText("Commentaire                      : ") << material.GetComment() << '\n';
        out << ToReportText("Limite d'élasticité à 20°C (MPa) : ") << material.GetRe20() << '\n';
        out << ToReportText("Nombre des paires (T,Rpt)        : ") << material.GetRptTable().size()
            << '\n';
        for (const auto& pair : material.GetRptTable()) {
            out << ToReportText("   Paire (T,Rpt) (°C,MPa)        : ") << pair.first << "   "
                << pair.second << '\n';
        }
        out << ToReportText("Résistance à la traction (MPa)   : ") << material.GetRm() << '\n';
        // E alone follows the user's locale whatever the stream carries.
        out << ToReportText("Module d'élasticité (MPa)        : ")
            << LocaleNumberText(material.GetE(), UserLocale()) << '\n';
        out << ToReportText("Coefficient de Poisson           : ") << material.GetNu() << '\n';
        out << '\n';
        return out;
    });
}
