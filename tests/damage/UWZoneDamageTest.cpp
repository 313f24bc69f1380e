// The damage rate of an unwelded zone by the critical plane, checked by its numbers and by its
// report. Every expected value below comes from a hand derivation written next to it (the
// fixed-point loops of Cs, Ce and Cm, where they do not stop at once, were run by a separate
// script written from the rules of the code, not from this program).
//
// The histories are proportional shear in the xy plane on top of a hydrostatic compression:
// record i is (Sxx, Sxy, Sxz, Syy, Syz, Szz) = (-p, tau, 0, -p, 0, -p). Then on every plane the
// shear vector of record i is tau_i times the shear vector of the unit xy shear, so the DSigmaEq
// series of any plane is the series of the plane Theta = Phi = 0 (where the shear is tau_i
// itself, the largest possible) scaled by a factor <= 1; smaller ranges give more permissible
// cycles, so no plane beats the first one in loop order. With p > |tau| every normal stress of
// every plane is negative, the sum of positive normal stresses is 0 everywhere and the
// tie-break never acts: the search table has exactly one row, the first plane.
#include "damage/UWZoneDamage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "app/CExceptionPelnoFatigue.h"
#include "damage/CPelnoFatigueRainFlow.h"
#include "damage/CPelnoFatigueTresca.h"
#include "damage/DamageDeck.h"
#include "support/ReaderTestSupport.h"
#include "support/RunProgram.h"

