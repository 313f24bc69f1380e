// The context-file reader on any bytes: it ends with a code, never a crash or a hang.
#include <cstdlib>

#include "FuzzSupport.h"
#include "deck/CPelnoFatigueContexte.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SilenceConsole();
    CPelnoFatigueContexte library;
    const std::int32_t code = library.Read(InputFile(data, size));
    if (code < 0 || code > 480) std::abort();
    return 0;
}
