#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <string>

#include "app/MethodLogName.h"

// Line syntax shared by the context file and the data file.
//
// A card is a line that begins with "*" and a keyword; a block opened by a card is closed by
// its end card. Lines beginning with "/" and empty lines are skipped everywhere. Names are
// taken by column: from column 21 to the end of the line, unchanged.

// Length of the card buffer handed to block readers (the first characters of the card line).
constexpr std::size_t kCardBufferLength = 200;
// Names start at column 21.
constexpr std::size_t kNameColumn = 20;

struct CardLine {
    std::string text;       // the line, without its line feed and carriage return
    std::string buffer;     // the first kCardBufferLength characters of the line
    bool reachedEnd = false;  // the end of the file was met while reading this line
};

// Reads one line up to the next line feed, echoes it to the error stream followed by a line
// end, and fills the card line. A carriage return before the line feed is dropped.
void ReadCardLine(std::istream& input, CardLine& line);

// True when the line is at least as long as the keyword and begins with it (case-sensitive).
bool IsCard(const std::string& line, const char* keyword);

// True when the line is empty or begins with "/".
bool IsIgnorableLine(const std::string& line);

// The name of a header card: columns 21 to 200 of the card buffer (empty when the line has
// 20 characters or fewer).
std::string HeaderName(const std::string& cardBuffer);

// The text of a card from column 21 to the end of the full line. A line shorter than 20
// characters throws std::out_of_range (reported by the catching method as code 10).
std::string CardText(const std::string& line);

// Skips a UTF-8 byte-order mark at the very start of the stream.
void SkipByteOrderMark(std::istream& input);

// The file-level loop of both card files: skips a byte-order mark, then reads lines until the
// end of the file. Each line is offered to handleCard, which returns true when it recognised
// the line as one of the file's top-level cards (and read its block); a line it does not take
// is skipped when ignorable and raises code 40 otherwise.
void ReadCardFile(std::istream& input, const MethodLogName& log,
                  const std::function<bool(const CardLine&)>& handleCard);
