// The weld-throat check: origin search, cycles, no-plasticity condition and damage sum worked
// out by hand on small throat histories, its four report endings, the codes it raises, and the
// real executable running throat requests.
#include "damage/WeldThroatDamage.h"

#include <gtest/gtest.h>

#include <locale>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/CExceptionPelnoFatigue.h"
#include "damage/CPelnoFatigueRainFlow.h"
#include "damage/CPelnoFatigueReservoir.h"
#include "damage/CPelnoFatigueTresca.h"
#include "deck/CPelnoFatigue.h"
#include "deck/CPelnoFatigueContexte.h"
#include "stress/CPelnoFatigueReleve.h"
#include "support/ReaderTestSupport.h"
#include "support/RunProgram.h"

namespace {

const MethodLogName kLog("CPelnoFatigueClause::DamageWeldThroat");

// Two materials whose yield tables cover 20 to 300 °C, and a throat class with round
// constants: N = 1e12 / x^3 from x = 50 MPa up, N = 1e14 / x^5 between 20 and 50 MPa when the
// largest range reaches 50, unlimited below (x = range / Cr).
const std::string kContext =
    "*MATERIAU           ACIER_F\n"
    "*TYPE F\n"
    "*PARAMETRE 300. 450. 200000. 0.3\n"
    "*RPT 20. 300.\n"
    "*RPT 100. 280.\n"
    "*RPT 300. 240.\n"
    "*FIN_MATERIAU\n"
    "*MATERIAU           INOX_A\n"
    "*TYPE A\n"
    "*PARAMETRE 250. 520. 195000. 0.3\n"
    "*RPT 20. 250.\n"
    "*RPT 100. 200.\n"
    "*RPT 300. 150.\n"
    "*FIN_MATERIAU\n"
    "*CLASSE             FAT_GORGE\n"
    "*PARAMETRE 5000000 50. 100000000 20.\n"
    "*PARAMETRES 3. 1.e12 5. 1.e14\n"
    "*FIN_CLASSE\n"
    "*CLASSIFICATION     GORGE\n"
    "*CORDON_CLASSE      FAT_GORGE\n"
    "*FIN_CLASSIFICATION\n";

const std::string kZero = "0. 0. 0. 0. 0. 0.";

std::string Record(const std::string& name, const std::string& temperature, const std::string& sij,
                   const std::string& lm = kZero, const std::string& lt = kZero)
{
    return "*RELEVE             " + name + "\n*PARAMETRE 0. " + temperature + "\n*SIJ " + sij + "\n*SIJM " + kZero +
           "\n*SIJLM " + lm + "\n*SIJLT " + lt + "\n*FIN_RELEVE\n";
}

std::string History(const std::string& name, const std::string& seam, const std::string& records)
{
    return "*HISTORIQUE         " + name + "\n*HISTORIQUE_GORGE   " + seam + "\n" + records + "*FIN_HISTORIQUE\n";
}

// SOUDURE_ANGLE joins a 20 mm ferritic plate and a 40 mm austenitic nozzle; SOUDURE_INOX
// joins the nozzle to itself (two austenitic sides).
const std::string kSeams =
    "*COMPOSANT          PLAQUE\n"
    "*TYPE GENERAL\n"
    "*PARAMETRE 20. 6.3 0.\n"
    "*COMPOSANT_MATERIAU ACIER_F\n"
    "*FIN_COMPOSANT\n"
    "*COMPOSANT          TUBULURE\n"
    "*TYPE GENERAL\n"
    "*PARAMETRE 40. 6.3 0.\n"
    "*COMPOSANT_MATERIAU INOX_A\n"
    "*FIN_COMPOSANT\n"
    "*CORDON             SOUDURE_ANGLE\n"
    "*CORDON_TYPE        GORGE\n"
    "*COMPOSANT_1        PLAQUE\n"
    "*COMPOSANT_2        TUBULURE\n"
    "*FIN_CORDON\n"
    "*CORDON             SOUDURE_INOX\n"
    "*CORDON_TYPE        GORGE\n"
    "*COMPOSANT_1        TUBULURE\n"
    "*COMPOSANT_2        TUBULURE\n"
    "*FIN_CORDON\n";

// Four records whose throat vectors (Sxx, Sxy, Sxz) all lie on the direction (2, 3, 6)/7:
// m × (2, 3, 6) with m = 6, 12, 0, 15, so every distance between two records is exact:
// 7·|Δm|, i.e. positions 42, 84, 0, 105 MPa along the line.
const std::string kHistoryB = History("H_B", "SOUDURE_ANGLE",
                                      Record("R0", "20.", "12. 18. 36. 0. 0. 0.", "50. 0. 0. 20. 0. 0.") +
                                          Record("R1", "100.", "24. 36. 72. 0. 0. 0.", "110. 0. 0. 50. 0. 0.",
                                                 "0. 25. 0. 0. 0. 0.") +
                                          Record("R2", "20.", kZero) +
                                          Record("R3", "260.", "30. 45. 90. 0. 0. 0.", "120. 0. 0. 0. 0. -40.",
                                                 "-30. 0. 0. 10. 0. 0."));

// Three records: the throat vector goes to (60, 80, 0) (length 100) and back.
const std::string kHistoryA =
    History("H_A", "SOUDURE_INOX",
            Record("R0", "20.", kZero) + Record("R1", "150.", "60. 80. 0. 0. 0. 0.") + Record("R2", "50.", kZero));

// A range of exactly 500 = 2 × Rpt at 20 °C (Rpt = min(300, 250)), and one of 510.
const std::string kHistory500 =
    History("H_500", "SOUDURE_ANGLE",
            Record("R0", "20.", kZero) + Record("R1", "20.", "300. 400. 0. 0. 0. 0.") + Record("R2", "20.", kZero));
const std::string kHistory510 =
    History("H_510", "SOUDURE_ANGLE",
            Record("R0", "20.", kZero) + Record("R1", "20.", "306. 408. 0. 0. 0. 0.") + Record("R2", "20.", kZero));

// Every record carries the same throat stresses.
const std::string kHistoryEqual = History("H_EGAL", "SOUDURE_ANGLE",
                                          Record("R0", "20.", "10. 20. 30. 0. 0. 0.") +
                                              Record("R1", "80.", "10. 20. 30. 5. 6. 7.") +
                                              Record("R2", "20.", "10. 20. 30. 0. 0. 0."));

// A cycle at 0.25 × 20 + 0.75 × 400 = 305 °C: beyond the yield tables (300 °C).
const std::string kHistoryHot =
    History("H_CHAUD", "SOUDURE_ANGLE",
            Record("R0", "20.", kZero) + Record("R1", "400.", "60. 80. 0. 0. 0. 0.") + Record("R2", "20.", kZero));

const std::string kData = kSeams + kHistoryB + kHistoryA + kHistory500 + kHistory510 + kHistoryEqual + kHistoryHot;

// Counts like the rainflow method for the origin search, then answers the final count of the
// chosen origin as scripted. A real method gives the same cycles for the same series twice, so
// these endings cannot be reached from a data file.
class ScriptedCounting : public CPelnoFatigueCountingMethod {
public:
    enum class Final { Empty, UnknownInstant };

