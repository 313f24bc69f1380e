#include "stress/CPelnoFatigueReleve.h"

#include <cstring>
#include <iomanip>
#include <utility>
#include <vector>

#include "app/Guarded.h"
#include "damage/ReportText.h"
#include "deck/BlockReader.h"
#include "deck/CardReader.h"
#include "deck/CardValues.h"

namespace {

constexpr std::int32_t kBadRecord = 190;

// Pressure and temperature limits of a record, bounds included.
constexpr double kPressureLimit = 3000.0;
constexpr double kTemperatureLow = -250.0;
constexpr double kTemperatureHigh = 600.0;
// Limit of every stress component, bounds included.
constexpr double kStressLimit = 20000.0;

// True when low <= value <= high; a value that is not a number is never inside.
bool Within(double value, double low, double high)
{
    return value >= low && value <= high;
}

const char* const kTensorHeaders[4] = {
    "|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |    Szz     |",
    "|    Sxxm    |    Sxym    |    Sxzm    |    Syym    |    Syzm    |    Szzm    |",
    "|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    Szzlm   |",
    "|    Sxxlt   |    Sxylt   |    Sxzlt   |    Syylt   |    Syzlt   |    Szzlt   |",
};

}  // namespace

StressTensor CPelnoFatigueReleve::UnsetTensor()
{
    StressTensor tensor;
    tensor.fill(std::numeric_limits<double>::lowest());
    return tensor;
}

CPelnoFatigueReleve::CPelnoFatigueReleve(const CPelnoFatigueReleve& source)
{
    static const MethodLogName log("CPelnoFatigueReleve::CPelnoFatigueReleve(&SourceObject)");
    Guarded(log, [&] { CopyFrom(source); });
}

CPelnoFatigueReleve& CPelnoFatigueReleve::operator=(const CPelnoFatigueReleve& source)
{
    static const MethodLogName log("CPelnoFatigueReleve::operator=");
    Guarded(log, [&] {
        if (this != &source) CopyFrom(source);
    });
    return *this;
}

void CPelnoFatigueReleve::CopyFrom(const CPelnoFatigueReleve& source)
{
    name_ = source.name_;
    defined_ = source.defined_;
    number_ = source.number_;
    pressure_ = source.pressure_;
    temperature_ = source.temperature_;
    Sij_ = source.Sij_;
    SijM_ = source.SijM_;
    SijLM_ = source.SijLM_;
    SijLT_ = source.SijLT_;
}

bool CPelnoFatigueReleve::ReadRecordCards(std::istream& input, const MethodLogName& log,
                                          const char* endCard, const TensorCard* cards,
                                          StressTensor* tensors, std::size_t count,
                                          double& pressure, double& temperature)
{
    bool parameterGiven = false;
    std::vector<bool> given(count, false);
    BlockReader block(input, log);
    for (;;) {
        const std::string& card = block.NextCard();
        if (IsCard(card, "*PARAMETRE")) {
            block.Once(parameterGiven);
            CardValues values(card);
            pressure = values.Number(kBadRecord, log);
            temperature = values.Number(kBadRecord, log);
            continue;
        }
        bool matched = false;
        for (std::size_t i = 0; i < count && !matched; ++i) {
            const std::size_t length = std::strlen(cards[i].keyword);
            // at() fails on a line that holds the keyword alone: an unknown failure.
            if (!IsCard(card, cards[i].keyword) ||
                (cards[i].blankAfter && card.at(length) != ' ')) {
                continue;
            }
            matched = true;
            if (given[i]) block.Misplaced();
            given[i] = true;
            CardValues values(card);
            for (double& component : tensors[i]) component = values.Number(kBadRecord, log);
        }
        if (matched) continue;
        if (IsCard(card, endCard)) break;
        block.Unknown();
    }
    if (!parameterGiven) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!given[i]) return false;
    }
    return true;
}

void CPelnoFatigueReleve::CheckTensor(const StressTensor& tensor, const MethodLogName& log)
{
    for (double component : tensor) {
        if (!Within(component, -kStressLimit, kStressLimit)) log.Raise(kBadRecord);
    }
}

