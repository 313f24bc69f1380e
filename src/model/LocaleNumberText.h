#pragma once

#include <cstdint>
#include <locale>
#include <string>

// A number written into a fresh string stream that carries the given locale and the default
// format (six significant digits, general notation): its digits follow that locale's grouping
// and decimal mark, whatever the format of the report stream it is then written to.
std::string LocaleNumberText(double value, const std::locale& locale);
std::string LocaleNumberText(std::int32_t value, const std::locale& locale);
