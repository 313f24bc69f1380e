#pragma once

#include <string>
#include <vector>

// Runs the real PelnoFatigue.exe and collects what it wrote.
struct ProgramResult {
    int status = -1;            // exit status (low 8 bits of the code), -1 if it did not exit
    bool signaled = false;      // ended by a signal (a crash)
    std::string errorOutput;    // bytes written to the error stream
    std::string standardOutput; // bytes written to the standard output (always empty)
};

// Runs the program with the arguments (program name excluded), in workingDirectory when it is
// not empty, with extra environment entries "NAME=value" added to the current environment (each
// replacing an inherited entry of the same name). oneCpu: the program may run on the first CPU
// of the test's own affinity set only, as under `taskset -c 0`.
ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const std::string& workingDirectory = std::string(),
                         const std::vector<std::string>& environment = {}, bool oneCpu = false);

// Path of the program under test.
std::string ProgramPath();

// A fresh temporary directory (removed at the end of the test program's run is not needed).
std::string MakeTempDirectory();

// Writes bytes to a file, replacing it.
void WriteFile(const std::string& path, const std::string& bytes);
// Reads a whole file; empty when it does not exist.
std::string ReadFile(const std::string& path);

// Converts UTF-8 text to the console's ISO-8859-15, for comparing console bytes.
std::string Latin9(const std::string& utf8);