namespace {

const MethodLogName kLog("CPelnoFatigueClause::DamageUWZoneCriticalPlane");

// ---------------------------------------------------------------------------------------------
// Decks

// (-p, tau, 0, -p, 0, -p) as card numbers (0 - p: no negative zero).
std::string Shear(double tau, double p)
{
    const double normal = 0.0 - p;
    char text[128];
    std::snprintf(text, sizeof text, "%.6g %.6g 0 %.6g 0 %.6g", normal, tau, normal, normal);
    return text;
}

// Material F of the worked example: Re20 265, Rm 410, E 204000, nu 0.3.
const std::string kContext = deck::Material("F", "F", "265. 410. 204000. 0.3", {"100. 241.", "200. 223."});

// Worked example 1 (total stresses): thickness 20, roughness 1, zone without Kt, three
// records at 20 °C: zero, (-200, 150, 0, -200, 0, -200) as total and linearised mechanical
// tensor, zero.
std::string DeckOne()
{
    const std::string r1 = "-200. 150. 0. -200. 0. -200.";
    return deck::Component("C", "20. 1. 0.", "F") + deck::Zone("Z", "C") +
           deck::History("H", "Z",
                         {{"20.", deck::kZero, deck::kZero, deck::kZero},
                          {"20.", r1, r1, deck::kZero},
                          {"20.", deck::kZero, deck::kZero, deck::kZero}});
}

// Worked example 2 (geometric stresses): thickness 40, roughness 10, zone Kt 1.5, five records
// (T; tau, p) = (20; 0, 0), (150; 100, 150), (100; 20, 60), (150; 80, 120), (20; 0, 0), the
// linearised mechanical tensor equal to the total one, no thermal part.
std::string DeckTwo(const std::string& material = "F")
{
    std::vector<deck::Record> records;
    const double table[5][3] = {{20, 0, 0}, {150, 100, 150}, {100, 20, 60}, {150, 80, 120}, {20, 0, 0}};
    for (const auto& row : table) {
        const std::string t = Shear(row[1], row[2]);
        records.push_back({std::to_string(static_cast<int>(row[0])) + ".", t, t, deck::kZero});
    }
    return deck::Component("C", "40. 10. 0.", material) + deck::Zone("Z", "C", "1.5") +
           deck::History("H", "Z", records);
}

// Three records at 20 °C: zero, one state, zero; thickness 20, roughness 1, no zone Kt.
std::string DeckPulse(const std::string& total, const std::string& mechanical, const std::string& thermal,
                      const std::string& material = "F")
{
    return deck::Component("C", "20. 1. 0.", material) + deck::Zone("Z", "C") +
           deck::History("H", "Z",
                         {{"20.", deck::kZero, deck::kZero, deck::kZero},
                          {"20.", total, mechanical, thermal},
                          {"20.", deck::kZero, deck::kZero, deck::kZero}});
}

// ---------------------------------------------------------------------------------------------
// Running the procedure

struct Outcome {
    UWZoneDamageResult result;
    std::string report;
    int code = 0;
    std::string message;
};

Outcome RunOn(const CPelnoFatigue& study, const CPelnoFatigueHistorique& history,
              const CPelnoFatigueCountingMethod& method, bool withReport = true)
{
    CPelnoFatigueTresca tresca;
    UWZoneDamage procedure(kLog, study, history, method, tresca);
    std::ostringstream out;
    out.imbue(std::locale::classic());
    Outcome outcome;
    try {
        outcome.result = procedure.Run(withReport ? &out : nullptr);
    } catch (const CExceptionPelnoFatigue& error) {
        outcome.code = error.GetCode();
        outcome.message = error.GetMessage() != nullptr ? error.GetMessage() : "";
    }
    outcome.report = out.str();
    return outcome;
}

Outcome RunDeck(const std::string& context, const std::string& data, bool withReport = true)
{
    const deck::Study read = deck::ReadStudy(context, data);
    EXPECT_EQ(read.code, 0);
    CPelnoFatigueRainFlow rainflow;
    return RunOn(*read.study, read.study->GetHistory("H"), rainflow, withReport);
}

// ---------------------------------------------------------------------------------------------
// The report text, built from the written layout

std::string Repeat(char c, int count) { return std::string(static_cast<std::size_t>(count), c); }

std::string Box(char border, int count, const std::vector<std::string>& titles)
{
    std::string text = Repeat(border, count) + "\n";
    for (const std::string& title : titles) text += title + "\n";
    return text + Repeat(border, count) + "\n";
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// A right-aligned field.
std::string Pad(const std::string& text, int width)
{
    return text.size() >= static_cast<std::size_t>(width) ? text
                                                           : std::string(width - text.size(), ' ') + text;
}

std::string Fixed(double value, int width)
{
    char text[64];
    std::snprintf(text, sizeof text, "%*.3f", width, value);
    return text;
}

std::string Int(long long value, int width) { return Pad(std::to_string(value), width); }

std::string Scientific(double value, int digits, int width)
{
    char text[64];
    std::snprintf(text, sizeof text, "%*.*e", width, digits, value);
    return text;
}

// "| " + fields joined by " | " + " |".
std::string Row(const std::vector<std::string>& fields)
{
    std::string text = "|";
    for (const std::string& field : fields) text += " " + field + " |";
    return text + "\n";
}

template <class T>
std::string Printed(const T& object)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << object;
    return out.str();
}

const std::vector<std::string> kSymbols = {
    "DSigmaEq  : Variation équivalente des contraintes - cf. C11.3.9.2.3d2",
    "            égale à 2. fois la variation de longueur du vecteur cisaillement",
    "DSigmaF   : Etendue de contrainte totale corrigée effective calculée à partir de DSigmaR",
    "            DSigmaR --> DSigmaF : selon PELNO Division 2 : 2015 §C11.3.11.2",
    "            DSigmaF est noté DSigma*T,eff dans le PELNO",
    "            (DSigmaF/Cr) est utilisée pour trouver le nombre N de cycles admissibles",
    "DSigmaR   : Taille du cycle de contraintes extrait de l'historique de DSigmaEq",
    "DSigmaRl  : Variation totale de la contrainte linéarisée durant le cycle",
    "DSigmaRlm : Variation de la partie linéarisée des contraintes mécaniques durant le cycle",
    "DSigmaRlt : Variation de la partie linéarisée des contraintes thermiques durant le cycle",
    "Ce        : Coefficient de correction d'épaisseur selon PELNO Division 2 : 2015 C11.3.12.3",
    "Cm        : Coefficient de correction de contraine moyenne selon PELNO Division 2 : 2015 C11.3.12.3",
    "Cs        : Coefficient de correction d'état de surface selon PELNO Division 2 : 2015 C11.3.12.3",
    "CtR       : Coefficient de correction de température selon PELNO Division 2 : 2015 C11.3.12.3",
    "            Noté Ct dans le PELNO mais s'applique à la température moyenne de cycle t*",
    "Cr        : Coefficient global de correction selon PELNO Division 2 : 2015 C11.3.12.3",
    "Ke        : Coefficient de correction de plasticité pour les contraintes d'origine mécanique",
    "            Selon PELNO Division 2 : 2015 C11.3.11.1",
    "Kf        : Coefficient global de concentration de contrainte effective",
    "            Kt ---> Kf selon PELNO Division 2 : 2015 C11.3.11.2",
    "Kt        : Coefficient global de concentration de contrainte théorique",
    "Kv        : Coefficient de correction de plasticité pour les contraintes d'origine thermique",
    "            Selon PELNO Division 2 : 2015 C11.3.11.1",
    "            Prends en compte la variation du coefficient de Poisson entre élasticité et plasticité",
    "N         : Nombre de cycles admissibles donné par la courbe de fatigue - cf. C11.3.13",
    "N0        : Instant d'origine déterminant pour le paramètre d'endommagement - cf. C11.3.9.2.3",
    "            N0 est noté t0 dans le PELNO",
    "Phi       : Angle Phi du plan d'analyse - cf. Figure C11.3.9.2.3a",
    "Rpt       : Limite d'élasticité du matériau à la température du cycle",
    "SigmaEq   : Contrainte équivalente",
    "SigmaEqM  : Contrainte équivalente maximale durant le cycle",
    "Sigmo     : Contrainte moyenne durant le cycle - cf. C11.3.9.2.3j2",
    "Sx'x'     : Contrainte normale sur le plan d'analyse défini par Theta et Phi - cf. C11.3.9.2.3b1",
    "Sx'x' Som : Cumul des contrainte normales positives pour le plan d'analyse et l'instant d'origine",
    "            Utilisé pour choisir le plan le plus critique parmi les plans qui voient le même endommagement",
    "            Voir C11.3.9.2.3i) - ce paragraphe n'est pas exactement respecté !",
    "            Le Kt de la zone analysée n'est pas pris en compte (--> pas d'influence sur le résultat)",
    "Sx'y'     : Composante de la contrainte de cisaillement sur le plan défini par Theta et Phi",
    "Sx'z'     : Composante de la contrainte de cisaillement sur le plan défini par Theta et Phi",
    "            Pour Sx'y' et Sx'z' voir C11.3.9.2.3b2 et b3",
    "Theta     : Angle Theta du plan d'analyse - cf. Figure C11.3.9.2.3a)",
    "Temp      : Température ou température moyenne t* du cycle selon C11.3.5.22",
};

const std::string kSearchHeader = "|    Theta   |    Phi     |    N0      |  Dommage   |  Sx'x' Som |";

// The opening of the report: title, the five framed objects (written by their own printers,
// which set no format), symbols, the search preamble and the header of its table.
std::string Opening(const CPelnoFatigue& study)
{
    const CPelnoFatigueHistorique history = study.GetHistory("H");
    const CPelnoFatigueUWZone zone = study.GetUWZone(history.GetZoneName());
    const CPelnoFatigueComposant component = study.GetComponent(zone.GetComponentName());
    const CPelnoFatigueMateriau material = study.GetContext().GetMaterial(component.GetMaterialName());
    const CPelnoFatigueUWCourbe curve = study.GetContext().GetUWCurve(zone.GetCurveName());
    return "\n" + Repeat('*', 87) + "\n" +
           "* Calcul du taux d'endommagement pour une zone non soudée selon C11.3.9.2.3           *\n"
           "* Le calcul est basé sur la recherche itérative du plan critique pour l'endommagement *\n" +
           Repeat('*', 87) + "\n\n" +
           Box('+', 71, {"+ Définition du composant auquel appartient la zone critique analysée +"}) + "\n" +
           Printed(component) + "\n\n" +
           Box('+', 45, {"+ Caractéristiques du matériau du composant +"}) + "\n" + Printed(material) + "\n\n" +
           Box('+', 49, {"+ Caractéristiques de la zone critique analysée +"}) + "\n" + Printed(zone) + "\n\n" +
           Box('+', 47, {"+ Définition de la courbe de fatigue utilisée +"}) + "\n" + Printed(curve) + "\n\f\n" +
           Box('*', 63,
               {"* Historique des contraintes qui sollicitent la zone analysée *",
                "* (Rappel des valeurs fournies - Kt de la zone non appliqué)  *"}) +
           "\n" + Printed(history) + "\n\f\n" + Box('+', 12, {"+ Symboles +"}) + "\n" + Lines(kSymbols) + "\f\n" +
           Box('+', 48, {"+ Recherche du plan critique selon C11.3.9.2.3 +"}) + "\n" +
           Lines({
               "L'objectif est de trouver un plan qui est vraisemblablement l'un des (le) plus critiques!",
               "Pendant la recherche un coefficient global de correction Cr très faible de 0,2 est utilisé,",
               "ainsi presque tous les cycles sont pris en compte (de très petits cycle sont comptés)",
               "Des cycles qui seront négligés dans le calcul final de l'endommagement sont donc pris en compte",
               "Le taux d'endommagement qui apparaît dans le tableau suivant n'est pas significatif",
               "Le tableau retranscrit la suite des itérations effectuées par le logiciel",
               "Un taux d'endommagement est écrit dès lors qu'il devient le plus élevé déjà rencontré !",
           }) +
           "\n" + kSearchHeader + "\n";
}

// The first search row is written in the stream's default format left by the printers.
std::string FirstSearchRow(double damage)
{
    return Row({Pad("0", 10), Pad("0", 10), Pad("0", 10), Scientific(damage, 3, 10), Fixed(0.0, 10)});
}

const std::string kPlaneHeader = "|    Temps   |    Sx'x'   |    Sx'y'   |    Sx'z'   |   SigmaEq  |   Temp.    |";

std::string PlaneTable(const std::vector<std::vector<double>>& rows)
{
    std::string text = "\n" +
                       Box('+', 68,
                           {"+ Contraintes normale et de cisaillement sur le plan déterminant   +",
                            "+ Contrainte équivalente et température associée à ces contraintes +"}) +
                       "\n" + "Angle Theta du plan critique              : 0.000\n" +
                       "Angle Phi du plan critique                : 0.000\n" +
                       "Instant d'origine déterminant sur ce plan : 0\n\n" + kPlaneHeader + "\n";
    for (const auto& r : rows) {
        text += Row({Int(static_cast<long long>(r[0]), 10), Fixed(r[1], 10), Fixed(r[2], 10), Fixed(r[3], 10),
                     Fixed(r[4], 10), Fixed(r[5], 10)});
    }
    return text;
}

std::string SeriesTable(const std::vector<std::pair<int, double>>& points)
{
    std::string text = "\n" + Box('+', 62, {"+ Variation équivalente des contraintes sur le plan critique +"}) + "\n" +
                       "|    Temps   |  DSigmaEq  |\n";
    for (const auto& point : points) text += Row({Int(point.first, 10), Fixed(point.second, 10)});
    return text;
}

std::string CycleHeader(int count)
{
    return "\n" + Box('+', 73, {"+ Taille des cycles de contraintes extraits de l'historique de DSigmaEq +"}) +
           "\nNombres des cycles extraits de l'historique : " + std::to_string(count) + "\n\n" +
           "| Temps1 | Temps2 | Temps3 |  DSigmaR | DSigmaRlm| DSigmaRlt| DSigmaRl |   Sigmo  | SigmaEqM |  Temp.  |\n"
           "| Début  | Pic    | Fin    |          |          |          |          |          |          |         |\n";
}

// Start, Peak, End, DSigmaR, DSigmaRlm, DSigmaRlt, DSigmaRl, Sigmo, SigmaEqM, Temp.
std::string CycleRow(int start, int peak, int end, const std::vector<double>& v)
{
    return Row({Int(start, 6), Int(peak, 6), Int(end, 6), Fixed(v[0], 8), Fixed(v[1], 8), Fixed(v[2], 8),
                Fixed(v[3], 8), Fixed(v[4], 8), Fixed(v[5], 8), Fixed(v[6], 7)});
}

const std::string kPlasticityText =
    "\n" + Box('+', 29, {"+ Corrections de plasticité +"}) + "\n" +
    Lines({
        "Si (DSigmal>2.*Rpt)",
        "     --> Les variations de contraintes géométriques DSigmaRlm, DSigmaRlt, DSigmaRl doivent être amplifiées",
        "     --> L'étendue de contraintes totales DSigmaR doit être amplifiée",
        "     --> La contrainte moyenne Sigmo associée au cycle doit être amplifiée",
        "Quand il n'existe que des contraintes d'origine mécanique",
        "     Ke est le coefficient de correction de plasticité pour les contraintes d'origine mécanique",
        "     Ke est calculé à partir de DSigmaRlm selon PELNO Division 2 : 2015 C11.3.11.1.2",
        "     DSigmaRlm, DSigmaRl, DSigmaR et Sigmo sont multipliés par Ke",
        "Quand il n'existe que des contraintes d'origine thermique",
        "     Kv est le coefficient de correction de plasticité pour les contraintes d'origine thermique",
        "     Kv est calculé à partir de DSigmaRlt selon PELNO Division 2 : 2015 C11.3.11.1.2",
        "     Pour une justification détaillée de la formulation retenue voir RCC-M Criteria - Annexe 8 - A8-3.5",
        "     DSigmaRlt, DSigmaRl, DSigmaR et Sigmo sont multipliés par Kv",
        "Quand il existe des contraintes d'origine mécanique et des contraintes d'origine thermique",
        "     Le logiciel calcule Ke comme précédemment (--> Ke calculé à partir de DSigmaRlm)",
        "     Le logiciel calcule Kv comme précédemment (--> Kv calculé à partir de DSigmaRlt)",
        "     Le logiciel amplifie DSigmaRl en utilisant une combinaison des coefficients Ke et Kv",
        "     La formulation utilisée est décrite en C11.3.11.1.2 : DSigmaRl-->ke*A+kv*B",
        "     DSigmaR est amplifié en écrivant : DSigmaR-->DSigmaR*(ke*A+kv*B)/DSigmaRl",
        "     Sigmo est amplifié de façon semblable",
        "     DSigmaRlm est multiplié par Ke",
        "     DSigmaRlt est multiplié par Kv",
    }) +
    "\n" +
    Lines({
        "Pour chaque cycle de contraintes extrait de l'historique de DSigmaEq le tableau suivant donne :",
        "     - La taille du cycle avant (ligne 1) et après (ligne 2) la correction de plasticité",
        "     - Les Principaux paramètres utilisés pour effectuer la correction (lignes 1 et 2)",
    }) +
    "\n" +
    "| Temps1 | Temps2 | Temps3 | DSigmaR  |  Sigmo   | DSigmaRl | DSigmaRlm| DSigmaRlt|   Temp.  |   Rpt    |\n"
    "| Début  | Pic    | Fin    | DSigmaR  |  Sigmo   | DSigmaRl | DSigmaRlm| DSigmaRlt|     Ke   |   Kv     |\n";

const std::string kPlasticityEmptyRow =
    "|        |        |        |          |          |          |          |          |          |          |\n";

// before: DSigmaR, Sigmo, DSigmaRl, DSigmaRlm, DSigmaRlt, Temp, Rpt;
// after: DSigmaR, Sigmo, DSigmaRl, DSigmaRlm, DSigmaRlt, Ke, Kv.
std::string PlasticityRows(int start, int peak, int end, const std::vector<double>& before,
                           const std::vector<double>& after)
{
    std::vector<std::string> first = {Int(start, 6), Int(peak, 6), Int(end, 6)};
    for (double v : before) first.push_back(Fixed(v, 8));
    std::vector<std::string> second = {"      ", "      ", "      "};
    for (double v : after) second.push_back(Fixed(v, 8));
    return kPlasticityEmptyRow + kPlasticityEmptyRow + Row(first) + Row(second);
}

const std::vector<std::string> kGeometricText = {
    "Les contraintes fournies sont des contraintes géométriques",
    "La taille du cycle de contraintes DSigmaR est basée sur des contraintes géométriques amplifiées",
    "DSigmaF = (Kf/Kt)*DSigmaR",
    "(DSigmaF/Cr) est l'étendue de contrainte utilisée pour trouver le nombre N de cycles admissibles",
    "Kf est une fonction de Kt, Kt est une donnée caractéristique de la zone étudiée",
    "Cette fonction est décrite en C11.3.11.2",
    "Cr est le coefficient global de correction - Cr=CtR*Ce*Cs*Cm",
    "Les coefficients de correction sont calculés à partir de DSigmaF",
    "Lorsque la recherche de la valeur d'un coefficient nécessite un calcul itératif (--> Cs,Ce,Cm)",
    "la valeur du coefficient est déterminée dans une boucle à part, en fixant à 1.",
    "les valeurs des autres coefficients ",
    "(--> pour le coefficient la convergence n'est pas atteinte pour le résultat N affiché !)",
};

const std::vector<std::string> kTotalText = {
    "Les contraintes fournies sont des contraintes totales",
    "La taille du cycle de contraintes DSigmaR est basée sur des contraintes totales",
    "Le coefficient global de concentration de contrainte théorique Kt est d'abord calculé",
    "Kt = DsigmaR / Dsigmal (--> contraintes totales/géométriques)",
    "Le coefficient Kf est une fonction de Kt, cette fonction est décrite en C11.3.11.2",
    "DSigmaF = (Kf/Kt)*DSigmaR",
    "(DSigmaF/Cr) est l'étendue de contrainte utilisée pour trouver le nombre N de cycles admissibles",
    "Cr est le coefficient global de correction - Cr=CtR*Ce*Cs*Cm",
    "Les coefficients de correction sont calculés à partir de DSigmaF",
    "Lorsque la recherche de la valeur d'un coefficient nécessite un calcul itératif (--> Cs,Ce,Cm)",
    "la valeur du coefficient est déterminée dans une boucle à part, en fixant à 1.",
    "les valeurs des autres coefficients ",
    "(--> pour le coefficient la convergence n'est pas atteinte pour le résultat N affiché !)",
};

// zoneKt < 0: the total-stress text.
std::string FinalHeader(double zoneKt, double Rm, double e, double Rz, double Dfinal)
{
    std::string text = "\n" + Box('+', 40, {"+ Calcul final du taux d'endommagement +"}) + "\n";
    if (zoneKt > 0) {
        text += Lines(kGeometricText) + "\n" + "Kt caractéristique de la zone étudiée       : " + Fixed(zoneKt, 0) + "\n";
    } else {
        text += Lines(kTotalText) + "\n";
    }
    return text + "Résistance à la traction à l'ambiante (MPa) : " + Fixed(Rm, 0) + "\n" +
           "Epaisseur du composant (mm)                 : " + Fixed(e, 0) + "\n" +
           "Rugosité du composant (micro mètre)         : " + Fixed(Rz, 0) + "\n" +
           "Plus grand cycle du spectre de calcul (MPa) : " + Fixed(Dfinal, 0) + "\n\n" +
           "| Temps1 | Temps2 | Temps3 | DSigmaR  | DSigmaRl | DSigmaRlm| DSigmaRlt|    Sigmo   |  SigmaEqM  |\n"
           "| Début  | Pic    | Fin    |    Kt    |   Kf     |          |          |            |            |\n"
           "|        |        |        |   Temp   |  DSigmaF |   CtR    |    Cm    |     Ce     |     Cs     |\n"
           "|        |        |        |          |          |          |    Cr    |      N     |  Dommage   |\n";
}

struct FinalCycle {
    int start, peak, end;
    double DSigmaR, DSigmaRl, DSigmaRlm, DSigmaRlt, Sigmo, SigmaEqM;
    double Kt, Kf;
    double Temp, DSigmaF, CtR, Cm, Ce, Cs;
    double Cr;
    long long N;
};

std::string FinalRows(const FinalCycle& c)
{
    const std::string empty =
        "|        |        |        |          |          |          |          |            |            |\n";
    return empty + empty +
           Row({Int(c.start, 6), Int(c.peak, 6), Int(c.end, 6), Fixed(c.DSigmaR, 8), Fixed(c.DSigmaRl, 8),
                Fixed(c.DSigmaRlm, 8), Fixed(c.DSigmaRlt, 8), Fixed(c.Sigmo, 10), Fixed(c.SigmaEqM, 10)}) +
           "|        |        |        | " + Fixed(c.Kt, 8) + " | " + Fixed(c.Kf, 8) +
           " |          |          |            |            |\n" +
           Row({"      ", "      ", "      ", Fixed(c.Temp, 8), Fixed(c.DSigmaF, 8), Fixed(c.CtR, 8), Fixed(c.Cm, 8),
                Fixed(c.Ce, 10), Fixed(c.Cs, 10)}) +
           "|        |        |        |          |          |          | " + Fixed(c.Cr, 8) + " | " + Int(c.N, 10) +
           " | " + Scientific(1.0 / static_cast<double>(c.N), 3, 10) + " |\n";
}

std::string Closing(double total)
{
    return "\n\n\nTaux d'endommagement total pour l'historique de contraintes : " + Scientific(total, 4, 10) + "\n" +
           Repeat('*', 61) + "\n\f";
}

// ---------------------------------------------------------------------------------------------
// Worked example 1, by hand.
//
// Search: on Theta = Phi = 0, Sx'y' = Sxy and Sx'z' = Sxz, so from origin 0 the series is
// 0, 2*150 = 300, 0 and the closing 0. Rainflow: the closing flat merges, the residue 0, 300, 0
// is doubled and gives one cycle of 300 between the points of instants 1 and 0, lower extreme at
// instant 0; CycleEnds from instant 0 reaches the level 300 at instant 1 both ways: Start 1,
// Peak 0, End 1. Origins 1 and 2 give the same single range (300, then 0 and 300), so the
// earliest origin, 0, stays. Curve of Rm 410: DSigmaD = 0.63*410 + 46000/sqrt(2e6) - 11.5 =
// 279.3269; search x = 300/0.2 = 1500 >= DSigmaD: N = (46000/(1500 - 258.3 + 11.5))^2 =
// 1347.33 -> 1347, plane damage 1/1347.
//
// Cycle: DSigmaR 300; DSigmaRlm = Tresca(R1 - R0): principal stresses -200 +- 150 and -200, so
// 300; DSigmaRlt 0; DSigmaRl 300; over records 0 and 1: Sigmo = (0 - 200)/2 = -100, Temp 20,
// SigmaEqM = Tresca(R1) = 300. Rpt(20) = Re20 = 265: 300 <= 530, no correction; Dfinal 300.
// Final: N0 = (46000/(300 - 258.3 + 11.5))^2 = 747638.9 -> 747639. Total stresses: Kt =
// DSigmaR/DSigmaRl = 1, Kt*DSigmaRl = 300 > DSigmaD but Kt = 1 gives Kf = 1; DSigmaF = 300.
// CtR = 1 (20 °C), Cs = 1 (Rz 1 < 6), Ce = 1 (e 20 < 25, the loop stops after one pass).
// Cm: M = 0.00035*410 - 0.1 = 0.0435; |SigmaEqM| = 300 > Rpt and Sigmo <= 0, so
// sigma_mr = DSigmaF/2 - Rpt = -115, within [-265, 300/(2*1.0435) = 143.7] and N below 2e6:
// Cm = sqrt(1 - (M(M+2)/(M+1))*(2*(-115)/300)) = sqrt(1 + 0.0851868*0.766667) = 1.0321384
// (the law does not depend on N below 2e6, so the loop stops on its second pass). Cr = Cm;
// x = 300/1.0321384 = 290.6587: N = (46000/(290.6587 - 246.8))^2 = 1100029.8 -> 1100029;
// total = 1/1100029 = 9.0907e-07.
const double kCm1 = std::sqrt(1.0 - (0.0435 * 2.0435 / 1.0435) * (2.0 * -115.0 / 300.0));

void ExpectExampleOneNumbers(const UWZoneDamageResult& r)
{
    EXPECT_EQ(r.end, UWZoneDamageResult::End::Complete);
    EXPECT_EQ(r.plane.theta, 0.0);
    EXPECT_EQ(r.plane.phi, 0.0);
    EXPECT_EQ(r.plane.origin, 0);
    EXPECT_DOUBLE_EQ(r.plane.damage, 1.0 / 1347.0);
    EXPECT_EQ(r.plane.normalSum, 0.0);
    EXPECT_EQ(r.seriesInstants, (std::vector<std::int32_t>{0, 1, 2, 0}));
    ASSERT_EQ(r.seriesValues.size(), 4u);
    EXPECT_NEAR(r.seriesValues[1], 300.0, 1e-9);
    EXPECT_EQ(r.seriesValues[0], 0.0);
    EXPECT_EQ(r.seriesValues[2], 0.0);
    EXPECT_EQ(r.seriesValues[3], 0.0);
    ASSERT_EQ(r.cycles.size(), 1u);
    const UWZoneCycle& c = r.cycles[0];
    EXPECT_EQ(c.cycle.Start, 1);
    EXPECT_EQ(c.cycle.Peak, 0);
    EXPECT_EQ(c.cycle.End, 1);
    EXPECT_NEAR(c.counted.DSigmaR, 300.0, 1e-9);
    EXPECT_NEAR(c.counted.DSigmaRlm, 300.0, 1e-6);
    EXPECT_NEAR(c.counted.DSigmaRlt, 0.0, 1e-12);
    EXPECT_NEAR(c.counted.DSigmaRl, 300.0, 1e-6);
    EXPECT_NEAR(c.counted.Sigmo, -100.0, 1e-9);
    EXPECT_NEAR(c.counted.Temp, 20.0, 1e-12);
    EXPECT_NEAR(c.counted.SigmaEqM, 300.0, 1e-6);
    EXPECT_NEAR(c.corrected.DSigmaR, 300.0, 1e-9);
    EXPECT_NEAR(c.corrected.Sigmo, -100.0, 1e-9);
    EXPECT_EQ(c.Rpt, 265.0);
    EXPECT_EQ(c.plasticity.Ke, 1.0);
    EXPECT_EQ(c.plasticity.Kv, 1.0);
    EXPECT_DOUBLE_EQ(c.notch.Kt, 1.0);
    EXPECT_DOUBLE_EQ(c.notch.Kf, 1.0);
    EXPECT_NEAR(c.notch.DSigmaF, 300.0, 1e-9);
    EXPECT_EQ(c.CtR, 1.0);
    EXPECT_EQ(c.Cs, 1.0);
    EXPECT_EQ(c.Ce, 1.0);
    EXPECT_NEAR(c.Cm, kCm1, 1e-9);
    EXPECT_NEAR(c.Cm, 1.0321384, 1e-7);
    EXPECT_NEAR(c.Cr, kCm1, 1e-9);
    EXPECT_EQ(c.N, 1100029);
    EXPECT_DOUBLE_EQ(c.damage, 1.0 / 1100029.0);
    EXPECT_NEAR(r.Dfinal, 300.0, 1e-9);
    EXPECT_DOUBLE_EQ(r.total, 1.0 / 1100029.0);
}

// The whole report of worked example 1, line by line from the written layout.
std::string ExampleOneReport(const CPelnoFatigue& study)
{
    return Opening(study) + FirstSearchRow(1.0 / 1347.0) +
           PlaneTable({{0, 0, 0, 0, 0, 20}, {1, -200, 150, 0, 300, 20}, {2, 0, 0, 0, 0, 20}}) +
           SeriesTable({{0, 0}, {1, 300}, {2, 0}, {0, 0}}) + CycleHeader(1) +
           CycleRow(1, 0, 1, {300, 300, 0, 300, -100, 300, 20}) + kPlasticityText +
           PlasticityRows(1, 0, 1, {300, -100, 300, 300, 0, 20, 265}, {300, -100, 300, 300, 0, 1, 1}) +
           FinalHeader(-1, 410, 20, 1, 300) +
           FinalRows({1, 0, 1, 300, 300, 300, 0, -100, 300, 1, 1, 20, 300, 1, kCm1, 1, 1, kCm1, 1100029}) +
           Closing(1.0 / 1100029.0);
}

// Compares line by line first, so that a difference is shown where it is.
void ExpectSameText(const std::string& actual, const std::string& expected)
{
    const std::vector<std::string> a = ::Lines(actual);
    const std::vector<std::string> e = ::Lines(expected);
    for (std::size_t i = 0; i < std::min(a.size(), e.size()); ++i) {
        if (a[i] != e[i]) {
            ADD_FAILURE() << "first different line " << i + 1 << ":\n  actual   [" << a[i] << "]\n  expected ["
                          << e[i] << "]";
            break;
        }
    }
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected);
}

}  // namespace