    ScriptedCounting(int searchCounts, Final final) : searchCounts_(searchCounts), final_(final) {}

    std::unique_ptr<CPelnoFatigueCountingMethod> Clone() const override
    {
        return std::make_unique<ScriptedCounting>(searchCounts_, final_);
    }

    void LoadingCycles(std::int32_t n, const std::int32_t* instants, const double* values, CyclesByInstants& byInstants,
                       CyclesByRange& byRange) const override
    {
        if (counts_++ < searchCounts_) {
            rainflow_.LoadingCycles(n, instants, values, byInstants, byRange);
            return;
        }
        byInstants.clear();
        byRange.clear();
        if (final_ == Final::UnknownInstant) {
            const LoadingCycle cycle{99, instants[0], instants[0], 100.0};
            byInstants.insert(cycle);
            byRange.insert(cycle);
        }
    }

private:
    int searchCounts_;
    Final final_;
    mutable int counts_ = 0;
    CPelnoFatigueRainFlow rainflow_;
};

// Fails the way a library call fails outside the program's own errors.
class FailingCounting : public CPelnoFatigueCountingMethod {
public:
    std::unique_ptr<CPelnoFatigueCountingMethod> Clone() const override { return std::make_unique<FailingCounting>(); }
    void LoadingCycles(std::int32_t, const std::int32_t*, const double*, CyclesByInstants&,
                       CyclesByRange&) const override
    {
        throw std::runtime_error("no memory left");
    }
};

class WeldThroatDamageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = MakeTempDirectory();
        WriteFile(dir_ + "/contexte.txt", kContext);
        WriteFile(dir_ + "/donnees.dat", kData);
        CapturedErrors errors;
        ASSERT_EQ(library_.Read(dir_ + "/contexte.txt"), 0);
        ASSERT_EQ(study_.SetContext(library_), 0);
        ASSERT_EQ(study_.SetInputFile(dir_ + "/donnees.dat"), 0);
        ASSERT_EQ(study_.Read(), 0) << errors.Text();
    }

    WeldThroatDamageResult Run(const std::string& history, const CPelnoFatigueCountingMethod& method,
                               std::ostream* report = nullptr)
    {
        history_ = study_.GetHistory(history);
        WeldThroatDamage procedure(kLog, study_, history_, method, tresca_);
        return procedure.Run(report);
    }

    // The report written for the history, in the classic locale.
    std::string Report(const std::string& history, const CPelnoFatigueCountingMethod& method)
    {
        std::ostringstream out;
        out.imbue(std::locale::classic());
        Run(history, method, &out);
        return out.str();
    }

    WeldThroatObjects Objects(const std::string& seam) const
    {
        WeldThroatObjects objects;
        objects.weld = study_.GetWeld(seam);
        objects.classification = study_.GetContext().GetWeldDetail("GORGE");
        objects.fatigueClass = study_.GetContext().GetClass("FAT_GORGE");
        objects.component1 = study_.GetComponent(objects.weld.GetComponent1Name());
        objects.component2 = study_.GetComponent(objects.weld.GetComponent2Name());
        objects.material1 = study_.GetContext().GetMaterial(objects.component1.GetMaterialName());
        objects.material2 = study_.GetContext().GetMaterial(objects.component2.GetMaterialName());
        return objects;
    }

    // Report steps 1 to 3 (heading, the objects under their banners, symbols), the objects
    // written by their own printers.
    std::string ExpectedOpening(const std::string& seam, const std::string& history) const
    {
        const WeldThroatObjects o = Objects(seam);
        std::ostringstream s;
        s.imbue(std::locale::classic());
        const std::string stars(93, '*');
        s << "\n"
          << stars << "\n"
          << "* Vérification de la gorge d'un cordon de soudure à pénétration partielle                   *\n"
          << "* Inutile si hauteur de gorge >= 0,8e et soudure directement sollicitée (cf. C11.3.7.4)     *\n"
          << "* Inutile si hauteur de gorge >= 0,7e et soudure non directement sollicitée (cf. C11.3.7.4) *\n"
          << stars << "\n\n";
        const std::string pageBreak = "\n\f\n";
        s << std::string(56, '+') << "\n+ Définition du premier composant lié à la zone soudée +\n"
          << std::string(56, '+') << "\n\n"
          << o.component1 << "\n\n";
        s << std::string(53, '+') << "\n+ Caractéristiques du matériau du premier composant +\n"
          << std::string(53, '+') << "\n\n"
          << o.material1 << "\n\n";
        s << std::string(55, '+') << "\n+ Définition du second composant lié à la zone soudée +\n"
          << std::string(55, '+') << "\n\n"
          << o.component2 << "\n\n";
        s << std::string(52, '+') << "\n+ Caractéristiques du matériau du second composant +\n"
          << std::string(52, '+') << "\n\n"
          << o.material2 << pageBreak;
        s << std::string(51, '+') << "\n+ Description du cordon dont la gorge est étudiée +\n"
          << std::string(51, '+') << "\n\n"
          << o.weld << "\n\n";
        s << std::string(35, '+') << "\n+ Description de la gorge étudiée +\n"
          << std::string(35, '+') << "\n\n"
          << o.classification << "\n\n";
        s << std::string(47, '+') << "\n+ Définition de la courbe de fatigue utilisée +\n"
          << "+ (en principe classe 32 selon C11.3.12.2)    +\n"
          << std::string(47, '+') << "\n\n"
          << o.fatigueClass << pageBreak;
        s << std::string(63, '*') << "\n* Historique des contraintes qui sollicitent la zone analysée *\n"
          << std::string(63, '*') << "\n\n"
          << study_.GetHistory(history) << pageBreak;
        s << "++++++++++++\n+ Symboles +\n++++++++++++\n\n"
          << "DSigmaEq  : Variation équivalente des contraintes - cf. C11.3.9.4\n"
          << "            égale à la variation de longueur du vecteur contrainte agissant sur le plan de la gorge\n"
          << "DSigmaR   : Taille du cycle de contraintes extrait de l'historique de DSigmaEq\n"
          << "DSigmaRlm : Variation de la partie linéarisée des contraintes mécaniques durant le cycle\n"
          << "DSigmaRlt : Variation de la partie linéarisée des contraintes thermiques durant le cycle\n"
          << "Ce        : Coefficient de correction d'épaisseur selon PELNO Division 2 : 2015 C11.3.12.4\n"
          << "CtR       : Coefficient de correction de température selon PELNO Division 2 : 2015 C11.3.12.4\n"
          << "            Noté Ct dans le PELNO mais s'applique à la température moyenne de cycle t*\n"
          << "            Le C11.3.12.4 renvoie vers le C11.1.3.3 qui donne les formules utilisées\n"
          << "Cr        : Coefficient global de correction selon PELNO Division 2 : 2015 C11.3.12.4\n"
          << "N         : Nombre de cycles admissibles donné par la courbe de fatigue - cf. C11.3.13\n"
          << "N0        : Instant d'origine déterminant pour le paramètre d'endommagement - cf. C11.3.9.5.2\n"
          << "            N0 est noté t0 dans le PELNO\n"
          << "Rpt       : Limite d'élasticité du matériau à la température du cycle\n"
          << "Sxx       : Contrainte normale sur le plan de la gorge - cf. C11.3.7.4\n"
          << "            Noté Sigma_Perpendiculaire dans le PELNO\n"
          << "Sxy       : Composante de la contrainte de cisaillement sur le plan de la gorge - cf. C11.3.7.4\n"
          << "            Noté Tau_Perpendiculaire dans le PELNO\n"
          << "Sxz       : Composante de la contrainte de cisaillement sur le plan de la gorge - cf. C11.3.7.4\n"
          << "            Noté Tau_Parallèle dans le PELNO\n"
          << "Temp      : Température ou température moyenne t* du cycle selon C11.3.5.22\n"
          << pageBreak.substr(1);
        return s.str();
    }

    std::vector<const CPelnoFatigueCountingMethod*> Methods() const { return {&rainflow_, &reservoir_}; }

    std::string dir_;
    CPelnoFatigueContexte library_;
    CPelnoFatigue study_;
    CPelnoFatigueHistorique history_;
    CPelnoFatigueTresca tresca_;
    CPelnoFatigueRainFlow rainflow_;
    CPelnoFatigueReservoir reservoir_;
};

