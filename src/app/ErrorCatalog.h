#pragma once

#include <cstdint>

// The French text of every error code, as the end-of-run block shows it (UTF-8 here, without
// the trailing blank). Null for a code that has no documented text.
const char* ErrorText(std::int32_t code) noexcept;

// The six hints written after the text of code 40 ("Carte de donnée inconnue"), in order.
extern const char* const kUnknownCardHints[6];
