#pragma once

#include <cstdint>
#include <utility>

#include "app/CExceptionPelnoFatigue.h"
#include "app/MethodLogName.h"

// The catch rules every method follows: an error of the program passes unchanged, any other
// failure (out-of-range substring, exhausted memory, ...) becomes code 10 "Erreur inconnue"
// under the catching method's log name.
template <class Body>
decltype(auto) Guarded(const MethodLogName& log, Body&& body)
{
    try {
        return std::forward<Body>(body)();
    } catch (const CExceptionPelnoFatigue&) {
        throw;
    } catch (...) {
        log.Raise(10);
    }
}

// The rule of the entry operations the run driver calls: nothing leaves them, they return
// 0, the code of the program's error, or 10 for any other failure.
template <class Body>
std::int32_t EntryGuarded(Body&& body) noexcept
{
    try {
        std::forward<Body>(body)();
        return 0;
    } catch (const CExceptionPelnoFatigue& error) {
        return error.GetCode();
    } catch (...) {
        return 10;
    }
}