// Report steps 4 and 5 up to the N0 table header.
const std::string kThroatTableBanner =
    "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
    "+ Contraintes normales et de cisaillement sur le plan de la gorge +\n"
    "+ Température associée à ces contraintes                          +\n"
    "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
    "\n"
    "|   Temps    |     Sxx    |     Sxy    |     Sxz    |   Temp.    |\n";

const std::string kOriginSearchBanner =
    "\n"
    "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
    "+ Recherche de l'instant d'origine déterminant pour l'endommagement selon C11.3.9.5.2 +\n"
    "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
    "\n"
    "Pour cette recherche un coefficient global de correction Cr très faible de 0,2 est utilisé,\n"
    "ainsi presque tous les cycles sont pris en compte (de très petits cycle sont comptés)\n"
    "Des cycles qui seront négligés dans le calcul final de l'endommagement sont pris en compte\n"
    "Le taux d'endommagement qui apparaît dans le tableau suivant n'est donc pas significatif\n"
    "Le tableau retranscrit la suite des itérations effectuées par le logiciel\n"
    "Un taux d'endommagement est écrit dès lors qu'il devient le plus élevé déjà rencontré !\n"
    "\n"
    "|    N0      |  Dommage   |\n";

const std::string kCycleBanner =
    "\n"
    "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
    "+ Taille des cycles de contraintes extraits de l'historique de DSigmaEq +\n"
    "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
    "\n";

