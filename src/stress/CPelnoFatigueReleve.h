#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <limits>
#include <ostream>
#include <string>

#include "app/MethodLogName.h"
#include "stress/StressTensor.h"

// The stress state of one zone at one instant of a stress history: pressure, temperature and
// four stress tensors (total, membrane, linearised mechanical, linearised thermal), each in
// the order Sxx, Sxy, Sxz, Syy, Syz, Szz. Read from a "*RELEVE" block of a history; also the
// base of the records read at points away from a weld toe and extrapolated to it.
class CPelnoFatigueReleve {
public:
    CPelnoFatigueReleve() = default;
    CPelnoFatigueReleve(const CPelnoFatigueReleve& source);
    CPelnoFatigueReleve& operator=(const CPelnoFatigueReleve& source);
    virtual ~CPelnoFatigueReleve() = default;

    // Reads the block opened by cardLine (the "*RELEVE" line, already read) up to
    // "*FIN_RELEVE"; number is the record's number in its history.
    virtual void Read(std::istream& input, const std::string& cardLine, std::int32_t number);
    // Validates and stores every field, then marks the record defined (code 190 otherwise).
    virtual void SetDefinition(std::string name, std::int32_t number, double pressure,
                               double temperature, const StressTensor& Sij,
                               const StressTensor& SijM, const StressTensor& SijLM,
                               const StressTensor& SijLT);
    // Replaces the four tensors of a defined record (code 190 on a value out of range or on a
    // record that is not defined); name, number, pressure and temperature are kept.
    void SetStresses(const StressTensor& Sij, const StressTensor& SijM,
                     const StressTensor& SijLM, const StressTensor& SijLT);

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    std::int32_t GetNumber() const { return number_; }
    double GetPressure() const { return pressure_; }
    double GetTemperature() const { return temperature_; }
    const StressTensor& GetSij() const { return Sij_; }
    const StressTensor& GetSijM() const { return SijM_; }
    const StressTensor& GetSijLM() const { return SijLM_; }
    const StressTensor& GetSijLT() const { return SijLT_; }

    // A tensor whose six components are the lowest finite double (no value given).
    static StressTensor UnsetTensor();

protected:
    // A tensor card of a record block. With blankAfter, the card is recognised only when the
    // character after the keyword is a blank ("*SIJ " but not "*SIJM"); a line holding
    // nothing but the keyword is then an unknown failure.
    struct TensorCard {
        const char* keyword;
        bool blankAfter;
    };

    // Reads the cards of a record block after its opening line: "*PARAMETRE" (pressure,
    // temperature) and the tensor cards, each at most once (code 30), tested in this order,
    // up to endCard. A number that cannot be read is code 190. Returns true when every card
    // was given; the caller decides what a missing card means.
    static bool ReadRecordCards(std::istream& input, const MethodLogName& log,
                                const char* endCard, const TensorCard* cards,
                                StressTensor* tensors, std::size_t count, double& pressure,
                                double& temperature);
    // Code 190 when a component lies outside [-20000, 20000].
    static void CheckTensor(const StressTensor& tensor, const MethodLogName& log);

    // Kinds of tensor, for the header line a tensor is printed under.
    enum TensorKind { kTotal = 0, kMembrane = 1, kMechanical = 2, kThermal = 3 };
    // Label line, header line of the kind and value line of one tensor.
    static void PrintTensor(std::ostream& out, const char* label, TensorKind kind,
                            const StressTensor& tensor);
    // The four tensors of the record at the toe, each with its own label and header.
    void PrintStresses(std::ostream& out) const;

    void ClearDefined() { defined_ = false; }

private:
    bool defined_ = false;
    std::string name_ = " ";
    std::int32_t number_ = -1;
    double pressure_ = std::numeric_limits<double>::lowest();
    double temperature_ = std::numeric_limits<double>::lowest();
    StressTensor Sij_ = UnsetTensor();
    StressTensor SijM_ = UnsetTensor();
    StressTensor SijLM_ = UnsetTensor();
    StressTensor SijLT_ = UnsetTensor();

    void CopyFrom(const CPelnoFatigueReleve& source);
    void PrintReport(std::ostream& out) const;
    friend std::ostream& operator<<(std::ostream& out, const CPelnoFatigueReleve& record);
};

// Report printout of a record. A failure while printing is swallowed.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueReleve& record);
