#include "damage/WeldDamage.h"

#include <algorithm>
#include <iomanip>
#include <utility>

#include "damage/CriticalPlaneDamage.h"
#include "damage/ReportWriter.h"
#include "deck/CPelnoFatigue.h"

namespace {

// "| " then the six components in fields of 10, " | " between them, " |".
void WriteTensorRow(std::ostream& out, const StressTensor& tensor)
{
    out << "| ";
    for (std::size_t k = 0; k < tensor.size(); ++k) {
        if (k > 0) out << " | ";
        out << std::setw(10) << tensor[k];
    }
    out << " |\n";
}

void WriteTensors(ReportWriter& w, const StressTensor& Sij, const StressTensor& SijLM)
{
    w.Line("|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |    Szz     |");
    WriteTensorRow(w.Stream(), Sij);
    w.Line("|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    Szzlm   |");
    WriteTensorRow(w.Stream(), SijLM);
}

void WriteOpening(ReportWriter& w, const CPelnoFatigueComposant& component1, const CPelnoFatigueMateriau& material1,
                  const CPelnoFatigueComposant& component2, const CPelnoFatigueMateriau& material2,
                  const CPelnoFatigueCordon& weld, const CPelnoFatigueClassification& classification,
                  const CPelnoFatigueClasse& fatigueClass, const CPelnoFatigueHistorique& history)
{
    CriticalPlaneDamage::WriteTitle(
        w, "* Calcul du taux d'endommagement pour une zone soudée selon C11.3.9.3 et C11.3.9.2.3  *");
    CriticalPlaneDamage::WriteObject(w, 56, "+ Définition du premier composant lié à la zone soudée +", component1);
    CriticalPlaneDamage::WriteObject(w, 53, "+ Caractéristiques du matériau du premier composant +", material1);
    CriticalPlaneDamage::WriteObject(w, 55, "+ Définition du second composant lié à la zone soudée +", component2);
    CriticalPlaneDamage::WriteObject(w, 52, "+ Caractéristiques du matériau du second composant +", material2, true);
    CriticalPlaneDamage::WriteObject(w, 32, "+ Définition de la zone soudée +", weld);
    CriticalPlaneDamage::WriteObject(w, 49, "+ Classification de la zone soudée selon C11.A5 +", classification);
    CriticalPlaneDamage::WriteObject(w, 47, "+ Définition de la courbe de fatigue utilisée +", fatigueClass, true);
    CriticalPlaneDamage::WriteHistory(w, {"* Historique des contraintes qui sollicitent la zone analysée *"}, history);

    w.Box('+', 12, {"+ Symboles +"}).NewLines();
    w.Lines({
        "A         : Coefficient global d'intensification de contraintes selon C11.A6",
        "DSigmaEq  : Variation équivalente des contraintes - cf. C11.3.9.2.3d2",
        "            égale à 2. fois la variation de longueur du vecteur cisaillement",
        "DSigmaR   : Taille du cycle de contraintes extrait de l'historique de DSigmaEq",
        "DSigmaRlm : Variation de la partie linéarisée des contraintes mécaniques durant le cycle",
        "DSigmaRlt : Variation de la partie linéarisée des contraintes thermiques durant le cycle",
        "Ce        : Coefficient de correction d'épaisseur selon PELNO Division 2 : 2015 C11.3.12.4",
        "CtR       : Coefficient de correction de température selon PELNO Division 2 : 2015 C11.3.12.4",
        "            Noté Ct dans le PELNO mais s'applique à la température moyenne de cycle t*",
        "            Le C11.3.12.4 renvoie vers le C11.1.3.3 qui donne les formules utilisées",
        "Cr        : Coefficient global de correction selon PELNO Division 2 : 2015 C11.3.12.4",
        "Ke        : Coefficient de correction de plasticité pour les contraintes d'origine mécanique",
        "            Selon PELNO Division 2 : 2015 C11.3.11.1",
        "Kv        : Coefficient de correction de plasticité pour les contraintes d'origine thermique",
        "            Selon PELNO Division 2 : 2015 C11.3.11.1",
        "            Prends en compte la variation du coefficient de Poisson entre élasticité et plasticité",
        "N         : Nombre de cycles admissibles donné par la courbe de fatigue - cf. C11.3.13",
        "N0        : Instant d'origine déterminant pour le paramètre d'endommagement - cf. C11.3.9.2.3",
        "            N0 est noté t0 dans le PELNO",
        "Phi       : Angle Phi du plan d'analyse - cf. Figure C11.3.9.2.3a",
        "Rpt       : Limite d'élasticité du matériau à la température du cycle",
        "Sx'x'     : Contrainte normale sur le plan d'analyse défini par Theta et Phi - cf. C11.3.9.2.3b1",
        "Sx'y'     : Composante de la contrainte de cisaillement sur le plan défini par Theta et Phi",
        "Sx'z'     : Composante de la contrainte de cisaillement sur le plan défini par Theta et Phi",
        "            Pour Sx'y' et Sx'z' voir C11.3.9.2.3b2 et b3",
        "Theta     : Angle Theta du plan d'analyse - cf. Figure C11.3.9.2.3a",
        "Temp      : Température ou température moyenne t* du cycle selon C11.3.5.22",
    });
    w.FormFeed();
}

void WriteSearchOpening(ReportWriter& w)
{
    w.NewLines();
    w.Box('+', 48, {"+ Recherche du plan critique selon C11.3.9.2.3 +"}).NewLines();
    w.Lines({
        "Pour cette recherche un coefficient global de correction Cr très faible de 0,2 est utilisé,",
        "ainsi presque tous les cycles sont pris en compte (de très petits cycle sont comptés)",
        "Des cycles qui seront négligés dans le calcul final de l'endommagement sont donc pris en compte",
        "Le taux d'endommagement qui apparaît dans le tableau suivant n'est donc pas significatif",
        "Le tableau retranscrit la suite des itérations effectuées par le logiciel",
        "Un taux d'endommagement est écrit dès lors qu'il devient le plus élevé déjà rencontré !",
    });
    w.NewLines();
    w.Line("|    Theta   |    Phi     |    N0      |  Dommage   |");
}

void WritePlasticityOpening(ReportWriter& w)
{
    w.NewLines();
    w.Box('+', 29, {"+ Corrections de plasticité +"}).NewLines();
    w.Lines({
        "Si (DSigmaR>2.*Rpt)",
        "     --> Les variations de contraintes géométriques DSigmaRlm, DSigmaRlt, DSigmaR doivent être amplifiées",
        "Quand il n'existe que des contraintes d'origine mécanique",
        "     Ke est le coefficient de correction de plasticité pour les contraintes d'origine mécanique",
        "     Ke est calculé à partir de DSigmaRlm selon PELNO Division 2 : 2015 C11.3.11.1.2",
        "     DSigmaRlm est multiplié par Ke",
        "     DSigmaR est multiplié par Ke",
        "Quand il n'existe que des contraintes thermiques venant de la répartition des températures dans l'épaisseur",
        "     Kv est le coefficient de correction de plasticité pour les contraintes d'origine thermique",
        "     Kv est calculé à partir de DSigmaRlt selon PELNO Division 2 : 2015 C11.3.11.1.2",
        "     Pour une justification détaillée de la formulation retenue voir RCC-M Criteria - Annexe 8 - A8-3.5",
        "     DSigmaRlt est multiplié par Kv",
        "     DSigmaR est multiplié par Kv",
        "Quand il existe des contraintes d'origine mécanique et des contraintes thermiques venant",
        "de la répartition des températures dans l'épaisseur",
        "     Le logiciel calcule Ke comme précédemment (--> Ke calculé à partir de DSigmaRlm)",
        "     Le logiciel calcule Kv comme précédemment (--> Kv calculé à partir de DSigmaRlt)",
        "     Le logiciel amplifie DSigmaR en utilisant une combinaison des coefficients Ke et Kv",
        "     La formulation utilisée est décrite en C11.3.11.1.2 : DSigmaR-->ke*A+kv*B",
        "     DSigmaRlm est multiplié par Ke",
        "     DSigmaRlt est multiplié par Kv",
    });
    w.NewLines();
    w.Lines({
        "Pour chaque cycle de contraintes extrait de l'historique de DSigmaEq le tableau suivant donne :",
        "     - La taille du cycle avant (ligne 1) et après (ligne 2) la correction de plasticité",
        "     - Les principaux paramètres utilisés pour effectuer la correction (lignes 1 et 2)",
    });
    w.NewLines();
    w.Line("| Temps1 | Temps2 | Temps3 | DSigmaR  | DSigmaRlm| DSigmaRlt|   Temp.  |   Rpt    |");
    w.Line("| Début  | Pic    | Fin    | DSigmaR  | DSigmaRlm| DSigmaRlt|     Ke   |   Kv     |");
    w.Stream() << std::fixed;
}

}  // namespace