const std::string kCycleHeaders =
    "\n"
    "| Temps1 | Temps2 | Temps3 |   DSigmaR  |  DSigmaRlm |  DSigmaRlt |   Temp.    |\n"
    "| Début  | Pic    | Fin    |            |            |            |            |\n";

const std::string kPlasticityBanner =
    "\n"
    "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
    "+ Correction de plasticité : selon C11.3.11.1.1 aucune correction ne doit être nécessaire +\n"
    "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
    "\n";

std::string SeriesBanner(const std::string& origin)
{
    return "\n"
           "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
           "+ Variation équivalente des contraintes sur le plan de la gorge +\n"
           "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n"
           "\n"
           "Instant d'origine déterminant pour l'endommagement : " +
           origin +
           "\n"
           "\n"
           "|   Temps    |  DSigmaEq  |\n";
}

// History H_B, values by hand. Along the line the records sit at 42, 84, 0, 105 MPa; the
// series of origin k holds |position(j) − position(k)| for j = k, k+1, ... and 0 again:
//   N0 = 0: 0, 42, 42, 63, 0   -> one cycle of 63
//   N0 = 1: 0, 84, 21, 42, 0   -> cycles of 84 and of 21 (the 21 <-> 42 loop)
//   N0 = 2: 0, 105, 42, 84, 0  -> cycles of 105 and of 42 (the 42 <-> 84 loop)
//   N0 = 3: 0, 63, 21, 105, 0  -> cycles of 42 (21 <-> 63) and of 105
// Search at Cr = 0.2, x = 5 × range, all above 50: N = trunc(1e12 / x^3):
//   63 -> 1e12 / 315^3 = 31993.98 -> 31993      84 -> 1e12 / 420^3 = 13497.46 -> 13497
//   21 -> 1e12 / 105^3 = 863837.6 -> 863837     105 -> 1e12 / 525^3 = 6910.70 -> 6910
//   42 -> 1e12 / 210^3 = 107979.2 -> 107979
// D(0) = 1/31993, D(1) = 1/13497 + 1/863837, D(2) = 1/6910 + 1/107979, D(3) = D(2) (same two
// terms): the rows are 0, 1, 2 and the tie at 3 keeps N0 = 2.
// Final series of N0 = 2 (records 2, 3, 0, 1, 2): both methods count
//   (Start 0, Peak 0, End 1, 42): the 42 <-> 84 loop, starting at the valley of record 0;
//   (Start 3, Peak 2, End 3, 105): from record 2 (value 0) to record 3 (105) and back.
// Cycle 1: rows 0..1, T = 20 and 100 -> Temp = 0.25·20 + 0.75·100 = 80 (CtR = 1);
//   DSigmaRlm = Tresca(LM1 − LM0) = Tresca(diag 60, 30, 0) = 60;
//   DSigmaRlt = Tresca(shear 25) = 50; Rpt = min(ACIER_F 285, INOX_A 212.5) = 212.5.
//   N: x = 42 < 50, above 20, largest range 105 >= 50: 1e14 / 42^5 = 765162.3 -> 765162.
// Cycle 2: rows 2..3, T = 20 and 260 -> Temp = 5 + 195 = 200; a ferritic side: CtR = 1.03 −
//   1.5e-4·200 − 1.5e-6·200² = 0.94; DSigmaRlm = Tresca(diag 120, 0, −40) = 160;
//   DSigmaRlt = Tresca(diag −30, 10, 0) = 40; Rpt = min(260, 175) = 175.
//   N = 1e12 / (105 / 0.94)^3 = 1e12 × 0.830584 / 1157625 = 717489.5 -> 717489.
TEST_F(WeldThroatDamageTest, FourRecordThroatByHand)
{
    // The criterion's principal stresses use the angles 6.283185308 and 12.566370616 instead of
    // 2pi and 4pi: Tresca values carry an error of a few 1e-10 relative.
    constexpr double kTresca = 1e-6;
    for (const CPelnoFatigueCountingMethod* method : Methods()) {
        SCOPED_TRACE(method == &rainflow_ ? "rainflow" : "reservoir");
        const WeldThroatDamageResult r = Run("H_B", *method);
        ASSERT_EQ(r.end, WeldThroatDamageResult::End::Complete);
        ASSERT_EQ(r.rows.size(), 4u);
        EXPECT_EQ(r.rows[3].Sxx, 30.0);
        EXPECT_EQ(r.rows[3].Sxy, 45.0);
        EXPECT_EQ(r.rows[3].Sxz, 90.0);
        EXPECT_EQ(r.rows[3].temperature, 260.0);

        ASSERT_EQ(r.originRows.size(), 3u);
        EXPECT_EQ(r.originRows[0].origin, 0);
        EXPECT_DOUBLE_EQ(r.originRows[0].damage, 1.0 / 31993);
        EXPECT_EQ(r.originRows[1].origin, 1);
        EXPECT_DOUBLE_EQ(r.originRows[1].damage, 1.0 / 13497 + 1.0 / 863837);
        EXPECT_EQ(r.originRows[2].origin, 2);
        EXPECT_DOUBLE_EQ(r.originRows[2].damage, 1.0 / 6910 + 1.0 / 107979);
        EXPECT_EQ(r.origin, 2);

        EXPECT_EQ(r.seriesInstants, (std::vector<std::int32_t>{2, 3, 0, 1, 2}));
        EXPECT_EQ(r.seriesValues, (std::vector<double>{0.0, 105.0, 42.0, 84.0, 0.0}));
        EXPECT_EQ(r.DSigmaEqMax, 105.0);

        ASSERT_EQ(r.cycles.size(), 2u);
        const ThroatCycle& a = r.cycles[0];
        EXPECT_EQ(a.Start, 0);
        EXPECT_EQ(a.Peak, 0);
        EXPECT_EQ(a.End, 1);
        EXPECT_EQ(a.DSigmaR, 42.0);
        EXPECT_NEAR(a.DSigmaRlm, 60.0, kTresca);
        EXPECT_NEAR(a.DSigmaRlt, 50.0, kTresca);
        EXPECT_EQ(a.Temp, 80.0);
        EXPECT_DOUBLE_EQ(a.Rpt, 212.5);
        EXPECT_EQ(a.CtR, 1.0);
        EXPECT_EQ(a.Cr, 1.0);
        EXPECT_EQ(a.N, 765162);
        const ThroatCycle& b = r.cycles[1];
        EXPECT_EQ(b.Start, 3);
        EXPECT_EQ(b.Peak, 2);
        EXPECT_EQ(b.End, 3);
        EXPECT_EQ(b.DSigmaR, 105.0);
        EXPECT_NEAR(b.DSigmaRlm, 160.0, kTresca);
        EXPECT_NEAR(b.DSigmaRlt, 40.0, kTresca);
        EXPECT_EQ(b.Temp, 200.0);
        EXPECT_DOUBLE_EQ(b.Rpt, 175.0);
        EXPECT_NEAR(b.CtR, 0.94, 1e-15);
        EXPECT_EQ(b.Cr, b.CtR);
        EXPECT_EQ(b.N, 717489);

        EXPECT_EQ(r.thickness, 40.0);
        EXPECT_EQ(r.Ce, 1.0);
        EXPECT_DOUBLE_EQ(r.total, 1.0 / 765162 + 1.0 / 717489);
    }
}

