// The strict number reader: never crashes, and whatever it accepts is a finite number that a
// plain conversion of the same word gives too.
#include <cmath>
#include <cstdlib>
#include <string>

#include "deck/CardValues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    double value = 0.0;
    if (CardValues::ParseNumber(text, value)) {
        if (!std::isfinite(value)) std::abort();
        if (value != std::strtod(text.c_str(), nullptr)) std::abort();
    }
    CardValues values("*CARTE " + text);
    while (values.NextNumber(value)) {
        if (!std::isfinite(value)) std::abort();
    }
    return 0;
}
