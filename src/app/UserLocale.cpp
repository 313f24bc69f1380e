#include "app/UserLocale.h"

#include <stdexcept>

std::locale UserLocale()
{
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}
