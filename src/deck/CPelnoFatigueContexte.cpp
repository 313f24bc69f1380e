#include "deck/CPelnoFatigueContexte.h"

#include <fstream>

#include "app/Guarded.h"
#include "deck/CardReader.h"
#include "deck/InputFile.h"

CPelnoFatigueContexte& CPelnoFatigueContexte::operator=(const CPelnoFatigueContexte& source)
{
    static const MethodLogName log("CPelnoFatigueContexte::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueContexte& {
        if (this != &source) {
        }
        return *this;
    });
}

void CPelnoFatigueContexte::Clear()
{
}

std::int32_t CPelnoFatigueContexte::Read(const std::string& path)
{
    return EntryGuarded([&] {
        static const MethodLogName log("CPelnoFatigueContexte::Read");
        std::ifstream input;
        OpenCardFile(input, path);
        if (!input.is_open()) log.Raise(350);
        ReadCardFile(input, log, [&](const CardLine&) { return false; });
    });
}
