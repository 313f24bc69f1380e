#include "model/LocaleNumberText.h"

#include <sstream>

namespace {

template <class Number>
std::string Format(Number value, const std::locale& locale)
{
    std::ostringstream text;
    text.imbue(locale);
    text << value;
    return text.str();
}

}  // namespace

std::string LocaleNumberText(double value, const std::locale& locale)
{
    return Format(value, locale);
}

std::string LocaleNumberText(std::int32_t value, const std::locale& locale)
{
    return Format(value, locale);
}
