#include "damage/UWZoneDamage.h"

#include <iomanip>

#include "damage/CriticalPlaneDamage.h"
#include "damage/ReportWriter.h"
#include "deck/CPelnoFatigue.h"

namespace {

void WriteOpening(ReportWriter& w, const CPelnoFatigueComposant& component, const CPelnoFatigueMateriau& material,
                  const CPelnoFatigueUWZone& zone, const CPelnoFatigueUWCourbe& curve,
                  const CPelnoFatigueHistorique& history)
{
    CriticalPlaneDamage::WriteTitle(
        w, "* Calcul du taux d'endommagement pour une zone non soudée selon C11.3.9.2.3           *");
    CriticalPlaneDamage::WriteObject(
        w, 71, "+ Définition du composant auquel appartient la zone critique analysée +", component);
    CriticalPlaneDamage::WriteObject(w, 45, "+ Caractéristiques du matériau du composant +", material);
    CriticalPlaneDamage::WriteObject(w, 49, "+ Caractéristiques de la zone critique analysée +", zone);
    CriticalPlaneDamage::WriteObject(w, 47, "+ Définition de la courbe de fatigue utilisée +", curve, true);
    CriticalPlaneDamage::WriteHistory(w,
                                      {"* Historique des contraintes qui sollicitent la zone analysée *",
                                       "* (Rappel des valeurs fournies - Kt de la zone non appliqué)  *"},
                                      history);

    w.Box('+', 12, {"+ Symboles +"}).NewLines();
    w.Lines({
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
    });
    w.FormFeed().NewLines();

    w.Box('+', 48, {"+ Recherche du plan critique selon C11.3.9.2.3 +"}).NewLines();
    w.Lines({
        "L'objectif est de trouver un plan qui est vraisemblablement l'un des (le) plus critiques!",
        "Pendant la recherche un coefficient global de correction Cr très faible de 0,2 est utilisé,",
        "ainsi presque tous les cycles sont pris en compte (de très petits cycle sont comptés)",
        "Des cycles qui seront négligés dans le calcul final de l'endommagement sont donc pris en compte",
        "Le taux d'endommagement qui apparaît dans le tableau suivant n'est pas significatif",
        "Le tableau retranscrit la suite des itérations effectuées par le logiciel",
        "Un taux d'endommagement est écrit dès lors qu'il devient le plus élevé déjà rencontré !",
    });
    w.NewLines();
    w.Line("|    Theta   |    Phi     |    N0      |  Dommage   |  Sx'x' Som |");
}

}  // namespace

UWZoneDamage::UWZoneDamage(const MethodLogName& log, const CPelnoFatigue& study,
                           const CPelnoFatigueHistorique& history, const CPelnoFatigueCountingMethod& method,
                           const CPelnoFatiguePlasticityCriteria& criterion)
    : log_(log), study_(study), history_(history), method_(method), criterion_(criterion)
{
}

