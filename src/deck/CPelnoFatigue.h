#pragma once

#include <cstdint>
#include <fstream>
#include <map>
#include <string>

#include "app/MethodLogName.h"
#include "deck/CPelnoFatigueContexte.h"
#include "deck/CardReader.h"
#include "model/CPelnoFatigueComposant.h"
#include "model/CPelnoFatigueUWZone.h"

// The study: everything the data file defines, the study's own copy of the context library,
// the open data file and the output directory. Read executes every damage request as soon as
// its block has been read.
class CPelnoFatigue {
public:
    using ComponentTable = std::map<std::string, CPelnoFatigueComposant>;
    using UWZoneTable = std::map<std::string, CPelnoFatigueUWZone>;

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
    const UWZoneTable& GetUWZones() const { return uwZones_; }

private:
    // Reads the block of one top-level card of the data file; false when the line is none of
    // the data file's cards.
    bool ReadCard(const CardLine& line, const MethodLogName& log);

    ComponentTable components_;
    // weld seams ("*CORDON") are kept here, by name
    UWZoneTable uwZones_;
    // stress histories ("*HISTORIQUE") are kept here, by name
    CPelnoFatigueContexte context_;
    std::ifstream input_;
    std::string inputPath_;
    std::string outputDirectory_;
};
