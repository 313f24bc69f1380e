#include "model/CPelnoFatigueImperfection.h"

#include <cmath>

#include "app/Guarded.h"
#include "damage/ReportText.h"
#include "deck/BlockReader.h"
#include "deck/CardReader.h"
#include "deck/CardValues.h"

namespace {

constexpr std::int32_t kBadImperfection = 160;
constexpr const char* kBadImperfectionFormat =
    "%s : Mauvaise définition d'une imperfection de forme selon C11.A6";

// True when low <= value <= high; a value that is not a number is never inside.
bool Within(double value, double low, double high)
{
    return value >= low && value <= high;
}

// Next number of a card, or a bad imperfection.
double NextNumber(CardValues& values, const MethodLogName& log)
{
    double value = 0.0;
    if (!values.NextNumber(value)) log.Raise(kBadImperfection, kBadImperfectionFormat);
    return value;
}

// Coefficients of the local-deviation term of C11.A6.9 at r = delta / D.
struct DeviationCoefficients {
    double c1, c2, c3, c4, d1, d2;
};

constexpr int kRowCount = 8;
// r, c1, c2, c3, c4, d1, d2
constexpr double kDeviationTable[kRowCount][7] = {
    {0.0001, 1.170675, -0.001431, 1.168925, 0.006444, -0.215014, -0.218133},
    {0.0002, 1.142395, -0.001936, 1.140040, 0.008949, -0.214384, -0.218788},
    {0.0005, 1.077960, -0.002659, 1.074659, 0.013663, -0.213140, -0.220079},
    {0.001, 1.002205, -0.003128, 0.998227, 0.018501, -0.211747, -0.221519},
    {0.002, 0.903369, -0.003387, 0.898987, 0.024551, -0.209793, -0.223527},
    {0.005, 0.756336, -0.003260, 0.752191, 0.034774, -0.205981, -0.227412},
    {0.01, 0.657244, -0.002848, 0.653691, 0.045174, -0.201805, -0.231622},
    {0.02, 0.585757, -0.002285, 0.582368, 0.059728, -0.196147, -0.237254},
};

DeviationCoefficients RowCoefficients(int row)
{
    const double* v = kDeviationTable[row];
    return {v[1], v[2], v[3], v[4], v[5], v[6]};
}

// Linear interpolation between neighbouring rows; the first row below its r, the last row
// from its r on. A value of r equal to a row's r takes that row exactly.
DeviationCoefficients InterpolatedCoefficients(double r)
{
    if (!(r >= kDeviationTable[0][0])) return RowCoefficients(0);
    if (r >= kDeviationTable[kRowCount - 1][0]) return RowCoefficients(kRowCount - 1);
    int row = 0;
    while (!(r < kDeviationTable[row + 1][0])) ++row;
    const double* low = kDeviationTable[row];
    const double* high = kDeviationTable[row + 1];
    double c[6];
    for (int i = 0; i < 6; ++i) {
        c[i] = low[i + 1] + (high[i + 1] - low[i + 1]) * (r - low[0]) / (high[0] - low[0]);
    }
    return {c[0], c[1], c[2], c[3], c[4], c[5]};
}

}  // namespace

CPelnoFatigueImperfection::CPelnoFatigueImperfection(const CPelnoFatigueImperfection& source)
{
    static const MethodLogName log("C...WeldMisalignment::C...WeldMisalignment(&SourceObject)");
    Guarded(log, [&] { CopyFrom(source); });
}

CPelnoFatigueImperfection& CPelnoFatigueImperfection::operator=(
    const CPelnoFatigueImperfection& source)
{
    static const MethodLogName log("CPelnoFatigueImperfection::operator=");
    Guarded(log, [&] {
        if (this != &source) CopyFrom(source);
    });
    return *this;
}

void CPelnoFatigueImperfection::CopyFrom(const CPelnoFatigueImperfection& source)
{
    name_ = source.name_;
    defined_ = source.defined_;
    type_ = source.type_;
    D_ = source.D_;
    Dmax_ = source.Dmax_;
    Dmin_ = source.Dmin_;
    e_ = source.e_;
    delta_ = source.delta_;
    theta_ = source.theta_;
    beta_ = source.beta_;
}