WeldDamage::WeldDamage(const MethodLogName& log, const CPelnoFatigue& study, CPelnoFatigueHistorique& history,
                       const CPelnoFatigueCountingMethod& method, const CPelnoFatiguePlasticityCriteria& criterion)
    : log_(log), study_(study), history_(history), method_(method), criterion_(criterion)
{
}

WeldDamageResult WeldDamage::Run(std::ostream* report, unsigned threads)
{
    const MethodLogName& log = log_;
    std::ostream discard(nullptr);  // computes the same without writing
    std::ostream& out = report != nullptr ? *report : discard;
    ReportWriter w(out);
    WeldDamageResult result;

    // Preparation: the seam, its imperfection, its classification and class, then each
    // component with its material.
    if (history_.GetRecordCount() < 3) log.Raise(220);
    const CPelnoFatigueContexte& context = study_.GetContext();
    const CPelnoFatigueCordon weld = study_.GetWeld(history_.GetZoneName());
    const CPelnoFatigueImperfection& imperfection = weld.GetImperfection();
    const CPelnoFatigueClassification classification = context.GetWeldDetail(weld.GetClassificationName());
    const CPelnoFatigueClasse fatigueClass = context.GetClass(classification.GetClassName());
    const CPelnoFatigueComposant component1 = study_.GetComponent(weld.GetComponent1Name());
    const CPelnoFatigueMateriau material1 = context.GetMaterial(component1.GetMaterialName());
    const CPelnoFatigueComposant component2 = study_.GetComponent(weld.GetComponent2Name());
    const CPelnoFatigueMateriau material2 = context.GetMaterial(component2.GetMaterialName());
    const std::int32_t type1 = material1.GetType();
    const std::int32_t type2 = material2.GetType();
    if ((type1 != 20 && type1 != 30) || (type2 != 20 && type2 != 30)) log.Raise(430);
    WriteOpening(w, component1, material1, component2, material2, weld, classification, fatigueClass, history_);

    // The two materials and components taken together: the type-20 laws when either is of
    // type 20, the smaller Rm, the first material's Poisson coefficient, the smaller
    // admissible external pressure, the larger thickness.
    const std::int32_t type = (type1 == 20 || type2 == 20) ? 20 : 30;
    const double Rm = std::min(material1.GetRm(), material2.GetRm());
    const double nu = material1.GetNu();
    const double e1 = component1.GetThickness();
    const double e2 = component2.GetThickness();
    const double Pe = std::min(component1.GetExternalPressure(), component2.GetExternalPressure());
    const double thickness = std::max(e1, e2);
    result.externalPressure = Pe;
    result.thickness = thickness;

    // Intensification of the stresses of the request's own history copy (C11.A6): A across
    // the seam on Sxx, A along it on Syy, in the total and the linearised mechanical tensors,
    // each by (A - 1) times the membrane stress.
    if (imperfection.IsDefined()) {
        w.NewLines();
        w.Box('+', 82, {"+ Intensification des contraintes pour prise en compte de imperfections de forme +"});
        w.NewLines();
        std::vector<std::int32_t> numbers;
        for (const auto& entry : history_.GetRecords()) numbers.push_back(entry.first);
        for (const std::int32_t number : numbers) {
            CPelnoFatigueReleve& record = history_.GetRecord(number);
            WeldIntensification step;
            step.instant = number;
            step.pressure = record.GetPressure();
            const std::pair<double, double> A =
                imperfection.GetA(e1, e2, step.pressure, Pe, kIntensificationE, kIntensificationNu);
            step.Aperpendicular = A.first;
            step.Aparallel = A.second;
            step.Sij = record.GetSij();
            step.SijLM = record.GetSijLM();
            const StressTensor& Sm = record.GetSijM();
            step.intensifiedSij = step.Sij;
            step.intensifiedSijLM = step.SijLM;
            step.intensifiedSij[0] += (step.Aperpendicular - 1.0) * Sm[0];
            step.intensifiedSij[3] += (step.Aparallel - 1.0) * Sm[3];
            step.intensifiedSijLM[0] += (step.Aperpendicular - 1.0) * Sm[0];
            step.intensifiedSijLM[3] += (step.Aparallel - 1.0) * Sm[3];

            w.NewLines();
            w.Text("Nom du relevé de contraintes                 : ");
            out << record.GetName() << '\n';
            w.Text("Pression associée au relevé                  : ");
            out << step.pressure << '\n';
            w.Text("Pression extérieure maximale de l'enveloppe  : ");
            out << Pe << '\n';
            w.Text("Coefficient A d'intensification selon C11.A6 : ");
            out << step.Aperpendicular << '\n';
            w.Line("(direction perpendiculaire au cordon)");
            w.Text("Coefficient A d'intensification selon C11.A6 : ");
            out << step.Aparallel << '\n';
            w.Line("(direction parallèle au cordon)");
            w.Line("Valeurs initiales des contraintes relevées :");
            WriteTensors(w, step.Sij, step.SijLM);
            record.SetStresses(step.intensifiedSij, Sm, step.intensifiedSijLM, record.GetSijLT());
            w.Line("Valeurs des contraintes après intensification selon C11.A6 :");
            WriteTensors(w, step.intensifiedSij, step.intensifiedSijLM);
            result.intensification.push_back(step);
        }
        w.FormFeed();
    }

    CriticalPlaneDamage steps(log, method_, criterion_, CriticalPlaneDamage::WeldSeam(),
                              CriticalPlaneDamage::ReadRows(history_), w);

    // Critical-plane search.
    WriteSearchOpening(w);
    const CPelnoFatigueClasse::Query classQuery = fatigueClass.GetQuery();
    const auto query = [&classQuery](const double* ranges, std::size_t count, double largest, double factor,
                             double* inverses) { classQuery.CycleDamages(ranges, count, largest, factor, inverses); };
    const CriticalPlaneSearch::Plane best = steps.Search(query, threads);
    result.plane = best;
    if (steps.ZeroDamage(best)) {
        result.end = WeldDamageResult::End::ZeroDamage;
        return result;
    }

    // Stresses on the critical plane, the DSigmaEq history and its cycles.
    const CriticalPlaneDamage::PlaneStresses plane =
        steps.CriticalPlane(best, 66,
                            {"+ Contraintes normale et de cisaillement sur le plan déterminant +",
                             "+ Température associée à ces contraintes                         +"},
                            "|    Temps   |    Sx'x'   |    Sx'y'   |    Sx'z'   |   Temp.    |");
    result.normal = plane.normal;
    result.shearY = plane.shearY;
    result.shearZ = plane.shearZ;
    const CyclesByInstants& byInstants =
        steps.CountCycles(best, plane, result.seriesInstants, result.seriesValues,
                          {"| Temps1 | Temps2 | Temps3 |   DSigmaR  |  DSigmaRlm |  DSigmaRlt |   Temp.    |",
                           "| Début  | Pic    | Fin    |            |            |            |            |"});
    if (byInstants.empty()) {
        result.end = WeldDamageResult::End::NoCycle;
        return result;
    }

    // Cycle quantities, the intervals taken in history order.
    for (const LoadingCycle& cycle : byInstants) {
        const CycleQuantities q = steps.Quantities(cycle, plane);
        WeldCycle row;
        row.cycle = cycle;
        row.counted = q;
        row.corrected = q;
        result.cycles.push_back(row);
        out << "| " << std::setw(6) << cycle.Start << " | " << std::setw(6) << cycle.Peak << " | " << std::setw(6)
            << cycle.End << " | " << std::setw(10) << q.DSigmaR << " | " << std::setw(10) << q.DSigmaRlm << " | "
            << std::setw(10) << q.DSigmaRlt << " | " << std::setw(10) << q.Temp << " |\n";
    }

    // Plasticity correction of DSigmaR, with the smaller yield strength of the two materials.
    WritePlasticityOpening(w);
    double Dfinal = 0.0;
    for (WeldCycle& row : result.cycles) {
        row.Rpt = std::min(material1.GetRet(row.counted.Temp), material2.GetRet(row.counted.Temp));
        row.plasticity =
            CorrectionCoefficients::PlasticityCorrection(log, ZoneKind::Welded, type, Rm, nu, row.Rpt, row.corrected);
        const CycleQuantities& a = row.counted;
        const CycleQuantities& b = row.corrected;
        w.Line("|        |        |        |          |          |          |          |          |");
        out << "| " << std::setw(6) << row.cycle.Start << " | " << std::setw(6) << row.cycle.Peak << " | "
            << std::setw(6) << row.cycle.End << " | " << std::setw(8) << a.DSigmaR << " | " << std::setw(8)
            << a.DSigmaRlm << " | " << std::setw(8) << a.DSigmaRlt << " | " << std::setw(8) << a.Temp << " | "
            << std::setw(8) << row.Rpt << " |\n";
        out << "|        |        |        | " << std::setw(8) << b.DSigmaR << " | " << std::setw(8) << b.DSigmaRlm
            << " | " << std::setw(8) << b.DSigmaRlt << " | " << std::setw(8) << row.plasticity.Ke << " | "
            << std::setw(8) << row.plasticity.Kv << " |\n";
        if (b.DSigmaR > Dfinal) Dfinal = b.DSigmaR;
    }
    result.Dfinal = Dfinal;

    // Final damage: Ce once from the larger thickness, CtR per cycle, N from the seam's class.
    const double Ce = CorrectionCoefficients::ThicknessCoefficient(thickness);
    result.Ce = Ce;
    w.NewLines();
    w.Box('+', 40, {"+ Calcul final du taux d'endommagement +"}).NewLines();
    w.Lines({
        "Les coefficients de corrections Ce, CtR qui doivent être appliqués sont calculés selon C11.3.12.4",
        "La recherche du nombre des cycles admissibles N est faite selon C11.3.12",
        "Le cumul des taux d'endommagement est effectué selon C11.3.12",
    });
    w.NewLines();
    w.Text("Plus grande épaisseur des composants soudés : ");
    out << thickness << '\n';
    w.Text("Coefficient de correction d'épaisseur Ce    : ");
    out << Ce << '\n';
    w.NewLines();
    w.Text("Plus grand cycle du spectre de calcul (MPa) : ");
    out << Dfinal << '\n';
    w.NewLines();
    w.Line("| Temps1 | Temps2 | Temps3 |  DSigmaR  |   Temp.  |   CtR   |   Cr    |     N      |  Dommage   |");
    w.Line("| Début  | Pic    | Fin    |           |          |         |         |            |            |");
    out << std::fixed;
    double total = 0.0;
    for (WeldCycle& row : result.cycles) {
        const CycleQuantities& q = row.corrected;
        row.CtR = CorrectionCoefficients::TemperatureCoefficient(type, q.Temp);
        row.Cr = Ce * row.CtR;
        row.N = fatigueClass.PermissibleCycles(q.DSigmaR, Dfinal, row.Cr);
        row.damage = 1.0 / static_cast<double>(row.N);
        total += row.damage;
        out << "| " << std::setw(6) << row.cycle.Start << " | " << std::setw(6) << row.cycle.Peak << " | "
            << std::setw(6) << row.cycle.End << " | " << std::setw(9) << q.DSigmaR << " | " << std::setw(8) << q.Temp
            << " | " << std::setw(7) << row.CtR << " | " << std::setw(7) << row.Cr << " | ";
        w.CycleCount(row.N);
        out << " | " << std::setw(10) << std::setprecision(3) << std::scientific << row.damage << " |\n";
        out << std::fixed;
    }
    result.total = total;
    CriticalPlaneDamage::WriteTotal(w, total);
    result.end = WeldDamageResult::End::Complete;
    return result;
}
