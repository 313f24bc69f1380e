#include "app/RunDriver.h"

#include <cstring>
#include <iostream>
#include <string>

#include "app/ConsoleText.h"
#include "app/RunStatus.h"
#include "deck/CPelnoFatigue.h"
#include "deck/CPelnoFatigueContexte.h"

namespace {

const char* const kUsage =
    "\n"
    "Utilisation : PelnoFatigue.exe -d DATA -c CONTEXT -o OUTPUTDIR\n"
    "\n"
    "Options :\n"
    "  -h,--help\n"
    "      Fait apparaître ce message d'erreur\n"
    "  -d,--data DATA\n"
    "      Permet de définir le chemin complet du fichier de données\n"
    "  -c,--context CONTEXT\n"
    "      Permet de définir le chemin complet du fichier de contexte\n"
    "      contexte : définitions des courbes de fatigue\n"
    "                 définitions des classification de zone soudée selon C11.A5\n"
    "                 définitions des matériaux souvent utilisés\n"
    "  -o,--outputdir OUTPUTDIR\n"
    "      Permet de définir le chemin complet du répertoire qui contiendra les résultats\n"
    "\n";

std::int32_t Usage(std::int32_t status)
{
    WriteConsole(kUsage);
    std::cerr.flush();
    return status;
}

std::int32_t MissingValue(const char* message)
{
    WriteConsole(std::string(message) + "\n");
    std::cerr.flush();
    return 1;
}

std::int32_t Stop(std::int32_t code)
{
    PrintRunStatus(code);
    return code;
}

bool Is(const char* argument, const char* shortForm, const char* longForm)
{
    return std::strcmp(argument, shortForm) == 0 || std::strcmp(argument, longForm) == 0;
}

}  // namespace

std::int32_t RunPelnoFatigue(int argc, const char* const* argv)
{
    // Created before the command line is looked at; the study goes first on the way out.
    CPelnoFatigueContexte library;
    CPelnoFatigue study;

    // --version anywhere on the line: the program's name and version on the standard output,
    // status 0, nothing else read or written.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "PelnoFatigue " PELNO_VERSION "\n";
            std::cout.flush();
            return 0;
        }
    }

    if (argc < 4) return Usage(1);
    for (int i = 1; i < argc; ++i) {
        if (Is(argv[i], "-h", "--help")) return Usage(0);
    }

    bool dataGiven = false;
    bool contextGiven = false;
    bool outputGiven = false;
    for (int i = 1; i < argc; i += 2) {
        const char* option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (Is(option, "-d", "--data")) {
            if (!hasValue) {
                return MissingValue(
                    "L'option -d impose de fournir le chemin complet du fichier de données en argument");
            }
            const std::int32_t code = study.SetInputFile(argv[i + 1]);
            if (code != 0) return Stop(code);
            dataGiven = true;
        } else if (Is(option, "-c", "--context")) {
            if (!hasValue) {
                return MissingValue(
                    "L'option -c impose de fournir le chemin complet du fichier de contexte en argument");
            }
            std::int32_t code = library.Read(argv[i + 1]);
            if (code != 0) return Stop(code);
            code = study.SetContext(library);
            if (code != 0) return Stop(code);
            contextGiven = true;
        } else if (Is(option, "-o", "--outputdir")) {
            if (!hasValue) {
                return MissingValue(
                    "L'option -o impose de fournir le chemin complet du répertoire de sortie en argument");
            }
            const std::int32_t code = study.SetOutputDirectory(argv[i + 1]);
            if (code != 0) return Stop(code);
            outputGiven = true;
        } else {
            return Usage(1);
        }
    }
    if (!dataGiven || !contextGiven || !outputGiven) return Usage(1);
    return Stop(study.Read());
}
