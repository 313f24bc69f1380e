#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "deck/CPelnoFatigueContexte.h"

// The study: everything the data file defines, the study's own copy of the context library,
// the open data file and the output directory. Read executes every damage request as soon as
// its block has been read.
class CPelnoFatigue {
public:
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

private:
    CPelnoFatigueContexte context_;
    std::ifstream input_;
    std::string inputPath_;
    std::string outputDirectory_;
};
