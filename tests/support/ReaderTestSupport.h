#pragma once

// Small helpers for the tests of the block readers and the report printers.

#include <cstdlib>
#include <functional>
#include <iostream>
#include <locale>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/CExceptionPelnoFatigue.h"
#include "deck/CardReader.h"

// Captures what is echoed to the error stream while it lives.
class CapturedErrors {
public:
    CapturedErrors() : previous_(std::cerr.rdbuf(buffer_.rdbuf())) {}
    ~CapturedErrors() { std::cerr.rdbuf(previous_); }
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;
    std::string Text() const { return buffer_.str(); }

private:
    std::ostringstream buffer_;
    std::streambuf* previous_;
};

// The code of the program's error the action raises, 0 when it raises none. Any other
// exception escapes and fails the test.
inline int CodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CExceptionPelnoFatigue& error) {
        return error.GetCode();
    }
    return 0;
}

// Runs a block reader over a block given whole, header card line included: the header line is
// read as the file-level loop reads it, then read(stream, card buffer) consumes the rest.
// Returns the code raised (0 on success); the echo is swallowed.
inline int ReadBlock(const std::string& block,
                     const std::function<void(std::istream&, const std::string&)>& read)
{
    std::istringstream input(block);
    CapturedErrors errors;
    return CodeOf([&] {
        CardLine header;
        ReadCardLine(input, header);
        read(input, header.buffer);
    });
}

// Sets LC_ALL for the lifetime of the object (the user's environment locale of the printers),
// and restores it afterwards.
class ScopedUserLocale {
public:
    explicit ScopedUserLocale(const char* name)
    {
        if (const char* previous = std::getenv("LC_ALL")) previous_ = previous;
        ::setenv("LC_ALL", name, 1);
    }
    ~ScopedUserLocale()
    {
        if (previous_) {
            ::setenv("LC_ALL", previous_->c_str(), 1);
        } else {
            ::unsetenv("LC_ALL");
        }
    }
    ScopedUserLocale(const ScopedUserLocale&) = delete;
    ScopedUserLocale& operator=(const ScopedUserLocale&) = delete;

private:
    std::optional<std::string> previous_;
};

// The French locale with digit grouping used by the printer tests, when the machine has it.
constexpr const char* kGroupingLocale = "fr_FR.UTF-8";

inline bool LocaleAvailable(const char* name)
{
    try {
        std::locale locale(name);
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

// The lines of a text, each without its line feed (a final line feed ends the last line).
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < text.size()) {
        const std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
