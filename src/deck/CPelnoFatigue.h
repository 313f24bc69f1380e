#pragma once

#include <cstdint>
#include <fstream>
#include <map>
#include <string>

#include "app/MethodLogName.h"
#include "deck/CPelnoFatigueContexte.h"
#include "deck/CardReader.h"
#include "model/CPelnoFatigueComposant.h"
#include "model/CPelnoFatigueCordon.h"
#include "model/CPelnoFatigueUWZone.h"
#include "stress/CPelnoFatigueHistorique.h"

// The study: everything the data file defines, the study's own copy of the context library,
// the open data file and the output directory. Read executes every damage request as soon as
// its block has been read.
class CPelnoFatigueClause;

class CPelnoFatigue {
public:
    using ComponentTable = std::map<std::string, CPelnoFatigueComposant>;
    using WeldTable = std::map<std::string, CPelnoFatigueCordon>;
    using UWZoneTable = std::map<std::string, CPelnoFatigueUWZone>;
    using HistoryTable = std::map<std::string, CPelnoFatigueHistorique>;

    CPelnoFatigue() = default;
    // Copies everything but the data file: the copy's stream is fresh and closed.
    CPelnoFatigue(const CPelnoFatigue& source);
    CPelnoFatigue& operator=(const CPelnoFatigue&) = delete;

    // Entry operations: return 0 or the error code, never throw.
    std::int32_t SetInputFile(const std::string& path);
    std::int32_t SetContext(const CPelnoFatigueContexte& library);
    std::int32_t SetOutputDirectory(const std::string& path);
    std::int32_t Read();

    const CPelnoFatigueContexte& GetContext() const { return context_; }
    const std::string& GetOutputDirectory() const { return outputDirectory_; }
    const ComponentTable& GetComponents() const { return components_; }
    const WeldTable& GetWelds() const { return welds_; }
    const UWZoneTable& GetUWZones() const { return uwZones_; }
    const HistoryTable& GetHistories() const { return histories_; }

    // Copies of the objects of the data file by name: code 380 for a missing component, 300
    // for a missing history, 370 for a missing unwelded zone, 360 for a missing weld seam.
    CPelnoFatigueComposant GetComponent(std::string name) const;
    CPelnoFatigueHistorique GetHistory(std::string name) const;
    CPelnoFatigueUWZone GetUWZone(std::string name) const;
    CPelnoFatigueCordon GetWeld(std::string name) const;

private:
    // Reads the block of one top-level card of the data file; false when the line is none of
    // the data file's cards.
    bool ReadCard(const CardLine& line, const MethodLogName& log, CPelnoFatigueClause& request);

    ComponentTable components_;
    WeldTable welds_;
    UWZoneTable uwZones_;
    HistoryTable histories_;
    CPelnoFatigueContexte context_;
    std::ifstream input_;
    std::string inputPath_;
    std::string outputDirectory_;
};
