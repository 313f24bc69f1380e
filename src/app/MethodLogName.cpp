#include "app/MethodLogName.h"

#include <cstdio>
#include <cstring>

#include "app/CExceptionPelnoFatigue.h"
#include "app/ErrorCatalog.h"

MethodLogName::MethodLogName(const char* qualifiedName) noexcept
{
    std::snprintf(name_, sizeof name_, "<%s>", qualifiedName != nullptr ? qualifiedName : "");
}

void FormatErrorMessage(char (&buffer)[512], const char* format, const char* logName) noexcept
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    std::snprintf(buffer, sizeof buffer, format, logName);
#pragma GCC diagnostic pop
}

void MethodLogName::Raise(std::int32_t code, const char* format) const
{
    char message[512];
    FormatErrorMessage(message, format, name_);
    throw CExceptionPelnoFatigue(code, message);
}

void MethodLogName::Raise(std::int32_t code) const
{
    const char* text = ErrorText(code);
    char message[512];
    std::snprintf(message, sizeof message, "%s : %s", name_, text != nullptr ? text : "");
    throw CExceptionPelnoFatigue(code, message);
}
