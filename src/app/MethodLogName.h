#pragma once

#include <cstdint>

// The name a method records on entry, "<Class::Method>", held in a fixed buffer of 60
// characters and a terminating zero. Its only use is as the "%s" of the method's messages.
class MethodLogName {
public:
    // qualifiedName is "Class::Method" (or any text); it is enclosed in "<" and ">".
    explicit MethodLogName(const char* qualifiedName) noexcept;

    const char* c_str() const noexcept { return name_; }

    // Raises the code with the message "<name> : " followed by the code's standard text.
    [[noreturn]] void Raise(std::int32_t code) const;
    // Raises the code with a printf-style format whose only argument is the log name
    // (every format begins with "%s : ").
    [[noreturn]] void Raise(std::int32_t code, const char* format) const;

private:
    char name_[61];
};

// Formats a message into the 512-character buffer the error model uses.
void FormatErrorMessage(char (&buffer)[512], const char* format, const char* logName) noexcept;
