#pragma once

#include <locale>

// The user's environment locale (the locale of empty name), or the classic locale when the
// environment names a locale that cannot be created.
std::locale UserLocale();
