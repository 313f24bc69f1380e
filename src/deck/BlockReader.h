#pragma once

#include <istream>
#include <string>

#include "app/MethodLogName.h"
#include "deck/CardReader.h"

// The block-level loop of every block reader: hands out the card lines of the block one by
// one, skipping comments and empty lines, and raises the errors every block shares.
//
//     BlockReader block(input, log);
//     for (;;) {
//         const std::string& card = block.NextCard();
//         if (IsCard(card, "*PARAMETRE")) { block.Once(parameterSeen); ... }
//         else if (IsCard(card, "*FIN_XXX")) { ...; break; }
//         else block.Unknown();
//     }
class BlockReader {
public:
    BlockReader(std::istream& input, const MethodLogName& log) : input_(input), log_(log) {}

    // The next line of the block that is not a comment or empty. Code 50 when the end of the
    // file is met while reading a line (the line is echoed first).
    const std::string& NextCard();

    // A card allowed once: code 30 when it was already given, otherwise marks it given.
    void Once(bool& given) const;
    // Code 30: a card in a place where the block does not allow it.
    [[noreturn]] void Misplaced() const;
    // Code 40: a line that is none of the block's cards.
    [[noreturn]] void Unknown() const;

    const MethodLogName& Log() const { return log_; }

private:
    std::istream& input_;
    const MethodLogName& log_;
    CardLine line_;
};
