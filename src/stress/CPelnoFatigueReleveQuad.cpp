#include "stress/CPelnoFatigueReleveQuad.h"

#include <cstddef>
#include <limits>
#include <utility>

#include "app/Guarded.h"
#include "damage/ReportText.h"
#include "deck/CardReader.h"

void CPelnoFatigueReleveQuad::Read(std::istream& input, const std::string& cardLine,
                                   std::int32_t number)
{
    static const MethodLogName log("CPelnoFatigueReleveQuad::Read");
    Guarded(log, [&] {
        static const TensorCard cards[kPointCount] = {
            {"*SIJA", false}, {"*SIJMA", false}, {"*SIJLMA", false}, {"*SIJLTA", false},
            {"*SIJB", false}, {"*SIJMB", false}, {"*SIJLMB", false}, {"*SIJLTB", false},
            {"*SIJC", false}, {"*SIJMC", false}, {"*SIJLMC", false}, {"*SIJLTC", false}};
        const std::string name = HeaderName(cardLine);
        double pressure = std::numeric_limits<double>::lowest();
        double temperature = std::numeric_limits<double>::lowest();
        std::array<StressTensor, kPointCount> points;
        points.fill(UnsetTensor());
        // Unlike the plain record, a missing card is a bad record here.
        if (!ReadRecordCards(input, log, "*FIN_RELEVEQUAD", cards, points.data(), kPointCount,
                             pressure, temperature)) {
            log.Raise(190);
        }
        SetDefinition(name, number, pressure, temperature, points[kSijA], points[kSijMA],
                      points[kSijLMA], points[kSijLTA], points[kSijB], points[kSijMB],
                      points[kSijLMB], points[kSijLTB], points[kSijC], points[kSijMC],
                      points[kSijLMC], points[kSijLTC]);
    });
}

void CPelnoFatigueReleveQuad::SetDefinition(
    std::string name, std::int32_t number, double pressure, double temperature,
    const StressTensor& SijA, const StressTensor& SijMA, const StressTensor& SijLMA,
    const StressTensor& SijLTA, const StressTensor& SijB, const StressTensor& SijMB,
    const StressTensor& SijLMB, const StressTensor& SijLTB, const StressTensor& SijC,
    const StressTensor& SijMC, const StressTensor& SijLMC, const StressTensor& SijLTC)
{
    static const MethodLogName log("CPelnoFatigueReleveQuad::SetDefinition");
    Guarded(log, [&] {
        ClearDefined();
        const std::array<StressTensor, kPointCount> points = {
            SijA, SijMA, SijLMA, SijLTA, SijB, SijMB, SijLMB, SijLTB, SijC, SijMC, SijLMC, SijLTC};
        for (const StressTensor& tensor : points) CheckTensor(tensor, log);
        points_ = points;

        // Parabola through A at 0.4, B at 0.9 and C at 1.4 thickness, taken at the toe.
        StressTensor toe[4];
        for (std::size_t kind = 0; kind < 4; ++kind) {
            const StressTensor& a = points_[kSijA + kind];
            const StressTensor& b = points_[kSijB + kind];
            const StressTensor& c = points_[kSijC + kind];
            for (std::size_t i = 0; i < toe[kind].size(); ++i) {
                toe[kind][i] = 2.52 * a[i] - 2.24 * b[i] + 0.72 * c[i];
            }
        }
        SetDefinition(std::move(name), number, pressure, temperature, toe[0], toe[1], toe[2],
                      toe[3]);
    });
}

void CPelnoFatigueReleveQuad::PrintReport(std::ostream& out) const
{
    static const char* const labels[kPointCount] = {
        "SijA at 0.4*thickness    : ", "SijmA at 0.4*thickness   : ",
        "SijlmA at 0.4*thickness  : ", "SijltA at 0.4*thickness  : ",
        "SijB at 0.9*thickness    : ", "SijmB at 0.9*thickness   : ",
        "SijlmB at 0.9*thickness  : ", "SijltB at 0.9*thickness  : ",
        "SijC at 1.4*thickness    : ", "SijmC at 1.4*thickness   : ",
        "SijlmC at 1.4*thickness  : ", "SijltC at 1.4*thickness  : "};
    out << '\n';
    out << ToReportText("Relevé quadratique numéro   : ") << GetNumber() << '\n';
    out << ToReportText("+++++++++++++++++++++++++++++ ") << '\n';
    out << ToReportText("Nom                         : ") << GetName() << '\n';
    out << ToReportText("Pression (MPa)              : ") << GetPressure() << '\n';
    out << ToReportText("Température (deg)           : ") << GetTemperature() << '\n';
    PrintStresses(out);
    for (std::size_t point = 0; point < kPointCount; ++point) {
        PrintTensor(out, labels[point], static_cast<TensorKind>(point % 4), points_[point]);
    }
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueReleveQuad& record)
{
    try {
        record.PrintReport(out);
    } catch (...) {
        // A failing report line must not stop the report.
    }
    return out;
}