TEST(UWZoneDamage, TotalStressesOneCycleByHand)
{
    const deck::Study read = deck::ReadStudy(kContext, DeckOne());
    ASSERT_EQ(read.code, 0);
    CPelnoFatigueRainFlow rainflow;
    const Outcome outcome = RunOn(*read.study, read.study->GetHistory("H"), rainflow);
    ASSERT_EQ(outcome.code, 0) << outcome.message;
    ExpectExampleOneNumbers(outcome.result);
    ExpectSameText(outcome.report, ExampleOneReport(*read.study));
}

// Worked example 2: geometric stresses, zone Kt 1.5, two cycles, temperatures above 100 °C,
// thickness 40 and roughness 10 (every coefficient loop runs).
//
// Search: on Theta = Phi = 0 the shears are 1.5*tau = 0, 150, 30, 120, 0 and DSigmaEq from
// origin 0 is 2*1.5*|tau_j - tau_0| = 0, 300, 60, 240, 0, 0. Rainflow on 0, 300, 60, 240, 0:
// the four points 300, 60, 240, 0 hold the inner range 180 (|60 - 300| and |0 - 240| are both
// larger): cycle of 180 with lower extreme at instant 2; CycleEnds from instant 2 to the level
// 240 stops backwards at 300 (start 2) and reaches 240 at instant 3 (end 3). The residue
// 0, 300, 0 gives 300 with Start 1, Peak 0, End 1 as in example 1. Origins 1 and 4 give the
// same two ranges, origins 2 and 3 give 240 and 120, so origin 0 stays. Search damage, Rm 410:
// N(1500) = 1347 and N(900) = (46000/(900 - 246.8))^2 = 4959.3 -> 4959.
//
// Critical plane rows: Sx'x' = -1.5 p, Sx'y' = 1.5 tau, SigmaEq = 1.5*Tresca = 1.5*2 tau.
// Cycle (1, 0, 1): DSigmaRlm = DSigmaRl = Tresca(R1 - R0) = 2*100 = 200 (the linearised
// stresses are not amplified); records 0..1: Sigmo = (0 - 225)/2 = -112.5,
// Temp = 0.75*150 + 0.25*20 = 117.5, SigmaEqM = 300.
// Cycle (2, 2, 3): DSigmaRlm = Tresca(R3 - R2) = 2*60 = 120; records 2..3: Sigmo = (-90 - 180)/2 =
// -135, Temp = 0.75*150 + 0.25*100 = 137.5, SigmaEqM = 240.
// Rpt (table 100: 241, 200: 223): Rpt(117.5) = 241 - 18*0.175 = 237.85, Rpt(137.5) = 234.25;
// DSigmaRl <= 2 Rpt: no correction; Dfinal = 300.
//
// Cycle (1, 0, 1): N0 = 747639. Kt = 1.5, Kt*DSigmaRl = 300 > 279.3269: Kf = 1 + 1.5*0.5/
// (1 + 0.5*300/279.3269) = 1.4879619, DSigmaF = (Kf/1.5)*300 = 297.5924.
// CtR = 1.03 - 1.5e-4*117.5 - 1.5e-6*117.5^2 = 0.9916656. Fs = 1 - 0.056 (ln 10)^0.64 ln 410 +
// 0.289 (ln 10)^0.53 = 0.8751009, Fe = (25/40)^0.182 = 0.9180158; below 2e6 cycles both enter
// as F^(0.1 ln N - 0.465) and their loops converge to Cs = 0.8990600, Ce = 0.9316073.
// |SigmaEqM| = 300 > Rpt, Sigmo <= 0: sigma_mr = 297.5924/2 - 237.85 = -89.0538; Cm = sqrt(1 +
// 0.0851868*2*89.0538/297.5924) = 1.0251750. Cr = 0.8515003; x = 297.5924/0.8515003 = 349.4918:
// N = (46000/(349.4918 - 246.8))^2 = 200652.3 -> 200652.
// Cycle (2, 2, 3): 180 < DSigmaC = 279.3269*0.02^0.1 = 188.893, so N0 = 1e9 and every loop
// starts from 2e6. Kt*DSigmaRl = 180 <= DSigmaD: Kf = Kt = 1.5, DSigmaF = 180. CtR =
// 1.03 - 1.5e-4*137.5 - 1.5e-6*137.5^2 = 0.9810156. Cs = Fs = 0.8751009 and Ce = Fe =
// 0.9180158 (at 2e6 the flat values; 180/F stays below the curve's cut so N stays capped).
// sigma_mr = 180/2 - 234.25 = -144.25 (SigmaEqM 240 > Rpt); at 2e6 the reference laws:
// C400 = 1/(0.9979 + 0.00029*(-144.25)) = 1.0473, C600 = sqrt(0.9989 + 0.00127*144.25) =
// 1.0835, Rm 410: Cm = C400 + (C600 - C400)*10/200 = 1.0480158 (the next estimate of N stays
// at 2e6). Cr = 0.8259468; x = 180/Cr = 217.931 lies between DSigmaC and DSigmaD with
// Dfinal/Cr >= DSigmaD: N = 2e6*((0.63*410 + 21.0269)/217.931)^10 = 23930579.7 -> 23930579.
// Total = 1/200652 + 1/23930579 = 5.0255e-06.
TEST(UWZoneDamage, GeometricStressesTwoCyclesByHand)
{
    const deck::Study read = deck::ReadStudy(kContext, DeckTwo());
    ASSERT_EQ(read.code, 0);
    CPelnoFatigueRainFlow rainflow;
    const Outcome outcome = RunOn(*read.study, read.study->GetHistory("H"), rainflow);
    ASSERT_EQ(outcome.code, 0) << outcome.message;
    const UWZoneDamageResult& r = outcome.result;

    EXPECT_EQ(r.end, UWZoneDamageResult::End::Complete);
    EXPECT_EQ(r.plane.theta, 0.0);
    EXPECT_EQ(r.plane.phi, 0.0);
    EXPECT_EQ(r.plane.origin, 0);
    EXPECT_DOUBLE_EQ(r.plane.damage, 1.0 / 1347.0 + 1.0 / 4959.0);
    EXPECT_EQ(r.seriesInstants, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 0}));
    const double series[6] = {0, 300, 60, 240, 0, 0};
    ASSERT_EQ(r.seriesValues.size(), 6u);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(r.seriesValues[k], series[k], 1e-9) << k;

    ASSERT_EQ(r.cycles.size(), 2u);
    const UWZoneCycle& a = r.cycles[0];
    const UWZoneCycle& b = r.cycles[1];
    EXPECT_EQ(a.cycle.Peak, 0);
    EXPECT_EQ(a.cycle.Start, 1);
    EXPECT_EQ(a.cycle.End, 1);
    EXPECT_EQ(b.cycle.Peak, 2);
    EXPECT_EQ(b.cycle.Start, 2);
    EXPECT_EQ(b.cycle.End, 3);
    struct Expected {
        const UWZoneCycle& c;
        double DSigmaR, DSigmaRl, Sigmo, Temp, SigmaEqM, Rpt, Kf, DSigmaF, CtR, Cs, Ce, Cm, Cr;
        std::int32_t N;
    };
    const Expected expected[] = {
        {a, 300, 200, -112.5, 117.5, 300, 237.85, 1.4879619192776796, 297.59238385553596, 0.991665625,
         0.8990599518618942, 0.9316073445043032, 1.0251750050064172, 0.8515003377808751, 200652},
        {b, 180, 120, -135, 137.5, 240, 234.25, 1.5, 180, 0.981015625, 0.8751008981092023, 0.9180158152923623,
         1.0480158444246512, 0.8259467828502731, 23930579},
    };
    for (const Expected& e : expected) {
        const UWZoneCycle& c = e.c;
        EXPECT_NEAR(c.counted.DSigmaR, e.DSigmaR, 1e-9);
        EXPECT_NEAR(c.counted.DSigmaRlm, e.DSigmaRl, 1e-6);
        EXPECT_NEAR(c.counted.DSigmaRlt, 0.0, 1e-12);
        EXPECT_NEAR(c.counted.DSigmaRl, e.DSigmaRl, 1e-6);
        EXPECT_NEAR(c.counted.Sigmo, e.Sigmo, 1e-9);
        EXPECT_NEAR(c.counted.Temp, e.Temp, 1e-12);
        EXPECT_NEAR(c.counted.SigmaEqM, e.SigmaEqM, 1e-6);
        EXPECT_NEAR(c.Rpt, e.Rpt, 1e-9);
        EXPECT_EQ(c.plasticity.Ke, 1.0);
        EXPECT_EQ(c.plasticity.Kv, 1.0);
        EXPECT_NEAR(c.corrected.DSigmaR, e.DSigmaR, 1e-9);
        EXPECT_EQ(c.notch.Kt, 1.5);
        EXPECT_NEAR(c.notch.Kf, e.Kf, 1e-9);
        EXPECT_NEAR(c.notch.DSigmaF, e.DSigmaF, 1e-7);
        EXPECT_NEAR(c.CtR, e.CtR, 1e-12);
        EXPECT_NEAR(c.Cs, e.Cs, 1e-9);
        EXPECT_NEAR(c.Ce, e.Ce, 1e-9);
        EXPECT_NEAR(c.Cm, e.Cm, 1e-9);
        EXPECT_NEAR(c.Cr, e.Cr, 1e-9);
        EXPECT_EQ(c.N, e.N);
        EXPECT_DOUBLE_EQ(c.damage, 1.0 / e.N);
    }
    EXPECT_NEAR(r.Dfinal, 300.0, 1e-9);
    EXPECT_DOUBLE_EQ(r.total, 1.0 / 200652.0 + 1.0 / 23930579.0);

    // The same numbers in the report, from the search row to the total: amplified plane
    // stresses, the geometric text with the zone's Kt, and the two four-row blocks.
    const std::string& report = outcome.report;
    const std::string tail =
        kSearchHeader + "\n" + FirstSearchRow(1.0 / 1347.0 + 1.0 / 4959.0) +
        PlaneTable({{0, 0, 0, 0, 0, 20},
                      {1, -225, 150, 0, 300, 150},
                      {2, -90, 30, 0, 60, 100},
                      {3, -180, 120, 0, 240, 150},
                      {4, 0, 0, 0, 0, 20}}) +
        SeriesTable({{0, 0}, {1, 300}, {2, 60}, {3, 240}, {4, 0}, {0, 0}}) + CycleHeader(2) +
        CycleRow(1, 0, 1, {300, 200, 0, 200, -112.5, 300, 117.5}) +
        CycleRow(2, 2, 3, {180, 120, 0, 120, -135, 240, 137.5}) + kPlasticityText +
        PlasticityRows(1, 0, 1, {300, -112.5, 200, 200, 0, 117.5, 237.85}, {300, -112.5, 200, 200, 0, 1, 1}) +
        PlasticityRows(2, 2, 3, {180, -135, 120, 120, 0, 137.5, 234.25}, {180, -135, 120, 120, 0, 1, 1}) +
        FinalHeader(1.5, 410, 40, 10, 300) +
        FinalRows({1, 0, 1, 300, 200, 200, 0, -112.5, 300, 1.5, 1.4879619, 117.5, 297.5924, 0.9916656,
                   1.025175, 0.9316073, 0.89906, 0.8515003, 200652}) +
        FinalRows({2, 2, 3, 180, 120, 120, 0, -135, 240, 1.5, 1.5, 137.5, 180, 0.9810156, 1.0480158, 0.9180158,
                   0.8751009, 0.8259468, 23930579}) +
        Closing(1.0 / 200652.0 + 1.0 / 23930579.0);
    ASSERT_GE(report.size(), tail.size());
    ExpectSameText(report.substr(report.size() - tail.size()), tail);
    ExpectSameText(report.substr(0, report.size() - tail.size()) + kSearchHeader + "\n", Opening(*read.study));
}

