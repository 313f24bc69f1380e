#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/MethodLogName.h"

// The values written after the keyword of a card, separated by blanks or tabs.
//
// Numbers are read strictly: a value must be a whole word that is a complete decimal number in
// the classic form (optional sign, digits with an optional ".", optional exponent), and finite.
// "265,5", "12abc", "nan", "inf" and a missing value are all refused, so that a mistyped value
// never silently becomes another number. Words after the last expected value are ignored.
class CardValues {
public:
    // Positions the reader after the first word of the line (the keyword).
    explicit CardValues(const std::string& line);

    // Next blank- or tab-delimited word; false when there is none.
    bool NextWord(std::string& word);
    // Next word as a number; false when there is none or when it is not a complete finite
    // number (the reader has then consumed that word).
    bool NextNumber(double& value);

    // Next number, or raises the given code under the log name.
    double Number(std::int32_t code, const MethodLogName& log);
    // Next number truncated toward zero to a 32-bit integer, or raises the code (also when
    // the truncated value is outside the 32-bit range).
    std::int32_t Integer(std::int32_t code, const MethodLogName& log);

    // Parses one word as a strict number (exposed for the readers' tests and fuzzing).
    static bool ParseNumber(const std::string& word, double& value);

private:
    std::string line_;
    std::size_t position_ = 0;
};
