#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the input to a file of this process (replaced at every call) and returns its path.
std::string InputFile(const std::uint8_t* data, std::size_t size);

// Silences the echo of the card readers for the whole fuzzing run.
void SilenceConsole();

// A directory of this process for reports, emptied by EmptyDirectory.
const std::string& ReportDirectory();
void EmptyDirectory(const std::string& directory);