// One pulse zero -> (-p, tau, 0, -p, 0, -p) -> zero at 20 °C (Rpt = 265, 2 Rpt = 530), split
// between the linearised mechanical and thermal tensors. The plane, origin and cycle are those
// of example 1: one cycle (1, 0, 1) of DSigmaR = 2 tau, Sigmo = -p/2. Material F: Rm 410,
// slope a = 0.4, nu = 0.3 so Kv = 0.7/(0.5 + 0.4 Rpt/DSigmaRlt).
TEST(UWZoneDamage, PlasticityCorrectionsByHand)
{
    struct Case {
        const char* name;
        double tau, p, tauMechanical, tauThermal;
        // expected, corrected
        double Ke, Kv, DSigmaR, DSigmaRl, DSigmaRlm, DSigmaRlt, Sigmo;
        std::int32_t N;
    };
    const Case cases[] = {
        // Mechanical only, DSigmaRlm = DSigmaRl = 600 > 530: Ke = 1 + 0.4*(600/530 - 1) = 1.0528302;
        // DSigmaR, DSigmaRl, DSigmaRlm = 600 Ke = 631.698, Sigmo = -175 Ke = -184.245. Cm = 1
        // (DSigmaRl > 2 Rpt); N = (46000/(631.698 - 246.8))^2 = 14283.15 -> 14283.
        {"mechanical", 300, 350, 300, 0, 1 + 0.4 * (600.0 / 530.0 - 1), 1, 600 * (1 + 0.4 * (600.0 / 530.0 - 1)),
         600 * (1 + 0.4 * (600.0 / 530.0 - 1)), 600 * (1 + 0.4 * (600.0 / 530.0 - 1)), 0,
         -175 * (1 + 0.4 * (600.0 / 530.0 - 1)), 14283},
        // Thermal only, DSigmaRlt = 1060 = 4 Rpt: Kv = 0.7/(0.5 + 0.1) = 7/6; DSigmaR, DSigmaRl,
        // DSigmaRlt = 1060*7/6 = 1236.667, Sigmo = -300*7/6 = -350; N = (46000/989.867)^2 =
        // 2159.5 -> 2159.
        {"thermal", 530, 600, 0, 530, 1, 7.0 / 6.0, 1060 * 7.0 / 6.0, 1060 * 7.0 / 6.0, 0, 1060 * 7.0 / 6.0,
         -350, 2159},
        // Both, DSigmaRlm = DSigmaRlt = 1060, DSigmaRl = 2120: Ke = 1 + 0.4*(1060/530 - 1) = 1.4,
        // Kv = 7/6; A = min(1060, 2120) = 1060, B = 1060: DSigmaRl' = 1.4*1060 + 7/6*1060 =
        // 2720.667, DSigmaR' = 2120*2720.667/2120, Sigmo' = -550*2720.667/2120 = -705.833,
        // DSigmaRlm' = 1484, DSigmaRlt' = 1236.667; N = (46000/2473.867)^2 = 345.75 -> 345.
        {"both", 1060, 1100, 530, 530, 1.4, 7.0 / 6.0, 1.4 * 1060 + 1060 * 7.0 / 6.0, 1.4 * 1060 + 1060 * 7.0 / 6.0,
         1484, 1060 * 7.0 / 6.0, -550 * (1.4 * 1060 + 1060 * 7.0 / 6.0) / 2120, 345},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string total = Shear(c.tau, c.p);
        const std::string mechanical = c.tauMechanical > 0 ? Shear(c.tauMechanical, c.p / 2) : deck::kZero;
        const std::string thermal = c.tauThermal > 0 ? Shear(c.tauThermal, c.p / 2) : deck::kZero;
        const Outcome outcome = RunDeck(kContext, DeckPulse(total, mechanical, thermal));
        ASSERT_EQ(outcome.code, 0) << outcome.message;
        ASSERT_EQ(outcome.result.cycles.size(), 1u);
        const UWZoneCycle& cycle = outcome.result.cycles[0];
        EXPECT_NEAR(cycle.counted.DSigmaR, 2 * c.tau, 1e-9);
        EXPECT_NEAR(cycle.counted.Sigmo, -c.p / 2, 1e-9);
        EXPECT_EQ(cycle.Rpt, 265.0);
        EXPECT_NEAR(cycle.plasticity.Ke, c.Ke, 1e-9);
        EXPECT_NEAR(cycle.plasticity.Kv, c.Kv, 1e-9);
        EXPECT_NEAR(cycle.corrected.DSigmaR, c.DSigmaR, 1e-6);
        EXPECT_NEAR(cycle.corrected.DSigmaRl, c.DSigmaRl, 1e-6);
        EXPECT_NEAR(cycle.corrected.DSigmaRlm, c.DSigmaRlm, 1e-6);
        EXPECT_NEAR(cycle.corrected.DSigmaRlt, c.DSigmaRlt, 1e-6);
        EXPECT_NEAR(cycle.corrected.Sigmo, c.Sigmo, 1e-6);
        EXPECT_NEAR(cycle.corrected.Temp, 20.0, 1e-12);
        EXPECT_NEAR(cycle.corrected.SigmaEqM, 2 * c.tau, 1e-6);
        EXPECT_NEAR(outcome.result.Dfinal, c.DSigmaR, 1e-6);
        EXPECT_DOUBLE_EQ(cycle.notch.Kt, 1.0);
        EXPECT_EQ(cycle.Cm, 1.0);
        EXPECT_EQ(cycle.N, c.N);
        // The plasticity table: the values before, then after the correction with Ke and Kv.
        const std::string rows =
            PlasticityRows(1, 0, 1, {2 * c.tau, -c.p / 2, 2 * c.tau, 2 * c.tauMechanical, 2 * c.tauThermal, 20, 265},
                           {c.DSigmaR, c.Sigmo, c.DSigmaRl, c.DSigmaRlm, c.DSigmaRlt, c.Ke, c.Kv});
        EXPECT_NE(outcome.report.find(kPlasticityText + rows), std::string::npos) << outcome.report;
    }
}