void CPelnoFatigueImperfection::Read(std::istream& input, const std::string& headerCardBuffer,
                                     std::int32_t type)
{
    static const MethodLogName log("CPelnoFatigueImperfection::Read");
    Guarded(log, [&] {
        const std::string name = HeaderName(headerCardBuffer);
        const double unset = std::numeric_limits<double>::lowest();
        double D = unset, Dmax = unset, Dmin = unset;
        double e = unset, theta = unset, beta = unset, delta = unset;
        bool diameterGiven = false;
        bool parameterGiven = false;
        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*DIAMETRE")) {
                block.Once(diameterGiven);
                CardValues values(card);
                D = NextNumber(values, log);
                Dmax = NextNumber(values, log);
                Dmin = NextNumber(values, log);
            } else if (IsCard(card, "*PARAMETRE")) {
                block.Once(parameterGiven);
                // The local deviation comes last, after the two angles.
                CardValues values(card);
                e = NextNumber(values, log);
                theta = NextNumber(values, log);
                beta = NextNumber(values, log);
                delta = NextNumber(values, log);
            } else if (IsCard(card, "*FIN_IMPERFECTION")) {
                if (!diameterGiven || !parameterGiven) {
                    log.Raise(kBadImperfection, kBadImperfectionFormat);
                }
                SetDefinition(name, type, D, Dmax, Dmin, e, delta, theta, beta);
                break;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueImperfection::SetDefinition(std::string name, std::int32_t type, double D,
                                              double Dmax, double Dmin, double e, double delta,
                                              double theta, double beta)
{
    static const MethodLogName log("CPelnoFatigueImperfection::SetDefinition");
    Guarded(log, [&] {
        defined_ = false;
        const bool valid = type != kUnknown && D >= 1.0 && Within(e, 0.0, 50.0) &&
                           Within(delta, 0.0, 100.0) && Within(theta, 0.0, 360.0) &&
                           Within(beta, -40.0, 40.0) &&
                           Within((Dmax - Dmin) / D, -0.00001, 0.2);
        if (!valid) log.Raise(kBadImperfection, kBadImperfectionFormat);
        name_ = std::move(name);
        type_ = type;
        D_ = D;
        Dmax_ = Dmax;
        Dmin_ = Dmin;
        e_ = e;
        delta_ = delta;
        theta_ = theta;
        beta_ = beta;
        defined_ = true;
    });
}

std::pair<double, double> CPelnoFatigueImperfection::GetA(double t1, double t2, double p,
                                                          double Pe, double E, double nu) const
{
    static const MethodLogName log("CPelnoFatigueImperfection::GetA");
    return Guarded(log, [&]() -> std::pair<double, double> {
        const double tmin = t1 < t2 ? t1 : t2;
        const double tmax = t1 < t2 ? t2 : t1;
        if (!defined_) log.Raise(kBadImperfection, kBadImperfectionFormat);
        switch (type_) {
        case kSphere:
            // Beta keeps its sign: the factor is not clamped.
            return {1.0 + 3.0 * e_ / tmax + beta_ * std::sqrt(D_ / (2.0 * tmin)) / 50.0, 1.0};
        case kCircumferential:
            return {1.0 + 3.0 * e_ / tmax, 1.0 + e_ / (2.0 * tmax)};
        case kLongitudinal:
            // Under external pressure the factors are built on Pe, which must be positive.
            if (p < 0.0 && !(Pe > 0.0)) log.Raise(440);
            return {LongitudinalA(tmin, tmax, p, Pe, E, nu), 1.0};
        default:
            log.Raise(kBadImperfection, kBadImperfectionFormat);
        }
    });
}

double CPelnoFatigueImperfection::LongitudinalA(double tmin, double tmax, double p, double Pe,
                                                double E, double nu) const
{
    const double slenderness = std::pow(D_ / tmin, 3.0);
    // Pressure factor on the ovality (no factor 3 here, unlike rho below).
    double k = 0.0;
    if (p >= 0.0) {
        k = 1.0 / (1.0 + (1.0 - nu * nu) * p * slenderness / (2.0 * E));
    } else {
        k = 1.0 / (1.0 - p / (3.0 * Pe));
    }
    const double thetaRadians = theta_ * 3.141592654 / 180.0;
    const double ovality = std::cos(2.0 * thetaRadians) * 1.5 * (Dmax_ - Dmin_) / tmin * k;

    const double r = delta_ / D_;
    const DeviationCoefficients c = InterpolatedCoefficients(r);
    double Q = 0.0;
    if (p >= 0.0) {
        const double rho = (1.0 - nu * nu) * 3.0 * p * slenderness / (2.0 * E);
        Q = (1.0 + c.c1 * rho + c.c2 * (rho * rho)) / (1.0 + c.c3 * rho + c.c4 * (rho * rho));
    } else {
        Q = (1.0 + c.d1 * p / Pe) / (1.0 + c.d2 * p / Pe);
    }
    const double deviation = (1.0 - 0.628 * std::sqrt(r)) * 6.0 * delta_ / tmin * Q;

    return std::fabs(ovality + deviation) + 1.0 +
           (3.0 * e_ / tmax) * std::pow(tmax / tmin, 0.67);
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueImperfection& imperfection)
{
    static const MethodLogName log("CPelnoFatigueImperfection std::ofstream operator<<");
    Guarded(log, [&] {
        static const char* const legend[4] = {
            "                                                         10-->inconnu",
            "                                                         20-->longi cylindre",
            "                                                         30-->circonf cylindre",
            "                                                         40-->sur sphère",
        };
        out << '\n';
        out << ToReportText("Nom de l'imperfection de forme                         : ")
            << imperfection.GetName() << '\n';
        out << ToReportText("Type de l'imperfection                                 : ")
            << imperfection.GetType() << '\n';
        for (const char* line : legend) out << ToReportText(line) << '\n';
        out << ToReportText("Diamètre moyen de l'enveloppe                          : ")
            << imperfection.GetD() << '\n';
        out << ToReportText("Diamètre maximal de l'enveloppe                        : ")
            << imperfection.GetDmax() << '\n';
        out << ToReportText("Diamètre minimal de l'enveloppe                        : ")
            << imperfection.GetDmin() << '\n';
        out << ToReportText("Décalage de fibre moyen selon C11.A6                   : ")
            << imperfection.GetE() << '\n';
        out << ToReportText("Ecart local de circularité selon C11.A6.9              : ")
            << imperfection.GetDelta() << '\n';
        out << ToReportText("Angle définissant la position du cordon selon C11.A6.7 : ")
            << imperfection.GetTheta() << '\n';
        out << ToReportText("Désalignement angulaire sur une sphère selon C11.A6.8  : ")
            << imperfection.GetBeta() << '\n';
        out << '\n';
    });
    return out;
}