// History H_A on a seam with two austenitic sides. Every origin sees one excursion of 100 MPa
// and back (0, 100, 0, 0 / 0, 100, 100, 0 / 0, 0, 100, 0): one cycle of 100, N = 1e12 /
// (5 × 100)^3 = 8000 for all three, so only origin 0 reaches the N0 table.
// Final series 0, 100, 0, 0 at records 0, 1, 2, 0:
//   rainflow: the residue 0, 100, 0 doubled counts the cycle at its second valley, record 0:
//     (Start 1, Peak 0, End 1); rows 0..1: T = 20, 150 -> Temp = 5 + 112.5 = 117.5;
//   reservoir: the history drained from its maximum (record 1) finds the valley at record 2:
//     (Start 1, Peak 2, End 1); rows 1..2: T = 150, 50 -> Temp = 12.5 + 112.5 = 125.
// Austenitic law: CtR = 1.043 − 4.3e-4·Temp = 0.992475 and 0.98925;
// N = 1e12 / (100 / CtR)^3 = 1e6·CtR^3 = 977594.45 -> 977594 and 968095.45 -> 968095.
TEST_F(WeldThroatDamageTest, ThreeRecordThroatByHandPerCountingMethod)
{
    struct Case {
        const CPelnoFatigueCountingMethod* method;
        std::int32_t peak;
        double temp;
        double CtR;
        std::int32_t N;
    };
    for (const Case& c : {Case{&rainflow_, 0, 117.5, 0.992475, 977594}, Case{&reservoir_, 2, 125.0, 0.98925, 968095}}) {
        SCOPED_TRACE(c.peak);
        const WeldThroatDamageResult r = Run("H_A", *c.method);
        ASSERT_EQ(r.end, WeldThroatDamageResult::End::Complete);
        ASSERT_EQ(r.originRows.size(), 1u);
        EXPECT_EQ(r.originRows[0].origin, 0);
        EXPECT_EQ(r.originRows[0].damage, 1.0 / 8000);
        EXPECT_EQ(r.origin, 0);
        EXPECT_EQ(r.seriesInstants, (std::vector<std::int32_t>{0, 1, 2, 0}));
        EXPECT_EQ(r.seriesValues, (std::vector<double>{0.0, 100.0, 0.0, 0.0}));
        ASSERT_EQ(r.cycles.size(), 1u);
        const ThroatCycle& cycle = r.cycles[0];
        EXPECT_EQ(cycle.Start, 1);
        EXPECT_EQ(cycle.Peak, c.peak);
        EXPECT_EQ(cycle.End, 1);
        EXPECT_EQ(cycle.DSigmaR, 100.0);
        EXPECT_EQ(cycle.DSigmaRlm, 0.0);
        EXPECT_EQ(cycle.DSigmaRlt, 0.0);
        EXPECT_EQ(cycle.Temp, c.temp);
        EXPECT_NEAR(cycle.CtR, c.CtR, 1e-15);
        EXPECT_EQ(cycle.N, c.N);
        EXPECT_DOUBLE_EQ(r.total, 1.0 / c.N);
        EXPECT_EQ(r.thickness, 40.0);
    }
}