// Total stresses with a linearised range below the total one: the total-stress Kt is
// DSigmaR/DSigmaRl = 300/200 = 1.5 (pulse tau 150 total, 100 linearised, p 200).
// Kf = 1 + 1.5*0.5/(1 + 0.5*1.5*200/279.3269) = 1.4879619 (DSigmaR = 300 > DSigmaD), DSigmaF =
// 297.5924; sigma_mr = 297.5924/2 - 265 = -116.2038, Cm = sqrt(1 + 0.0851868*2*116.2038/297.5924)
// = 1.0327281; x = 297.5924/1.0327281 = 288.1614, N = (46000/41.3614)^2 = 1236872.6 -> 1236872.
TEST(UWZoneDamage, TotalStressKtFromTheRanges)
{
    const Outcome outcome = RunDeck(kContext, DeckPulse(Shear(150, 200), Shear(100, 200), deck::kZero));
    ASSERT_EQ(outcome.code, 0) << outcome.message;
    ASSERT_EQ(outcome.result.cycles.size(), 1u);
    const UWZoneCycle& c = outcome.result.cycles[0];
    const double kf = 1 + 0.75 / (1 + 0.5 * 300 / (0.63 * 410 + 46000 / std::sqrt(2e6) - 11.5));
    EXPECT_NEAR(c.notch.Kt, 1.5, 1e-9);
    EXPECT_NEAR(c.notch.Kf, kf, 1e-9);
    EXPECT_NEAR(c.notch.DSigmaF, kf / 1.5 * 300, 1e-7);
    EXPECT_NEAR(c.Cm, std::sqrt(1 + (0.0435 * 2.0435 / 1.0435) * 2 * (265 - kf / 1.5 * 150) / (kf / 1.5 * 300)),
                1e-9);
    EXPECT_EQ(c.N, 1236872);
    // Kt is computed per cycle, so the report has the total-stress text and no zone Kt line.
    EXPECT_NE(outcome.report.find(Lines(kTotalText) + "\nRésistance"), std::string::npos);
    EXPECT_EQ(outcome.report.find("Kt caractéristique"), std::string::npos);
    EXPECT_NE(outcome.report.find("|        |        |        |    1.500 |    1.488 |"), std::string::npos);
}