void CPelnoFatigueReleve::Read(std::istream& input, const std::string& cardLine,
                               std::int32_t number)
{
    static const MethodLogName log("CPelnoFatigueReleve::Read");
    Guarded(log, [&] {
        static const TensorCard cards[4] = {
            {"*SIJ", true}, {"*SIJM", false}, {"*SIJLM", false}, {"*SIJLT", false}};
        const std::string name = HeaderName(cardLine);
        double pressure = std::numeric_limits<double>::lowest();
        double temperature = std::numeric_limits<double>::lowest();
        StressTensor tensors[4] = {UnsetTensor(), UnsetTensor(), UnsetTensor(), UnsetTensor()};
        if (!ReadRecordCards(input, log, "*FIN_RELEVE", cards, tensors, 4, pressure,
                             temperature)) {
            log.Raise(20, "%s : Invalid time pick definition");
        }
        SetDefinition(name, number, pressure, temperature, tensors[0], tensors[1], tensors[2],
                      tensors[3]);
    });
}

void CPelnoFatigueReleve::SetDefinition(std::string name, std::int32_t number, double pressure,
                                        double temperature, const StressTensor& Sij,
                                        const StressTensor& SijM, const StressTensor& SijLM,
                                        const StressTensor& SijLT)
{
    static const MethodLogName log("CPelnoFatigueReleve::SetDefinition");
    Guarded(log, [&] {
        defined_ = false;
        if (number < 0) log.Raise(kBadRecord);
        if (!Within(pressure, -kPressureLimit, kPressureLimit)) log.Raise(kBadRecord);
        if (!Within(temperature, kTemperatureLow, kTemperatureHigh)) log.Raise(kBadRecord);
        CheckTensor(Sij, log);
        CheckTensor(SijM, log);
        CheckTensor(SijLM, log);
        CheckTensor(SijLT, log);
        name_ = std::move(name);
        number_ = number;
        pressure_ = pressure;
        temperature_ = temperature;
        Sij_ = Sij;
        SijM_ = SijM;
        SijLM_ = SijLM;
        SijLT_ = SijLT;
        defined_ = true;
    });
}

void CPelnoFatigueReleve::SetStresses(const StressTensor& Sij, const StressTensor& SijM,
                                      const StressTensor& SijLM, const StressTensor& SijLT)
{
    static const MethodLogName log("CPelnoFatigueReleve::SetStresses");
    Guarded(log, [&] {
        // Only a record whose name, number, pressure and temperature were accepted may
        // take new stresses.
        const bool wasDefined = defined_;
        defined_ = false;
        if (!wasDefined) log.Raise(kBadRecord);
        CheckTensor(Sij, log);
        CheckTensor(SijM, log);
        CheckTensor(SijLM, log);
        CheckTensor(SijLT, log);
        Sij_ = Sij;
        SijM_ = SijM;
        SijLM_ = SijLM;
        SijLT_ = SijLT;
        defined_ = true;
    });
}

void CPelnoFatigueReleve::PrintTensor(std::ostream& out, const char* label, TensorKind kind,
                                      const StressTensor& tensor)
{
    out << ToReportText(label) << '\n';
    out << ToReportText(kTensorHeaders[kind]) << '\n';
    out << "| ";
    for (std::size_t i = 0; i < tensor.size(); ++i) {
        if (i > 0) out << " | ";
        out << std::setw(10) << tensor[i];
    }
    out << " |" << '\n';
}

void CPelnoFatigueReleve::PrintStresses(std::ostream& out) const
{
    PrintTensor(out, "Sij (MPa)           : ", kTotal, Sij_);
    PrintTensor(out, "Sij membrane (MPa)  : ", kMembrane, SijM_);
    PrintTensor(out, "Sij lin. meca (MPa) : ", kMechanical, SijLM_);
    PrintTensor(out, "Sij lin. ther (MPa) : ", kThermal, SijLT_);
}

void CPelnoFatigueReleve::PrintReport(std::ostream& out) const
{
    out << '\n';
    out << ToReportText("Numéro du relevé    : ") << number_ << '\n';
    out << ToReportText("++++++++++++++++      ") << '\n';
    out << ToReportText("Nom                 : ") << name_ << '\n';
    out << ToReportText("Pression (MPa)      : ") << pressure_ << '\n';
    out << ToReportText("Température (deg)   : ") << temperature_ << '\n';
    PrintStresses(out);
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueReleve& record)
{
    try {
        record.PrintReport(out);
    } catch (...) {
        // A failing report line must not stop the report.
    }
    return out;
}
