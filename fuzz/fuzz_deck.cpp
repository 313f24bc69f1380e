// The data-deck reader on any bytes, with a small fixed context library: reading, validation
// and damage requests (reports written into a folder of the fuzzer's own, emptied after every
// input). The fuzz build limits the histories a request computes (PELNO_FUZZ_HISTORY_LIMIT).
#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "FuzzSupport.h"
#include "deck/CPelnoFatigue.h"
#include "deck/CPelnoFatigueContexte.h"

namespace {

const char* const kContext =
    "*MATERIAU           M\n*TYPE F\n*PARAMETRE 265. 410. 204000. 0.3\n*RPT 100. 241.\n*RPT 200. 223.\n"
    "*FIN_MATERIAU\n"
    "*MATERIAU           A\n*TYPE A\n*PARAMETRE 220. 520. 200000. 0.3\n*RPT 100. 147.\n*FIN_MATERIAU\n"
    "*CLASSE             C\n*PARAMETRE 5000000 41.26 100000000 22.66\n"
    "*PARAMETRES 3. 3.5123e+11 5. 5.9797e+14\n*FIN_CLASSE\n"
    "*CLASSIFICATION     K\n*CORDON_CLASSE      C\n*FIN_CLASSIFICATION\n"
    "*UWCOURBE           U\n*PARAMETRE 410.\n*FIN_UWCOURBE\n";

const CPelnoFatigueContexte& Library()
{
    static const CPelnoFatigueContexte library = [] {
        const std::string path = "/tmp/pelno-fuzz-context-" + std::to_string(::getpid());
        std::ofstream(path) << kContext;
        CPelnoFatigueContexte read;
        if (read.Read(path) != 0) std::abort();
        return read;
    }();
    return library;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SilenceConsole();
    const CPelnoFatigueContexte& library = Library();
    const std::string path = InputFile(data, size);
    std::int32_t code = 0;
    {
        CPelnoFatigue study;
        if (study.SetContext(library) != 0 || study.SetOutputDirectory(ReportDirectory()) != 0 ||
            study.SetInputFile(path) != 0) {
            std::abort();
        }
        code = study.Read();
    }
    EmptyDirectory(ReportDirectory());
    if (code < 0 || code > 480) std::abort();
    return 0;
}