// At 20 °C Rpt = min(300, 250) = 250. A range of exactly 2 × Rpt = 500 passes and is damaged:
// N = 1e12 / 500^3 = 8000; one of 510 ((306, 408, 0) has length 510) ends the check.
TEST_F(WeldThroatDamageTest, NoPlasticityConditionAtTwiceRpt)
{
    const WeldThroatDamageResult passes = Run("H_500", rainflow_);
    ASSERT_EQ(passes.end, WeldThroatDamageResult::End::Complete);
    ASSERT_EQ(passes.cycles.size(), 1u);
    EXPECT_EQ(passes.cycles[0].DSigmaR, 500.0);
    EXPECT_EQ(passes.cycles[0].Rpt, 250.0);
    EXPECT_EQ(passes.cycles[0].N, 8000);
    EXPECT_EQ(passes.total, 1.0 / 8000);

    const WeldThroatDamageResult fails = Run("H_510", rainflow_);
    ASSERT_EQ(fails.end, WeldThroatDamageResult::End::PlasticityRequired);
    ASSERT_EQ(fails.cycles.size(), 1u);
    EXPECT_EQ(fails.failingCycle, 0u);
    EXPECT_EQ(fails.cycles[0].DSigmaR, 510.0);
    EXPECT_EQ(fails.cycles[0].Rpt, 250.0);
    EXPECT_EQ(fails.cycles[0].N, 0);  // no damage is computed
    EXPECT_EQ(fails.total, 0.0);
}

TEST_F(WeldThroatDamageTest, EqualRecordsGiveZeroDamage)
{
    for (const CPelnoFatigueCountingMethod* method : Methods()) {
        const WeldThroatDamageResult r = Run("H_EGAL", *method);
        EXPECT_EQ(r.end, WeldThroatDamageResult::End::ZeroDamage);
        // Every series is zero: origin 0 is written with 0 and no later origin beats it.
        ASSERT_EQ(r.originRows.size(), 1u);
        EXPECT_EQ(r.originRows[0].origin, 0);
        EXPECT_EQ(r.originRows[0].damage, 0.0);
        EXPECT_TRUE(r.cycles.empty());
        EXPECT_TRUE(r.seriesValues.empty());
    }
}

TEST_F(WeldThroatDamageTest, WithoutReportTheSameResult)
{
    std::ostringstream out;
    const WeldThroatDamageResult written = Run("H_B", rainflow_, &out);
    const WeldThroatDamageResult silent = Run("H_B", rainflow_, nullptr);
    EXPECT_FALSE(out.str().empty());
    EXPECT_EQ(silent.origin, written.origin);
    EXPECT_EQ(silent.total, written.total);
    ASSERT_EQ(silent.cycles.size(), written.cycles.size());
    EXPECT_EQ(silent.cycles[1].N, written.cycles[1].N);
}

// The complete report of H_B, every number checked against the hand values above.
TEST_F(WeldThroatDamageTest, CompleteReportByteForByte)
{
    const std::string expected =
        ExpectedOpening("SOUDURE_ANGLE", "H_B") + kThroatTableBanner +
        "|          0 |  12.000000 |  18.000000 |  36.000000 |  20.000000 |\n"
        "|          1 |  24.000000 |  36.000000 |  72.000000 | 100.000000 |\n"
        "|          2 |   0.000000 |   0.000000 |   0.000000 |  20.000000 |\n"
        "|          3 |  30.000000 |  45.000000 |  90.000000 | 260.000000 |\n" +
        kOriginSearchBanner +
        "|          0 |  3.126e-05 |\n"   // 1/31993
        "|          1 |  7.525e-05 |\n"   // 1/13497 + 1/863837
        "|          2 |  1.540e-04 |\n" +  // 1/6910 + 1/107979
        SeriesBanner("2") +
        "|          2 |      0.000 |\n"
        "|          3 |    105.000 |\n"
        "|          0 |     42.000 |\n"
        "|          1 |     84.000 |\n"
        "|          2 |      0.000 |\n" +
        kCycleBanner + "Nombres des cycles extraits de l'historique : 2\n" + kCycleHeaders +
        "|      0 |      0 |      1 |     42.000 |     60.000 |     50.000 |     80.000 |\n"
        "|      3 |      2 |      3 |    105.000 |    160.000 |     40.000 |    200.000 |\n" +
        kPlasticityBanner +
        "\n"
        "++++++++++++++++++++++++++++++++++++++++\n"
        "+ Calcul final du taux d'endommagement +\n"
        "++++++++++++++++++++++++++++++++++++++++\n"
        "\n"
        "Les coefficients de corrections Ce, CtR qui doivent être appliqués sont calculés selon C11.3.12.4\n"
        "Ce doit être pris égal à 1. selon C11.3.12.4\n"
        "La recherche du nombre des cycles admissibles N est faite selon C11.3.12\n"
        "Le cumul des taux d'endommagement est effectué selon C11.3.12\n"
        "\n"
        "Plus grande épaisseur des composants soudés : 40.000\n"
        "Coefficient de correction d'épaisseur Ce    : 1.000\n"
        "\n"
        "Plus grand cycle du spectre de calcul (MPa) : 105.000\n"
        "\n"
        "| Temps1 | Temps2 | Temps3 |  DSigmaR  |   Temp.  |   CtR   |   Cr    |     N      |  Dommage   |\n"
        "| Début  | Pic    | Fin    |           |          |         |         |            |            |\n"
        "|      0 |      0 |      1 |    42.000 |   80.000 |   1.000 |   1.000 |     765162 |  1.307e-06 |\n"
        "|      3 |      2 |      3 |   105.000 |  200.000 |   0.940 |   0.940 |     717489 |  1.394e-06 |\n"
        "\n\n\n"
        "Taux d'endommagement total pour l'historique de contraintes : 2.7007e-06\n"  // 1/765162 + 1/717489
        "*************************************************************\n"
        "\f";
    EXPECT_EQ(Report("H_B", rainflow_), expected);
}