// A zone Kt of exactly 1.0001 is not above the threshold: total stresses, nothing amplified.
// Just above it, everything on the plane and the search series are amplified by Kt.
TEST(UWZoneDamage, ZoneKtThreshold)
{
    const std::string r1 = "-200. 150. 0. -200. 0. -200.";
    const std::vector<deck::Record> records = {{"20.", deck::kZero, deck::kZero, deck::kZero},
                                               {"20.", r1, r1, deck::kZero},
                                               {"20.", deck::kZero, deck::kZero, deck::kZero}};
    for (const char* kt : {"1.0001", "1.0002"}) {
        SCOPED_TRACE(kt);
        const bool geometric = std::string(kt) == "1.0002";
        const double factor = geometric ? 1.0002 : 1.0;
        const std::string data =
            deck::Component("C", "20. 1. 0.", "F") + deck::Zone("Z", "C", kt) + deck::History("H", "Z", records);
        const Outcome outcome = RunDeck(kContext, data);
        ASSERT_EQ(outcome.code, 0) << outcome.message;
        ASSERT_EQ(outcome.result.cycles.size(), 1u);
        EXPECT_NEAR(outcome.result.seriesValues[1], 300 * factor, 1e-9);
        EXPECT_NEAR(outcome.result.cycles[0].counted.DSigmaR, 300 * factor, 1e-9);
        EXPECT_NEAR(outcome.result.cycles[0].counted.SigmaEqM, 300 * factor, 1e-6);
        EXPECT_NEAR(outcome.result.cycles[0].counted.Sigmo, -100 * factor, 1e-9);
        // Geometric stresses: Kt is the zone's; total stresses: DSigmaR/DSigmaRl = 1.
        EXPECT_NEAR(outcome.result.cycles[0].notch.Kt, factor, 1e-9);
        EXPECT_EQ(outcome.report.find("Kt caractéristique") != std::string::npos, geometric);
        EXPECT_EQ(outcome.report.find(kTotalText[0]) != std::string::npos, !geometric);
    }
}

// A constant history: no cycle anywhere, every plane has damage 0. The first plane becomes the
// best (0 > lowest); the others tie within 1e-8 and win only by a larger sum of positive normal
// stresses. With Syy = 100 in every record, the normal stress on the plane (Theta, Phi) is
// 100 (sin Theta cos Phi)^2: for Phi = 0 the sum 3*100 sin^2 Theta grows up to Theta = 90° and
// no later plane exceeds it, so the table has the first plane (sum 0) and then one row for each
// Theta = 2.5°, 5°, ..., 90° with Phi = 0. The first row is in the stream's default format, the
// others in fixed with 3 decimals left by the first row; the sum column is the zone Kt times the
// sum. The zero-damage lines end the report.
TEST(UWZoneDamage, ConstantHistoryEndsWithZeroDamage)
{
    const std::string s = "0. 0. 0. 100. 0. 0.";
    for (const char* kt : {"", "2."}) {
        SCOPED_TRACE(kt);
        const double factor = std::string(kt).empty() ? 1.0 : 2.0;
        const std::string data = deck::Component("C", "20. 1. 0.", "F") + deck::Zone("Z", "C", kt) +
                                 deck::History("H", "Z",
                                               {{"20.", s, s, deck::kZero},
                                                {"20.", s, s, deck::kZero},
                                                {"20.", s, s, deck::kZero}});
        const deck::Study read = deck::ReadStudy(kContext, data);
        ASSERT_EQ(read.code, 0);
        CPelnoFatigueRainFlow rainflow;
        const Outcome outcome = RunOn(*read.study, read.study->GetHistory("H"), rainflow);
        ASSERT_EQ(outcome.code, 0) << outcome.message;
        EXPECT_EQ(outcome.result.end, UWZoneDamageResult::End::ZeroDamage);
        EXPECT_EQ(outcome.result.plane.damage, 0.0);
        EXPECT_NEAR(outcome.result.plane.theta * 57.29577950560105, 90.0, 1e-6);
        EXPECT_EQ(outcome.result.plane.phi, 0.0);
        EXPECT_NEAR(outcome.result.plane.normalSum, 300.0, 1e-9);
        EXPECT_TRUE(outcome.result.cycles.empty());
        EXPECT_EQ(outcome.result.total, 0.0);

        std::string expected = Opening(*read.study) + FirstSearchRow(0.0);
        const double pi = std::acos(-1.0);
        for (int k = 1; k <= 36; ++k) {
            const double theta = 2.5 * k;
            const double sine = std::sin(theta * pi / 180.0);
            expected += Row({Fixed(theta, 10), Fixed(0.0, 10), Int(0, 10), Scientific(0.0, 3, 10),
                             Fixed(factor * 300.0 * sine * sine, 10)});
        }
        expected += "\nLe taux d'endommagement sur le plan critique est nul !\n\n"
                    "Taux d'endommagement total pour l'historique étudié : 0.\n" +
                    Repeat('*', 53) + "\n\n";
        ExpectSameText(outcome.report, expected);
    }
}

