#include "deck/CardReader.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <stdexcept>

void ReadCardLine(std::istream& input, CardLine& line)
{
    std::getline(input, line.text);
    // A stream that fails without reaching the end (a read error) must not pass for a short
    // file: the caller reports it as an unknown failure.
    if (input.fail() && !input.eof()) throw std::runtime_error("card file read error");
    line.reachedEnd = input.eof();
    if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
    line.buffer.assign(line.text, 0, std::min(line.text.size(), kCardBufferLength));

    std::string echo;
    echo.reserve(line.text.size() + 1);
    echo.append(line.text).push_back('\n');
    std::cerr.write(echo.data(), static_cast<std::streamsize>(echo.size()));
}

bool IsCard(const std::string& line, const char* keyword)
{
    const std::size_t length = std::strlen(keyword);
    return line.size() >= length && line.compare(0, length, keyword) == 0;
}

bool IsIgnorableLine(const std::string& line)
{
    return line.empty() || line[0] == '/';
}

std::string HeaderName(const std::string& cardBuffer)
{
    if (cardBuffer.size() <= kNameColumn) return std::string();
    return cardBuffer.substr(kNameColumn, kCardBufferLength - kNameColumn);
}

std::string CardText(const std::string& line)
{
    return line.substr(kNameColumn);  // throws std::out_of_range below 20 characters
}

void SkipByteOrderMark(std::istream& input)
{
    char head[3] = {0, 0, 0};
    input.read(head, 3);
    const bool mark = input.gcount() == 3 && static_cast<unsigned char>(head[0]) == 0xEF &&
                      static_cast<unsigned char>(head[1]) == 0xBB &&
                      static_cast<unsigned char>(head[2]) == 0xBF;
    if (!mark) {
        input.clear();
        input.seekg(0);
    }
}

void ReadCardFile(std::istream& input, const MethodLogName& log,
                  const std::function<bool(const CardLine&)>& handleCard)
{
    SkipByteOrderMark(input);
    CardLine line;
    while (!input.eof()) {
        ReadCardLine(input, line);
        if (handleCard(line)) continue;
        if (IsIgnorableLine(line.text)) continue;
        log.Raise(40);
    }
}