// The failing no-plasticity check ends the report after the cycle's details and the four
// message lines; no final damage follows.
TEST_F(WeldThroatDamageTest, PlasticityRequiredReportEnding)
{
    const std::string expected =
        "|    N0      |  Dommage   |\n"
        "|          0 |  1.667e-02 |\n" +  // 1e12 / 2550^3 = 60.3 -> 1/60
        SeriesBanner("0") +
        "|          0 |      0.000 |\n"
        "|          1 |    510.000 |\n"
        "|          2 |      0.000 |\n"
        "|          0 |      0.000 |\n" +
        kCycleBanner + "Nombres des cycles extraits de l'historique : 1\n" + kCycleHeaders +
        "|      1 |      0 |      1 |    510.000 |      0.000 |      0.000 |     20.000 |\n" + kPlasticityBanner +
        "Début du cycle  :      1\n"
        "Sommet du cycle :      0\n"
        "Fin du cycle    :      1\n"
        "DSigmaR         :  510.000\n"
        "DSigmaRlm       :    0.000\n"
        "DSigmaRlt       :    0.000\n"
        "Température     :   20.000\n"
        "Rpt             :  250.000\n"
        "\n"
        "(DSigmaR>2.*Rpt) : Une correction de plasticité est nécessaire !\n"
        "     --> La gorge ne respecte pas les critères d'admissibilité du Code !\n"
        "     --> La vérification de la résistance à la fatigue n'est pas possible !\n"
        "     --> La conception doit être revue !\n"
        "\n";
    const std::string report = Report("H_510", rainflow_);
    ASSERT_GE(report.size(), expected.size());
    EXPECT_EQ(report.substr(report.size() - expected.size()), expected);
    EXPECT_EQ(report.find("Calcul final"), std::string::npos);
}

TEST_F(WeldThroatDamageTest, ZeroDamageReport)
{
    const std::string expected =
        ExpectedOpening("SOUDURE_ANGLE", "H_EGAL") + kThroatTableBanner +
        "|          0 |  10.000000 |  20.000000 |  30.000000 |  20.000000 |\n"
        "|          1 |  10.000000 |  20.000000 |  30.000000 |  80.000000 |\n"
        "|          2 |  10.000000 |  20.000000 |  30.000000 |  20.000000 |\n" +
        kOriginSearchBanner +
        "|          0 |  0.000e+00 |\n"
        "\n"
        "Le taux d'endommagement sur la gorge est nul !\n"
        "\n"
        "Taux d'endommagement total pour l'historique étudié : 0.\n"
        "*****************************************************\n"
        "\n";
    EXPECT_EQ(Report("H_EGAL", rainflow_), expected);
}

// A final count without cycle ends the report after the two cycle-table headers.
TEST_F(WeldThroatDamageTest, NoCycleReportEnding)
{
    const ScriptedCounting counting(4, ScriptedCounting::Final::Empty);
    std::ostringstream out;
    out.imbue(std::locale::classic());
    const WeldThroatDamageResult r = Run("H_B", counting, &out);
    EXPECT_EQ(r.end, WeldThroatDamageResult::End::NoCycle);
    EXPECT_EQ(r.origin, 2);
    const std::string ending = kCycleBanner + "Nombres des cycles extraits de l'historique : 0\n" + kCycleHeaders;
    const std::string report = out.str();
    ASSERT_GE(report.size(), ending.size());
    EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
}