// Worked example 3: the best origin is not the first record, and a cycle wraps around the end
// of the history. Four records (T; tau, p) = (60; 50, 100), (20; 150, 200), (200; -50, 100),
// (100; 100, 150), total = linearised mechanical, no zone Kt, thickness 20, roughness 1.
//
// On Theta = Phi = 0, DSigmaEq from origin o is 2|tau_j - tau_o|:
//   origin 0: 0, 200, 200, 100, 0 -> the flat merges, 100 is no turning point: one range 200;
//   origin 1: 0, 400, 100, 200, 0 -> 400 and 100;  origin 2: 0, 300, 200, 400, 0 -> 100 and 400;
//   origin 3: 0, 100, 100, 300, 0 -> one range 300.
// Search damage 1/N(2000) + 1/N(500) = 1/688 + 1/33005 for origins 1 and 2: origin 1, the
// earlier, wins. Series from origin 1: instants 1, 2, 3, 0, 1 with 0, 400, 100, 200, 0.
// Rainflow: 400, 100, 200, 0 hold the range 100 between instants 3 and 0, lower extreme at
// instant 3; CycleEnds from instant 3 to the level 200 stops backwards at 400 and reaches 200 at
// instant 0: (Peak 3, Start 3, End 0). The residue 0, 400, 0 gives 400 with lower extreme at
// instant 1 (first index 0 of the series); backwards the level 400 is met at instant 2 (after
// wrapping), forwards at once: (Peak 1, Start 2, End 2).
// Intervals in history order: cycle (1, 2, 2) spans records 1..2: Sigmo = (-100 - 200)/2 = -150,
// Temp = 0.75*200 + 0.25*20 = 155, SigmaEqM = 2*150 = 300. Cycle (3, 3, 0) spans records 0..3
// (not only 3 and 0, as in the rotated order, which would give -125, 90 and 200): Sigmo = -150,
// Temp = 155, SigmaEqM = 300; DSigmaRlm = Tresca(R0 - R3) = 2*50 = 100.
// Rpt(155) = 241 - 18*0.55 = 231.1, no plasticity; Dfinal 400. CtR(155) = 1.03 - 0.02325 -
// 0.0360375 = 0.9707125.
// Cycle 400: N0 = (46000/153.2)^2 = 90156; Kt = 1, DSigmaF = 400; sigma_mr = 200 - 231.1 =
// -31.1, Cm = sqrt(1 + 0.0851868*2*31.1/400) = 1.0066015; Cr = 0.9771206, x = 409.3660:
// N = (46000/162.566)^2 = 80067.5 -> 80067.
// Cycle 100: below the cut-off even after Cr = 0.9707125*1.0603137 (sigma_mr = 50 - 231.1 =
// -181.1 at 2e6 cycles: C400 = 1/(0.9979 - 0.00029*181.1), C600 = sqrt(0.9989 + 0.00127*181.1),
// interpolated at Rm 410): N = 1e9.
TEST(UWZoneDamage, LaterOriginAndHistoryOrderIntervals)
{
    std::vector<deck::Record> records;
    const double table[4][3] = {{60, 50, 100}, {20, 150, 200}, {200, -50, 100}, {100, 100, 150}};
    for (const auto& row : table) {
        const std::string t = Shear(row[1], row[2]);
        records.push_back({std::to_string(static_cast<int>(row[0])) + ".", t, t, deck::kZero});
    }
    const Outcome outcome =
        RunDeck(kContext, deck::Component("C", "20. 1. 0.", "F") + deck::Zone("Z", "C") +
                              deck::History("H", "Z", records));
    ASSERT_EQ(outcome.code, 0) << outcome.message;
    const UWZoneDamageResult& r = outcome.result;
    EXPECT_EQ(r.plane.theta, 0.0);
    EXPECT_EQ(r.plane.phi, 0.0);
    EXPECT_EQ(r.plane.origin, 1);
    EXPECT_DOUBLE_EQ(r.plane.damage, 1.0 / 688.0 + 1.0 / 33005.0);
    EXPECT_EQ(r.seriesInstants, (std::vector<std::int32_t>{1, 2, 3, 0, 1}));
    const double series[5] = {0, 400, 100, 200, 0};
    ASSERT_EQ(r.seriesValues.size(), 5u);
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(r.seriesValues[k], series[k], 1e-9) << k;
    ASSERT_EQ(r.cycles.size(), 2u);
    const UWZoneCycle& big = r.cycles[0];
    const UWZoneCycle& small = r.cycles[1];
    EXPECT_EQ(big.cycle.Peak, 1);
    EXPECT_EQ(big.cycle.Start, 2);
    EXPECT_EQ(big.cycle.End, 2);
    EXPECT_EQ(small.cycle.Peak, 3);
    EXPECT_EQ(small.cycle.Start, 3);
    EXPECT_EQ(small.cycle.End, 0);
    EXPECT_NEAR(big.counted.DSigmaR, 400, 1e-9);
    EXPECT_NEAR(big.counted.DSigmaRl, 400, 1e-6);
    EXPECT_NEAR(small.counted.DSigmaR, 100, 1e-9);
    EXPECT_NEAR(small.counted.DSigmaRlm, 100, 1e-6);
    for (const UWZoneCycle* c : {&big, &small}) {
        EXPECT_NEAR(c->counted.Sigmo, -150, 1e-9);
        EXPECT_NEAR(c->counted.Temp, 155, 1e-12);
        EXPECT_NEAR(c->counted.SigmaEqM, 300, 1e-6);
        EXPECT_NEAR(c->Rpt, 231.1, 1e-9);
        EXPECT_NEAR(c->CtR, 0.9707125, 1e-12);
    }
    EXPECT_NEAR(big.Cm, std::sqrt(1 + (0.0435 * 2.0435 / 1.0435) * 2 * 31.1 / 400), 1e-9);
    EXPECT_EQ(big.N, 80067);
    EXPECT_EQ(small.N, 1000000000);
    EXPECT_NEAR(r.Dfinal, 400, 1e-9);
    EXPECT_DOUBLE_EQ(r.total, 1.0 / 80067.0 + 1e-9);
    EXPECT_NE(outcome.report.find("Instant d'origine déterminant sur ce plan : 1\n"), std::string::npos);
    EXPECT_NE(outcome.report.find(SeriesTable({{1, 0}, {2, 400}, {3, 100}, {0, 200}, {1, 0}}) + CycleHeader(2) +
                                  CycleRow(2, 1, 2, {400, 400, 0, 400, -150, 300, 155}) +
                                  CycleRow(3, 3, 0, {100, 100, 0, 100, -150, 300, 155})),
              std::string::npos);
}

namespace {

// Counts like rainflow during the search; on the count that follows the search (the final
// count on the critical plane, call 72*72*n + 1) it returns the cycles it was given instead.
// A deck cannot produce this: the final count repeats the count the search made on the same
// plane from the same origin.
class FinalCountDouble : public CPelnoFatigueCountingMethod {
public:
    FinalCountDouble(long finalCall, std::vector<LoadingCycle> finalCycles)
        : finalCall_(finalCall), finalCycles_(std::move(finalCycles))
    {
    }
    std::unique_ptr<CPelnoFatigueCountingMethod> Clone() const override
    {
        return std::make_unique<FinalCountDouble>(finalCall_, finalCycles_);
    }
    void LoadingCycles(std::int32_t n, const std::int32_t* instants, const double* values,
                       CyclesByInstants& byInstants, CyclesByRange& byRange) const override
    {
        if (++calls_ != finalCall_) {
            rainflow_.LoadingCycles(n, instants, values, byInstants, byRange);
            return;
        }
        byInstants.clear();
        byRange.clear();
        for (const LoadingCycle& cycle : finalCycles_) {
            byInstants.insert(cycle);
            byRange.insert(cycle);
        }
    }
    long Calls() const { return calls_; }

private:
    long finalCall_;
    std::vector<LoadingCycle> finalCycles_;
    CPelnoFatigueRainFlow rainflow_;
    mutable long calls_ = 0;
};

}  // namespace

// No cycle on the critical plane: the report ends after the two headers of the cycle table,
// with the count 0 and no total line.
TEST(UWZoneDamage, NoCycleOnTheCriticalPlane)
{
    const deck::Study read = deck::ReadStudy(kContext, DeckOne());
    ASSERT_EQ(read.code, 0);
    FinalCountDouble method(72 * 72 * 3 + 1, {});
    const Outcome outcome = RunOn(*read.study, read.study->GetHistory("H"), method);
    ASSERT_EQ(outcome.code, 0) << outcome.message;
    EXPECT_EQ(method.Calls(), 72 * 72 * 3 + 1);
    EXPECT_EQ(outcome.result.end, UWZoneDamageResult::End::NoCycle);
    EXPECT_TRUE(outcome.result.cycles.empty());
    EXPECT_EQ(outcome.result.total, 0.0);
    const std::string expected =
        Opening(*read.study) + FirstSearchRow(1.0 / 1347.0) +
        PlaneTable({{0, 0, 0, 0, 0, 20}, {1, -200, 150, 0, 300, 20}, {2, 0, 0, 0, 0, 20}}) +
        SeriesTable({{0, 0}, {1, 300}, {2, 0}, {0, 0}}) + CycleHeader(0);
    ExpectSameText(outcome.report, expected);
}

