#pragma once

#include <cstdint>
#include <fstream>
#include <istream>
#include <memory>
#include <string>

#include "app/MethodLogName.h"
#include "damage/CPelnoFatigueCountingMethod.h"
#include "damage/CPelnoFatiguePlasticityCriteria.h"
#include "stress/CPelnoFatigueHistorique.h"

class CPelnoFatigue;

// One damage request ("*DOMMAGE" block): the history to compute, the report file and the
// cycle-counting method. It freezes a copy of the study and of the history when it is
// defined, and Damage hands it to the procedure of the history's kind.
class CPelnoFatigueClause {
public:
    // Output modes.
    static constexpr std::int32_t kNoReport = 10;
    static constexpr std::int32_t kReport = 20;
    // Counting-method and plasticity-criterion codes.
    static constexpr std::int32_t kReservoir = 20;
    static constexpr std::int32_t kRainFlow = 30;
    static constexpr std::int32_t kTresca = 20;
    static constexpr std::int32_t kMises = 30;

    CPelnoFatigueClause();
    ~CPelnoFatigueClause();
    CPelnoFatigueClause(const CPelnoFatigueClause&) = delete;
    CPelnoFatigueClause& operator=(const CPelnoFatigueClause&) = delete;

    // Releases the study copy, the history copy, the method and the criterion; empties both
    // texts; output mode back to 10.
    void Clear();

    // Reads the block after the "*DOMMAGE" card up to "*FIN_DOMMAGE" and defines the request
    // on a copy of the study as it is now.
    void Read(std::istream& input, std::string outputDirectory, const CPelnoFatigue& study);

    void SetDefinition(const CPelnoFatigue& study, std::string outputDirectory, std::string outputFileName,
                       std::string historyName, std::int32_t criterion, std::int32_t countingMethod);

    void SetOutputMode(std::int32_t mode) { outputMode_ = mode; }
    std::int32_t GetOutputMode() const { return outputMode_; }

    // Runs the procedure of the history's kind.
    void Damage();

    // Opens the report file (appended to when it exists) with the user's locale on it; the
    // caller owns the stream. Raises 290 (no file name, cannot open) and 450 (no directory).
    std::unique_ptr<std::ofstream> GetFile() const;

    void DamageUWZoneCriticalPlane();
    void DamageWeldCriticalPlane();
    void DamageWeldThroat();

    const CPelnoFatigue* GetStudy() const { return study_.get(); }
    const CPelnoFatigueHistorique* GetHistory() const { return history_.get(); }
    const std::string& GetOutputFileName() const { return outputFileName_; }
    const std::string& GetOutputDirectory() const { return outputDirectory_; }

private:
    // Closes a report the procedure has finished writing: a report that could not be written
    // completely (full disk, file become unwritable) is code 290, not a normal end.
    static void FinishReport(const MethodLogName& log, std::unique_ptr<std::ofstream> report);

    std::unique_ptr<CPelnoFatigue> study_;
    std::unique_ptr<CPelnoFatigueHistorique> history_;
    std::unique_ptr<CPelnoFatigueCountingMethod> countingMethod_;
    std::unique_ptr<CPelnoFatiguePlasticityCriteria> criterion_;
    std::string outputFileName_;
    std::string outputDirectory_;
    std::int32_t outputMode_ = kNoReport;
};
