#pragma once

#include <cstdint>

// The one error type of the program: an error code (a multiple of 10) and the formatted
// message naming the method that failed. Only the code ever reaches the console.
class CExceptionPelnoFatigue {
public:
    // Copies the text; a null or empty text leaves the message null.
    CExceptionPelnoFatigue(std::int32_t code, const char* text) noexcept;
    CExceptionPelnoFatigue(const CExceptionPelnoFatigue& source) noexcept;
    CExceptionPelnoFatigue& operator=(const CExceptionPelnoFatigue&) = delete;
    ~CExceptionPelnoFatigue();

    std::int32_t GetCode() const noexcept { return code_; }
    // The message, or null when it could not be copied.
    const char* GetMessage() const noexcept { return message_; }

private:
    static char* CopyText(const char* text) noexcept;

    std::int32_t code_;
    char* message_;
};
