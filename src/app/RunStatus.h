#pragma once

#include <cstdint>

// Writes the end-of-run block for the code on the error stream (ISO-8859-15).
void PrintRunStatus(std::int32_t code);
