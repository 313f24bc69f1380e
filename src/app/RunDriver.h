#pragma once

#include <cstdint>

// The whole run: command line, context, data, damage requests, end-of-run block. Returns the
// exit status: 0 for a normal end or for "-h", 1 for a command-line problem, otherwise the
// error code.
std::int32_t RunPelnoFatigue(int argc, const char* const* argv);