// Without a report stream the same computation runs and gives the same result.
TEST(UWZoneDamage, WithoutReportTheSameResult)
{
    const deck::Study read = deck::ReadStudy(kContext, DeckTwo());
    ASSERT_EQ(read.code, 0);
    CPelnoFatigueRainFlow rainflow;
    const CPelnoFatigueHistorique history = read.study->GetHistory("H");
    const Outcome with = RunOn(*read.study, history, rainflow, true);
    const Outcome without = RunOn(*read.study, history, rainflow, false);
    ASSERT_EQ(without.code, 0);
    EXPECT_FALSE(with.report.empty());
    EXPECT_TRUE(without.report.empty());
    const UWZoneDamageResult& a = with.result;
    const UWZoneDamageResult& b = without.result;
    EXPECT_EQ(a.end, b.end);
    EXPECT_EQ(a.plane.theta, b.plane.theta);
    EXPECT_EQ(a.plane.phi, b.plane.phi);
    EXPECT_EQ(a.plane.origin, b.plane.origin);
    EXPECT_EQ(a.plane.damage, b.plane.damage);
    EXPECT_EQ(a.seriesInstants, b.seriesInstants);
    EXPECT_EQ(a.seriesValues, b.seriesValues);
    ASSERT_EQ(a.cycles.size(), b.cycles.size());
    for (std::size_t i = 0; i < a.cycles.size(); ++i) {
        EXPECT_EQ(a.cycles[i].corrected.DSigmaR, b.cycles[i].corrected.DSigmaR);
        EXPECT_EQ(a.cycles[i].Cr, b.cycles[i].Cr);
        EXPECT_EQ(a.cycles[i].N, b.cycles[i].N);
    }
    EXPECT_EQ(a.Dfinal, b.Dfinal);
    EXPECT_EQ(a.total, b.total);

    // Errors are raised the same way without a report.
    const Outcome failing = RunDeck(deck::Material("F", "F", "265. 410. 204000. 0.3"), DeckTwo(), false);
    EXPECT_EQ(failing.code, 480);
}

// Failures of the procedure, each with its own code and what was written before it kept.
TEST(UWZoneDamage, FewerThanThreeRecords)
{
    // The history reader refuses fewer than 3 records (code 200), so the two-record history is
    // built here directly from two records of a read one.
    const deck::Study read = deck::ReadStudy(kContext, DeckOne());
    ASSERT_EQ(read.code, 0);
    const CPelnoFatigueHistorique three = read.study->GetHistory("H");
    CPelnoFatigueHistorique::RecordTable records;
    for (std::int32_t number : {0, 1}) {
        records.emplace(number, CPelnoFatigueHistorique::Entry(
                                    CPelnoFatigueHistorique::kPlainRecord,
                                    std::make_unique<CPelnoFatigueReleve>(three.GetRecord(number))));
    }
    CPelnoFatigueHistorique two;
    two.SetDefinition(read.study->GetUWZones(), read.study->GetWelds(), "H2", "Z",
                      CPelnoFatigueHistorique::kUWZoneType, records);
    ASSERT_EQ(two.GetRecordCount(), 2u);
    CPelnoFatigueRainFlow rainflow;
    const Outcome outcome = RunOn(*read.study, two, rainflow);
    EXPECT_EQ(outcome.code, 220);
    EXPECT_EQ(outcome.message, std::string("<CPelnoFatigueClause::DamageUWZoneCriticalPlane> : ") +
                                   "L'historique ne contient pas assez de relevés pour permettre un comptage des cycles");
    EXPECT_EQ(outcome.report, "");
}

TEST(UWZoneDamage, CycleInstantNotInTheHistory)
{
    // Only a counting method that makes up an instant can reach this (test double).
    const deck::Study read = deck::ReadStudy(kContext, DeckOne());
    ASSERT_EQ(read.code, 0);
    LoadingCycle made;
    made.Peak = 99;
    made.Start = 1;
    made.End = 1;
    made.Range = 300;
    FinalCountDouble method(72 * 72 * 3 + 1, {made});
    const Outcome outcome = RunOn(*read.study, read.study->GetHistory("H"), method);
    EXPECT_EQ(outcome.code, 210);
    EXPECT_EQ(outcome.message, "<CPelnoFatigueClause::DamageUWZoneCriticalPlane> : Internal error");
    // The report stops after the cycle-table headers.
    const std::string end = CycleHeader(1);
    ASSERT_GE(outcome.report.size(), end.size());
    EXPECT_EQ(outcome.report.substr(outcome.report.size() - end.size()), end);
}

// Not reached here, because no input can reach them: 430 (every material the study can hold
// passed the family check, 20 or 30, and a component can only name such a material); 440 (a
// linearised total range above 2 Rpt >= 100 while both its mechanical and thermal ranges are
// within 0.01 is impossible, Tresca being subadditive); 470 (no input was found that keeps a
// coefficient loop going past 2000 passes; the loops themselves are tested with the
// coefficients).
TEST(UWZoneDamage, CoefficientErrors)
{
    struct Case {
        const char* name;
        std::string context;
        std::string data;
        int code;
    };
    const Case cases[] = {
        // Mechanical plastic cycle (DSigmaRlm 600 > 530) on a type-F material of Rm 1100: the Ke
        // slope is not defined above Rm 1000.
        {"ferritic Rm 1100", deck::Material("F", "F", "265. 1100. 204000. 0.3"),
         DeckPulse(Shear(300, 350), Shear(300, 350), deck::kZero), 420},
        // The same cycle on an austenitic material: slope 0.4, no error.
        {"austenitic Rm 1100", deck::Material("F", "A", "265. 1100. 204000. 0.3"),
         DeckPulse(Shear(300, 350), Shear(300, 350), deck::kZero), 0},
        // Re20 600 (2 Rpt = 1200 > DSigmaRl = 400, SigmaEqM = 400 <= Rpt): sigma_mr = Sigmo =
        // -1300/2 = -650 < -Rpt while N0 = (46000/(400 - 246.8))^2 = 90157 < 2e6: the Cm law
        // below 2e6 cycles has no value there.
        {"mean stress below -Rpt", deck::Material("F", "F", "600. 410. 204000. 0.3"),
         DeckPulse(Shear(200, 1300), Shear(200, 1300), deck::kZero), 210},
        // Cycle temperatures 117.5 and 137.5 °C with no yield-strength table.
        {"no Rpt at the cycle temperature", deck::Material("F", "F", "265. 410. 204000. 0.3"), DeckTwo(), 480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = RunDeck(c.context, c.data);
        EXPECT_EQ(outcome.code, c.code) << outcome.message;
    }
    // The 210 of the mean-stress law carries the console text, not "Internal error".
    const Outcome meanStress = RunDeck(deck::Material("F", "F", "600. 410. 204000. 0.3"),
                                       DeckPulse(Shear(200, 1300), Shear(200, 1300), deck::kZero));
    EXPECT_EQ(meanStress.message, "<CPelnoFatigueClause::DamageUWZoneCriticalPlane> : Erreur interne au "
                                  "logiciel, contactez le TOLVE");
}

// The yield strength is asked at the cycle temperature after the cycle table was written: the
// report keeps everything up to the plasticity headers.
TEST(UWZoneDamage, AFailureKeepsWhatWasWritten)
{
    const deck::Study read = deck::ReadStudy(deck::Material("F", "F", "265. 410. 204000. 0.3"), DeckTwo());
    ASSERT_EQ(read.code, 0);
    CPelnoFatigueRainFlow rainflow;
    const Outcome outcome = RunOn(*read.study, read.study->GetHistory("H"), rainflow);
    EXPECT_EQ(outcome.code, 480);
    EXPECT_EQ(outcome.report.find(Opening(*read.study)), 0u);
    EXPECT_NE(outcome.report.find(CycleHeader(2) + CycleRow(1, 0, 1, {300, 200, 0, 200, -112.5, 300, 117.5}) +
                                  CycleRow(2, 2, 3, {180, 120, 0, 120, -135, 240, 137.5})),
              std::string::npos);
    EXPECT_EQ(outcome.report.find("Calcul final"), std::string::npos);
    EXPECT_EQ(outcome.report.find("Taux d'endommagement total"), std::string::npos);
}

// The real program on worked example 1: the report file is the expected text byte for byte
// under the classic locale; under a French locale every number takes the decimal comma except
// the N column, which never shows digit grouping.
TEST(UWZoneDamage, ReportFileOfTheProgram)
{
    const std::string dir = MakeTempDirectory();
    WriteFile(dir + "/contexte.txt", kContext);
    WriteFile(dir + "/donnees.dat", DeckOne() + deck::Request("H", "rapport.txt"));
    const ProgramResult run = RunProgram(
        {"-d", dir + "/donnees.dat", "-c", dir + "/contexte.txt", "-o", dir + "/"}, "", {"LC_ALL=C"});
    ASSERT_EQ(run.status, 0) << run.errorOutput;
    const deck::Study read = deck::ReadStudy(kContext, DeckOne());
    ASSERT_EQ(read.code, 0);
    ExpectSameText(ReadFile(dir + "/rapport.txt"), ExampleOneReport(*read.study));

    if (!LocaleAvailable(kGroupingLocale)) GTEST_SKIP() << kGroupingLocale << " is not available";
    const std::string french = MakeTempDirectory();
    WriteFile(french + "/contexte.txt", kContext);
    WriteFile(french + "/donnees.dat", DeckOne() + deck::Request("H", "rapport.txt"));
    const ProgramResult frenchRun =
        RunProgram({"-d", french + "/donnees.dat", "-c", french + "/contexte.txt", "-o", french + "/"}, "",
                   {"LC_ALL=fr_FR.UTF-8", "LANG=fr_FR.UTF-8"});
    ASSERT_EQ(frenchRun.status, 0) << frenchRun.errorOutput;
    const std::string report = ReadFile(french + "/rapport.txt");
    EXPECT_NE(report.find("|        |        |        |          |          |          |    1,032 |    1100029 |  "
                          "9,091e-07 |\n"),
              std::string::npos);
    EXPECT_NE(report.find("Angle Theta du plan critique              : 0,000\n"), std::string::npos);
    EXPECT_NE(report.find("Plus grand cycle du spectre de calcul (MPa) : 300,000\n"), std::string::npos);
    EXPECT_NE(report.find("|      1 |      0 |      1 |  300,000 |  300,000 |    0,000 |  300,000 | -100,000 |  "
                          "300,000 |  20,000 |\n"),
              std::string::npos);
    EXPECT_NE(report.find("Taux d'endommagement total pour l'historique de contraintes : 9,0907e-07\n"),
              std::string::npos);
}
