#include "deck/CardValues.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// sign? (digits ("." digits?)? | "." digits) (("e"|"E") sign? digits)?
bool IsDecimalNumber(const std::string& word)
{
    std::size_t i = 0;
    const std::size_t n = word.size();
    if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(word[i])) ++i, ++digits;
    if (i < n && word[i] == '.') {
        ++i;
        while (i < n && IsDigit(word[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (word[i] == 'e' || word[i] == 'E')) {
        ++i;
        if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < n && IsDigit(word[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == n;
}

}  // namespace

CardValues::CardValues(const std::string& line) : line_(line)
{
    std::string keyword;
    NextWord(keyword);
}

bool CardValues::NextWord(std::string& word)
{
    while (position_ < line_.size() && IsSeparator(line_[position_])) ++position_;
    if (position_ >= line_.size()) return false;
    const std::size_t start = position_;
    while (position_ < line_.size() && !IsSeparator(line_[position_])) ++position_;
    word.assign(line_, start, position_ - start);
    return true;
}

bool CardValues::ParseNumber(const std::string& word, double& value)
{
    if (!IsDecimalNumber(word)) return false;
    // The program never changes the C locale, so strtod reads "." as the decimal mark.
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size()) return false;
    if (!std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool CardValues::NextNumber(double& value)
{
    std::string word;
    if (!NextWord(word)) return false;
    return ParseNumber(word, value);
}

double CardValues::Number(std::int32_t code, const MethodLogName& log)
{
    double value = 0.0;
    if (!NextNumber(value)) log.Raise(code);
    return value;
}

std::int32_t CardValues::Integer(std::int32_t code, const MethodLogName& log)
{
    const double value = std::trunc(Number(code, log));
    if (!(value >= -2147483648.0 && value <= 2147483647.0)) log.Raise(code);
    return static_cast<std::int32_t>(value);
}