UWZoneDamageResult UWZoneDamage::Run(std::ostream* report, unsigned threads)
{
    const MethodLogName& log = log_;
    std::ostream discard(nullptr);  // computes the same without writing
    std::ostream& out = report != nullptr ? *report : discard;
    ReportWriter w(out);
    UWZoneDamageResult result;

    // Preparation.
    if (history_.GetRecordCount() < 3) log.Raise(220);
    const CPelnoFatigueUWZone zone = study_.GetUWZone(history_.GetZoneName());
    const CPelnoFatigueUWCourbe curve = study_.GetContext().GetUWCurve(zone.GetCurveName());
    const CPelnoFatigueComposant component = study_.GetComponent(zone.GetComponentName());
    const CPelnoFatigueMateriau material = study_.GetContext().GetMaterial(component.GetMaterialName());
    const std::int32_t type = material.GetType();
    if (type != 20 && type != 30) log.Raise(430);
    WriteOpening(w, component, material, zone, curve, history_);

    const double zoneKt = zone.GetKt();
    // With Kt above 1.0001 the stresses given are geometric ones, amplified by the zone's Kt.
    const bool geometric = zone.IsDefined() && zoneKt > 1.0001;
    auto sn = [&](double range, double largest, double factor) {
        return curve.PermissibleCycles(range, largest, factor);
    };
    CriticalPlaneDamage steps(log, method_, criterion_, CriticalPlaneDamage::UnweldedZone(geometric, zoneKt),
                              CriticalPlaneDamage::ReadRows(history_), w);

    // Critical-plane search: the curve is asked for every cycle of every origin, its constant
    // parts taken once.
    const CPelnoFatigueUWCourbe::Query curveQuery = curve.GetQuery();
    const auto query = [&curveQuery](const double* ranges, std::size_t count, double largest, double factor,
                             double* inverses) { curveQuery.CycleDamages(ranges, count, largest, factor, inverses); };
    const CriticalPlaneSearch::Plane best = steps.Search(query, threads);
    result.plane = best;
    if (steps.ZeroDamage(best)) {
        result.end = UWZoneDamageResult::End::ZeroDamage;
        return result;
    }

    // Stresses on the critical plane, the DSigmaEq history and its cycles.
    const CriticalPlaneDamage::PlaneStresses plane =
        steps.CriticalPlane(best, 68,
                            {"+ Contraintes normale et de cisaillement sur le plan déterminant   +",
                             "+ Contrainte équivalente et température associée à ces contraintes +"},
                            "|    Temps   |    Sx'x'   |    Sx'y'   |    Sx'z'   |   SigmaEq  |   Temp.    |");
    const CyclesByInstants& byInstants = steps.CountCycles(
        best, plane, result.seriesInstants, result.seriesValues,
        {"| Temps1 | Temps2 | Temps3 |  DSigmaR | DSigmaRlm| DSigmaRlt| DSigmaRl |   Sigmo  | SigmaEqM |  Temp.  |",
         "| Début  | Pic    | Fin    |          |          |          |          |          |          |         |"});
    if (byInstants.empty()) {
        result.end = UWZoneDamageResult::End::NoCycle;
        return result;
    }

    // Cycle quantities, the intervals taken in history order.
    for (const LoadingCycle& cycle : byInstants) {
        const CycleQuantities q = steps.Quantities(cycle, plane);
        UWZoneCycle row;
        row.cycle = cycle;
        row.counted = q;
        row.corrected = q;
        result.cycles.push_back(row);
        out << "| " << std::setw(6) << cycle.Start << " | " << std::setw(6) << cycle.Peak << " | " << std::setw(6)
            << cycle.End << " | " << std::setw(8) << q.DSigmaR << " | " << std::setw(8) << q.DSigmaRlm << " | "
            << std::setw(8) << q.DSigmaRlt << " | " << std::setw(8) << q.DSigmaRl << " | " << std::setw(8)
            << q.Sigmo << " | " << std::setw(8) << q.SigmaEqM << " | " << std::setw(7) << q.Temp << " |\n";
    }

    // Plasticity correction.
    w.NewLines();
    w.Box('+', 29, {"+ Corrections de plasticité +"});
    w.NewLines();
    w.Lines({
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
    });
    w.NewLines();
    w.Lines({
        "Pour chaque cycle de contraintes extrait de l'historique de DSigmaEq le tableau suivant donne :",
        "     - La taille du cycle avant (ligne 1) et après (ligne 2) la correction de plasticité",
        "     - Les Principaux paramètres utilisés pour effectuer la correction (lignes 1 et 2)",
    });
    w.NewLines();
    w.Line("| Temps1 | Temps2 | Temps3 | DSigmaR  |  Sigmo   | DSigmaRl | DSigmaRlm| DSigmaRlt|   Temp.  |   Rpt    |");
    w.Line("| Début  | Pic    | Fin    | DSigmaR  |  Sigmo   | DSigmaRl | DSigmaRlm| DSigmaRlt|     Ke   |   Kv     |");
    out << std::fixed;
    const double Rm = material.GetRm();
    double Dfinal = 0.0;
    for (UWZoneCycle& row : result.cycles) {
        row.Rpt = material.GetRet(row.counted.Temp);
        row.plasticity = CorrectionCoefficients::PlasticityCorrection(log, ZoneKind::Unwelded, type, Rm,
                                                                      material.GetNu(), row.Rpt, row.corrected);
        const CycleQuantities& a = row.counted;
        const CycleQuantities& b = row.corrected;
        for (int k = 0; k < 2; ++k) {
            w.Line("|        |        |        |          |          |          |          |          |          |          |");
        }
        out << "| " << std::setw(6) << row.cycle.Start << " | " << std::setw(6) << row.cycle.Peak << " | "
            << std::setw(6) << row.cycle.End << " | " << std::setw(8) << a.DSigmaR << " | " << std::setw(8) << a.Sigmo
            << " | " << std::setw(8) << a.DSigmaRl << " | " << std::setw(8) << a.DSigmaRlm << " | " << std::setw(8)
            << a.DSigmaRlt << " | " << std::setw(8) << a.Temp << " | " << std::setw(8) << row.Rpt << " |\n";
        out << "|        |        |        | " << std::setw(8) << b.DSigmaR << " | " << std::setw(8) << b.Sigmo << " | "
            << std::setw(8) << b.DSigmaRl << " | " << std::setw(8) << b.DSigmaRlm << " | " << std::setw(8)
            << b.DSigmaRlt << " | " << std::setw(8) << row.plasticity.Ke << " | " << std::setw(8)
            << row.plasticity.Kv << " |\n";
        if (b.DSigmaR > Dfinal) Dfinal = b.DSigmaR;
    }
    result.Dfinal = Dfinal;

    // Final damage.
    w.NewLines();
    w.Box('+', 40, {"+ Calcul final du taux d'endommagement +"});
    w.NewLines();
    if (geometric) {
        w.Lines({
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
        });
        w.NewLines();
        w.Text("Kt caractéristique de la zone étudiée       : ");
        out << zoneKt;
    } else {
        w.Lines({
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
        });
    }
    w.NewLines();
    const double thickness = component.GetThickness();
    const double roughness = component.GetRoughness();
    w.Text("Résistance à la traction à l'ambiante (MPa) : ");
    out << Rm << '\n';
    w.Text("Epaisseur du composant (mm)                 : ");
    out << thickness << '\n';
    w.Text("Rugosité du composant (micro mètre)         : ");
    out << roughness << '\n';
    w.Text("Plus grand cycle du spectre de calcul (MPa) : ");
    out << Dfinal << '\n';
    w.NewLines();
    w.Line("| Temps1 | Temps2 | Temps3 | DSigmaR  | DSigmaRl | DSigmaRlm| DSigmaRlt|    Sigmo   |  SigmaEqM  |");
    w.Line("| Début  | Pic    | Fin    |    Kt    |   Kf     |          |          |            |            |");
    w.Line("|        |        |        |   Temp   |  DSigmaF |   CtR    |    Cm    |     Ce     |     Cs     |");
    w.Line("|        |        |        |          |          |          |    Cr    |      N     |  Dommage   |");
    out << std::fixed;

    const double DSigmaD = curve.GetDSigmaD();
    double total = 0.0;
    for (UWZoneCycle& row : result.cycles) {
        const CycleQuantities& q = row.corrected;
        row.Rpt = material.GetRet(q.Temp);
        const std::int32_t N0 = curve.PermissibleCycles(q.DSigmaR, Dfinal, 1.0);
        row.notch = CorrectionCoefficients::EffectiveNotchFactor(geometric, zoneKt, DSigmaD, q);
        const double DSigmaF = row.notch.DSigmaF;
        row.CtR = CorrectionCoefficients::TemperatureCoefficient(type, q.Temp);
        row.Cs = CorrectionCoefficients::SurfaceCoefficient(log, roughness, Rm, N0, DSigmaF, Dfinal, sn);
        row.Ce = CorrectionCoefficients::ThicknessCoefficient(log, thickness, N0, DSigmaF, Dfinal, sn);
        row.Cm = CorrectionCoefficients::MeanStressCoefficient(log, Rm, row.Rpt, q, DSigmaF, N0, Dfinal, sn);
        row.Cr = row.CtR * row.Ce * row.Cs * row.Cm;
        row.N = curve.PermissibleCycles(DSigmaF, Dfinal, row.Cr);
        row.damage = 1.0 / static_cast<double>(row.N);
        total += row.damage;

        for (int k = 0; k < 2; ++k) {
            w.Line("|        |        |        |          |          |          |          |            |            |");
        }
        out << "| " << std::setw(6) << row.cycle.Start << " | " << std::setw(6) << row.cycle.Peak << " | "
            << std::setw(6) << row.cycle.End << " | " << std::setw(8) << q.DSigmaR << " | " << std::setw(8)
            << q.DSigmaRl << " | " << std::setw(8) << q.DSigmaRlm << " | " << std::setw(8) << q.DSigmaRlt << " | "
            << std::setw(10) << q.Sigmo << " | " << std::setw(10) << q.SigmaEqM << " |\n";
        out << "|        |        |        | " << std::setw(8) << row.notch.Kt << " | " << std::setw(8)
            << row.notch.Kf << " |          |          |            |            |\n";
        out << "|        |        |        | " << std::setw(8) << q.Temp << " | " << std::setw(8) << DSigmaF << " | "
            << std::setw(8) << row.CtR << " | " << std::setw(8) << row.Cm << " | " << std::setw(10) << row.Ce
            << " | " << std::setw(10) << row.Cs << " |\n";
        out << "|        |        |        |          |          |          | " << std::setw(8) << row.Cr << " | ";
        w.CycleCount(row.N);
        out << " | " << std::setw(10) << std::setprecision(3) << std::scientific << row.damage << " |\n";
        out << std::fixed;
    }
    result.total = total;
    CriticalPlaneDamage::WriteTotal(w, total);
    result.end = UWZoneDamageResult::End::Complete;
    return result;
}