TEST_F(WeldThroatDamageTest, Codes)
{
    // The history reader refuses fewer than 3 records (code 200), so the short history is
    // built directly.
    CPelnoFatigueHistorique::RecordTable records;
    for (std::int32_t number = 0; number < 2; ++number) {
        auto record = std::make_unique<CPelnoFatigueReleve>();
        const StressTensor zero{};
        record->SetDefinition("R", number, 0.0, 20.0, zero, zero, zero, zero);
        records.emplace(number, CPelnoFatigueHistorique::Entry(CPelnoFatigueHistorique::kPlainRecord,
                                                               std::move(record)));
    }
    CPelnoFatigueHistorique shortHistory;
    shortHistory.SetDefinition({}, study_.GetWelds(), "COURT", "SOUDURE_ANGLE", CPelnoFatigueHistorique::kThroatType,
                               records);
    const CPelnoFatigue empty;
    WeldThroatDamage shortCheck(kLog, empty, shortHistory, rainflow_, tresca_);
    try {
        shortCheck.Run(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const CExceptionPelnoFatigue& error) {
        EXPECT_EQ(error.GetCode(), 220);
        EXPECT_STREQ(error.GetMessage(), "<CPelnoFatigueClause::DamageWeldThroat> : L'historique ne contient pas assez "
                                         "de relevés pour permettre un comptage des cycles");
    }

    // A defined material is always of family 20 or 30; a material that is not (here one never
    // defined, family 10) on either side is refused before anything is written.
    history_ = study_.GetHistory("H_B");
    for (int side = 1; side <= 2; ++side) {
        WeldThroatObjects objects = Objects("SOUDURE_ANGLE");
        (side == 1 ? objects.material1 : objects.material2) = CPelnoFatigueMateriau();
        std::ostringstream out;
        WeldThroatDamage check(kLog, study_, history_, rainflow_, tresca_);
        EXPECT_EQ(CodeOf([&] { check.Run(objects, &out); }), 430);
        EXPECT_EQ(out.str(), "");
    }

    // A cycle whose instant is not a record number; the message is the short one.
    const ScriptedCounting unknown(4, ScriptedCounting::Final::UnknownInstant);
    try {
        Run("H_B", unknown);
        ADD_FAILURE() << "no error";
    } catch (const CExceptionPelnoFatigue& error) {
        EXPECT_EQ(error.GetCode(), 210);
        EXPECT_STREQ(error.GetMessage(), "<CPelnoFatigueClause::DamageWeldThroat> : Internal error");
    }

    // Any failure that is not the program's own.
    const FailingCounting failing;
    try {
        Run("H_B", failing);
        ADD_FAILURE() << "no error";
    } catch (const CExceptionPelnoFatigue& error) {
        EXPECT_EQ(error.GetCode(), 10);
        EXPECT_STREQ(error.GetMessage(), "<CPelnoFatigueClause::DamageWeldThroat> : Erreur inconnue");
    }

    // Codes of the called operations pass unchanged: the yield strength at 305 °C.
    EXPECT_EQ(CodeOf([&] { Run("H_CHAUD", rainflow_); }), 480);
}

// ---------------------------------------------------------------------------------------------
// The real executable.

std::string Request(const std::string& history, const std::string& file, const std::string& method = "*RAINFLOW")
{
    return "*DOMMAGE\n*POINT_HISTORIQUE   " + history + "\n*FICHIER_SORTIE     " + file + "\n" + method +
           "\n*FIN_DOMMAGE\n";
}

const std::string kNormalEnd = " \n Fin normale du travail \n \n";

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Three requests in one deck: the complete sum, then a failing no-plasticity check, which is
// not an error (the run goes on), then the zero damage; a normal end.
TEST_F(WeldThroatDamageTest, ProgramWritesTheThroatReports)
{
    WriteFile(dir_ + "/requetes.dat", kData + Request("H_B", "gorge_b.txt") + Request("H_510", "gorge_510.txt") +
                                          Request("H_EGAL", "gorge_egal.txt", "*RESERVOIR"));
    const ProgramResult run = RunProgram(
        {"-d", dir_ + "/requetes.dat", "-c", dir_ + "/contexte.txt", "-o", dir_ + "/"}, "", {"LC_ALL=C"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(EndsWith(run.errorOutput, kNormalEnd));

    EXPECT_EQ(ReadFile(dir_ + "/gorge_b.txt"), Report("H_B", rainflow_));
    const std::string failing = ReadFile(dir_ + "/gorge_510.txt");
    EXPECT_TRUE(EndsWith(failing, "     --> La conception doit être revue !\n\n"));
    EXPECT_EQ(failing, Report("H_510", rainflow_));
    EXPECT_TRUE(EndsWith(ReadFile(dir_ + "/gorge_egal.txt"),
                         "Le taux d'endommagement sur la gorge est nul !\n\n"
                         "Taux d'endommagement total pour l'historique étudié : 0.\n" +
                             std::string(53, '*') + "\n\n"));
}

// The user's locale gives the decimal comma; the N column never shows digit grouping.
TEST_F(WeldThroatDamageTest, ProgramWritesNWithoutGrouping)
{
    if (!LocaleAvailable(kGroupingLocale)) GTEST_SKIP() << kGroupingLocale << " is not installed";
    WriteFile(dir_ + "/requete.dat", kData + Request("H_B", "gorge_fr.txt"));
    const ProgramResult run = RunProgram({"-d", dir_ + "/requete.dat", "-c", dir_ + "/contexte.txt", "-o", dir_ + "/"},
                                         "", {std::string("LC_ALL=") + kGroupingLocale});
    ASSERT_EQ(run.status, 0) << run.errorOutput;
    const std::string report = ReadFile(dir_ + "/gorge_fr.txt");
    EXPECT_NE(report.find("|      0 |      0 |      1 |    42,000 |   80,000 |   1,000 |   1,000 |     765162 |  "
                          "1,307e-06 |\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Taux d'endommagement total pour l'historique de contraintes : 2,7007e-06\n"),
              std::string::npos);
}

// Errors of a throat request end the run with their code; the report keeps what was written.
TEST_F(WeldThroatDamageTest, ProgramEndsOnAThroatError)
{
    WriteFile(dir_ + "/chaud.dat", kData + Request("H_CHAUD", "gorge_chaude.txt"));
    const ProgramResult run =
        RunProgram({"-d", dir_ + "/chaud.dat", "-c", dir_ + "/contexte.txt", "-o", dir_ + "/"}, "", {"LC_ALL=C"});
    EXPECT_EQ(run.status, 480 - 256);
    EXPECT_TRUE(EndsWith(run.errorOutput, " Code d'erreur : 480 \n" + std::string(14, ' ') +
                                              Latin9("Matériau - la température d'entrée sort de l'intervalle des "
                                                     "températures fournies ") +
                                              "\n \n"));
    const std::string report = ReadFile(dir_ + "/gorge_chaude.txt");
    EXPECT_TRUE(EndsWith(report, kPlasticityBanner)) << report;
}

}  // namespace
