#include "stress/CPelnoFatigueReleveLin.h"

#include <cstddef>
#include <limits>
#include <utility>

#include "app/Guarded.h"
#include "damage/ReportText.h"
#include "deck/CardReader.h"

void CPelnoFatigueReleveLin::Read(std::istream& input, const std::string& cardLine,
                                  std::int32_t number)
{
    static const MethodLogName log("CPelnoFatigueReleveLin::Read");
    Guarded(log, [&] {
        static const TensorCard cards[kPointCount] = {
            {"*SIJA", false}, {"*SIJMA", false}, {"*SIJLMA", false}, {"*SIJLTA", false},
            {"*SIJB", false}, {"*SIJMB", false}, {"*SIJLMB", false}, {"*SIJLTB", false}};
        const std::string name = HeaderName(cardLine);
        double pressure = std::numeric_limits<double>::lowest();
        double temperature = std::numeric_limits<double>::lowest();
        std::array<StressTensor, kPointCount> points;
        points.fill(UnsetTensor());
        // Unlike the plain record, a missing card is a bad record here.
        if (!ReadRecordCards(input, log, "*FIN_RELEVELIN", cards, points.data(), kPointCount,
                             pressure, temperature)) {
            log.Raise(190);
        }
        SetDefinition(name, number, pressure, temperature, points[kSijA], points[kSijMA],
                      points[kSijLMA], points[kSijLTA], points[kSijB], points[kSijMB],
                      points[kSijLMB], points[kSijLTB]);
    });
}

void CPelnoFatigueReleveLin::SetDefinition(
    std::string name, std::int32_t number, double pressure, double temperature,
    const StressTensor& SijA, const StressTensor& SijMA, const StressTensor& SijLMA,
    const StressTensor& SijLTA, const StressTensor& SijB, const StressTensor& SijMB,
    const StressTensor& SijLMB, const StressTensor& SijLTB)
{
    static const MethodLogName log("CPelnoFatigueReleveLin::SetDefinition");
    Guarded(log, [&] {
        ClearDefined();
        const std::array<StressTensor, kPointCount> points = {SijA, SijMA, SijLMA, SijLTA,
                                                              SijB, SijMB, SijLMB, SijLTB};
        for (const StressTensor& tensor : points) CheckTensor(tensor, log);
        points_ = points;

        // Straight line through A at 0.5 and B at 1.5 thickness, taken at the toe.
        StressTensor toe[4];
        for (std::size_t kind = 0; kind < 4; ++kind) {
            const StressTensor& a = points_[kSijA + kind];
            const StressTensor& b = points_[kSijB + kind];
            for (std::size_t i = 0; i < toe[kind].size(); ++i) {
                toe[kind][i] = 1.5 * a[i] - 0.5 * b[i];
            }
        }
        SetDefinition(std::move(name), number, pressure, temperature, toe[0], toe[1], toe[2],
                      toe[3]);
    });
}

void CPelnoFatigueReleveLin::PrintReport(std::ostream& out) const
{
    static const char* const labels[kPointCount] = {
        "SijA at 0.5*thickness    : ", "SijmA at 0.5*thickness   : ",
        "SijlmA at 0.5*thickness  : ", "SijltA at 0.5*thickness  : ",
        "SijB at 1.5*thickness    : ", "SijmB at 1.5*thickness   : ",
        "SijlmB at 1.5*thickness  : ", "SijltB at 1.5*thickness  : "};
    out << '\n';
    out << ToReportText("Relevé linéaire numéro   : ") << GetNumber() << '\n';
    out << ToReportText("++++++++++++++++++++++++++ ") << '\n';
    out << ToReportText("Nom                      : ") << GetName() << '\n';
    out << ToReportText("Pression (MPa)           : ") << GetPressure() << '\n';
    out << ToReportText("Température (deg)        : ") << GetTemperature() << '\n';
    PrintStresses(out);
    for (std::size_t point = 0; point < kPointCount; ++point) {
        PrintTensor(out, labels[point], static_cast<TensorKind>(point % 4), points_[point]);
    }
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueReleveLin& record)
{
    try {
        record.PrintReport(out);
    } catch (...) {
        // A failing report line must not stop the report.
    }
    return out;
}
