#pragma once

// Small context and data decks for the damage tests: the card texts of materials, components,
// unwelded zones, stress records, histories and requests, and a study read from them in the
// test process.

#include <memory>
#include <string>
#include <vector>

#include "deck/CPelnoFatigue.h"
#include "deck/CPelnoFatigueContexte.h"
#include "support/ReaderTestSupport.h"
#include "support/RunProgram.h"

namespace deck {

// A card keyword padded to column 21, where names begin.
inline std::string Card(const std::string& keyword, const std::string& name)
{
    std::string line = keyword;
    line.resize(20, ' ');
    return line + name + "\n";
}

// Type letter F or A; rpt: "*RPT" values such as "100. 241.".
inline std::string Material(const std::string& name, const std::string& type, const std::string& parameters,
                            const std::vector<std::string>& rpt = {})
{
    std::string text = Card("*MATERIAU", name) + "*TYPE " + type + "\n*PARAMETRE " + parameters + "\n";
    for (const std::string& pair : rpt) text += "*RPT " + pair + "\n";
    return text + "*FIN_MATERIAU\n";
}

// parameters: thickness, roughness, external pressure.
inline std::string Component(const std::string& name, const std::string& parameters, const std::string& material)
{
    return Card("*COMPOSANT", name) + "*TYPE GENERAL\n*PARAMETRE " + parameters + "\n" +
           Card("*COMPOSANT_MATERIAU", material) + "*FIN_COMPOSANT\n";
}

// kt empty: no "*PARAMETRE" card (Kt = 1).
inline std::string Zone(const std::string& name, const std::string& component, const std::string& kt = "")
{
    std::string text = Card("*UWZONE", name) + Card("*UWZONE_COMPOSANT", component);
    if (!kt.empty()) text += "*PARAMETRE " + kt + "\n";
    return text + "*FIN_UWZONE\n";
}

// One plain record: temperature, total, linearised mechanical and linearised thermal tensors
// (six numbers each); the membrane tensor is zero and the pressure 0.
struct Record {
    std::string temperature;
    std::string sij;
    std::string sijlm;
    std::string sijlt;
};

constexpr const char* kZero = "0. 0. 0. 0. 0. 0.";

inline std::string History(const std::string& name, const std::string& zone, const std::vector<Record>& records)
{
    std::string text = Card("*HISTORIQUE", name) + Card("*HISTORIQUE_UWZONE", zone);
    int number = 0;
    for (const Record& record : records) {
        text += Card("*RELEVE", "R" + std::to_string(number++)) + "*PARAMETRE 0. " + record.temperature + "\n" +
                "*SIJ " + record.sij + "\n*SIJM " + kZero + "\n*SIJLM " + record.sijlm + "\n*SIJLT " +
                record.sijlt + "\n*FIN_RELEVE\n";
    }
    return text + "*FIN_HISTORIQUE\n";
}

// A request block; method is the counting card ("*RAINFLOW", "*RESERVOIR" or "" for none).
inline std::string Request(const std::string& history, const std::string& file,
                           const std::string& method = "*RAINFLOW")
{
    std::string text = "*DOMMAGE\n" + Card("*POINT_HISTORIQUE", history) + Card("*FICHIER_SORTIE", file);
    if (!method.empty()) text += method + "\n";
    return text + "*FIN_DOMMAGE\n";
}

// A study read in the test process from a context text and a data text (echo swallowed).
struct Study {
    std::unique_ptr<CPelnoFatigue> study = std::make_unique<CPelnoFatigue>();
    int code = -1;
};

inline Study ReadStudy(const std::string& context, const std::string& data,
                       const std::string& outputDirectory = "")
{
    const std::string dir = MakeTempDirectory();
    WriteFile(dir + "/contexte.txt", context);
    WriteFile(dir + "/donnees.dat", data);
    CapturedErrors errors;
    CPelnoFatigueContexte library;
    Study result;
    if (library.Read(dir + "/contexte.txt") != 0) return result;
    result.study->SetContext(library);
    result.study->SetOutputDirectory(outputDirectory);
    result.study->SetInputFile(dir + "/donnees.dat");
    result.code = result.study->Read();
    return result;
}

}  // namespace deck
