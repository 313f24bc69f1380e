#include "deck/CPelnoFatigue.h"

#include "app/Guarded.h"
#include "app/UserLocale.h"
#include "deck/CardReader.h"
#include "deck/InputFile.h"

CPelnoFatigue::CPelnoFatigue(const CPelnoFatigue& source)
    : context_(source.context_),
      inputPath_(source.inputPath_),
      outputDirectory_(source.outputDirectory_)
{
}

std::int32_t CPelnoFatigue::SetInputFile(const std::string& path)
{
    return EntryGuarded([&] {
        static const MethodLogName log("CPelnoFatigue::SetInputFile");
        inputPath_ = path;
        OpenCardFile(input_, path);
        if (!input_.is_open()) log.Raise(240);
        input_.imbue(UserLocale());
    });
}

std::int32_t CPelnoFatigue::SetContext(const CPelnoFatigueContexte& library)
{
    return EntryGuarded([&] {
        context_.Clear();
        context_ = library;
    });
}

std::int32_t CPelnoFatigue::SetOutputDirectory(const std::string& path)
{
    return EntryGuarded([&] { outputDirectory_ = path; });
}

std::int32_t CPelnoFatigue::Read()
{
    return EntryGuarded([&] {
        static const MethodLogName log("CPelnoFatigue::Read");
        if (!input_.is_open()) log.Raise(240);
        ReadCardFile(input_, log, [&](const CardLine&) { return false; });
    });
}
