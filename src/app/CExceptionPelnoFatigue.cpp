#include "app/CExceptionPelnoFatigue.h"

#include <cstdlib>
#include <cstring>

char* CExceptionPelnoFatigue::CopyText(const char* text) noexcept
{
    if (text == nullptr || text[0] == '\0') return nullptr;
    const std::size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (copy != nullptr) std::memcpy(copy, text, size);
    return copy;
}

CExceptionPelnoFatigue::CExceptionPelnoFatigue(std::int32_t code, const char* text) noexcept
    : code_(code), message_(CopyText(text))
{
}

CExceptionPelnoFatigue::CExceptionPelnoFatigue(const CExceptionPelnoFatigue& source) noexcept
    : code_(source.code_), message_(CopyText(source.message_))
{
}

CExceptionPelnoFatigue::~CExceptionPelnoFatigue()
{
    std::free(message_);
}
