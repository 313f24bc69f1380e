#include "damage/WeldThroatDamage.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <limits>
#include <stdexcept>
#include <string>

#include "app/Guarded.h"
#include "damage/CorrectionCoefficients.h"
#include "damage/CyclesByInstants.h"
#include "damage/CyclesByRange.h"
#include "damage/OriginDamage.h"
#include "damage/ReportWriter.h"
#include "deck/CPelnoFatigue.h"

namespace {

// Damage below which the throat is taken as not damaged at all.
constexpr double kZeroDamage = 1e-8;
// Global coefficient of the origin search: so low that almost every cycle counts.
constexpr double kSearchFactor = 0.2;

StressTensor Difference(const StressTensor& a, const StressTensor& b)
{
    StressTensor d{};
    for (std::size_t k = 0; k < d.size(); ++k) d[k] = a[k] - b[k];
    return d;
}

// First row whose record number is the instant, or raises 210.
std::size_t RowOf(const std::vector<ThroatRow>& rows, std::int32_t instant, const MethodLogName& log)
{
    const auto found =
        std::find_if(rows.begin(), rows.end(), [instant](const ThroatRow& row) { return row.number == instant; });
    if (found == rows.end()) log.Raise(210, "%s : Internal error");
    return static_cast<std::size_t>(found - rows.begin());
}

// The DSigmaEq series seen from the origin row k: position c holds the record (k + c) mod n
// with the length of the change of its throat stress vector since the origin; position n
// holds the origin again with 0, so the series starts and ends at the origin. Returns the
// largest value (0 at least).
double Series(const std::vector<ThroatRow>& rows, std::size_t k, std::vector<std::int32_t>& instants,
              std::vector<double>& values)
{
    const std::size_t n = rows.size();
    instants.resize(n + 1);
    values.resize(n + 1);
    const ThroatRow& origin = rows[k];
    double largest = 0.0;
    for (std::size_t c = 0; c < n; ++c) {
        const ThroatRow& row = rows[(k + c) % n];
        const double dxx = row.Sxx - origin.Sxx;
        const double dxy = row.Sxy - origin.Sxy;
        const double dxz = row.Sxz - origin.Sxz;
        instants[c] = row.number;
        values[c] = std::sqrt(dxx * dxx + dxy * dxy + dxz * dxz);
        if (values[c] > largest) largest = values[c];
    }
    instants[n] = origin.number;
    values[n] = 0.0;
    return largest;
}

void WriteOpening(ReportWriter& w, const WeldThroatObjects& objects, const CPelnoFatigueHistorique& history)
{
    std::ostream& out = w.Stream();
    const std::string stars(93, '*');
    w.NewLines();
    w.Line(stars.c_str());
    w.Line("* Vérification de la gorge d'un cordon de soudure à pénétration partielle                   *");
    w.Line("* Inutile si hauteur de gorge >= 0,8e et soudure directement sollicitée (cf. C11.3.7.4)     *");
    w.Line("* Inutile si hauteur de gorge >= 0,7e et soudure non directement sollicitée (cf. C11.3.7.4) *");
    w.Line(stars.c_str());
    w.NewLines();

    // Each object under its banner, then two line ends, or one line end and a page break (a
    // form feed and a line end).
    auto pageBreak = [&] { w.NewLines().FormFeed().NewLines(); };
    w.Box('+', 56, {"+ Définition du premier composant lié à la zone soudée +"}).NewLines();
    out << objects.component1;
    w.NewLines(2);
    w.Box('+', 53, {"+ Caractéristiques du matériau du premier composant +"}).NewLines();
    out << objects.material1;
    w.NewLines(2);
    w.Box('+', 55, {"+ Définition du second composant lié à la zone soudée +"}).NewLines();
    out << objects.component2;
    w.NewLines(2);
    w.Box('+', 52, {"+ Caractéristiques du matériau du second composant +"}).NewLines();
    out << objects.material2;
    pageBreak();
    w.Box('+', 51, {"+ Description du cordon dont la gorge est étudiée +"}).NewLines();
    out << objects.weld;
    w.NewLines(2);
    w.Box('+', 35, {"+ Description de la gorge étudiée +"}).NewLines();
    out << objects.classification;
    w.NewLines(2);
    w.Box('+', 47, {"+ Définition de la courbe de fatigue utilisée +", "+ (en principe classe 32 selon C11.3.12.2)    +"})
        .NewLines();
    out << objects.fatigueClass;
    pageBreak();
    w.Box('*', 63, {"* Historique des contraintes qui sollicitent la zone analysée *"}).NewLines();
    out << history;
    pageBreak();

    w.Box('+', 12, {"+ Symboles +"}).NewLines();
    w.Lines({
        "DSigmaEq  : Variation équivalente des contraintes - cf. C11.3.9.4",
        "            égale à la variation de longueur du vecteur contrainte agissant sur le plan de la gorge",
        "DSigmaR   : Taille du cycle de contraintes extrait de l'historique de DSigmaEq",
        "DSigmaRlm : Variation de la partie linéarisée des contraintes mécaniques durant le cycle",
        "DSigmaRlt : Variation de la partie linéarisée des contraintes thermiques durant le cycle",
        "Ce        : Coefficient de correction d'épaisseur selon PELNO Division 2 : 2015 C11.3.12.4",
        "CtR       : Coefficient de correction de température selon PELNO Division 2 : 2015 C11.3.12.4",
        "            Noté Ct dans le PELNO mais s'applique à la température moyenne de cycle t*",
        "            Le C11.3.12.4 renvoie vers le C11.1.3.3 qui donne les formules utilisées",
        "Cr        : Coefficient global de correction selon PELNO Division 2 : 2015 C11.3.12.4",
        "N         : Nombre de cycles admissibles donné par la courbe de fatigue - cf. C11.3.13",
        "N0        : Instant d'origine déterminant pour le paramètre d'endommagement - cf. C11.3.9.5.2",
        "            N0 est noté t0 dans le PELNO",
        "Rpt       : Limite d'élasticité du matériau à la température du cycle",
        "Sxx       : Contrainte normale sur le plan de la gorge - cf. C11.3.7.4",
        "            Noté Sigma_Perpendiculaire dans le PELNO",
        "Sxy       : Composante de la contrainte de cisaillement sur le plan de la gorge - cf. C11.3.7.4",
        "            Noté Tau_Perpendiculaire dans le PELNO",
        "Sxz       : Composante de la contrainte de cisaillement sur le plan de la gorge - cf. C11.3.7.4",
        "            Noté Tau_Parallèle dans le PELNO",
        "Temp      : Température ou température moyenne t* du cycle selon C11.3.5.22",
    });
    w.FormFeed().NewLines();
}

}  // namespace

WeldThroatDamage::WeldThroatDamage(const MethodLogName& log, const CPelnoFatigue& study,
                                   const CPelnoFatigueHistorique& history, const CPelnoFatigueCountingMethod& method,
                                   const CPelnoFatiguePlasticityCriteria& criterion)
    : log_(log), study_(study), history_(history), method_(method), criterion_(criterion)
{
}

void WeldThroatDamage::CheckRecordCount() const
{
    if (history_.GetRecordCount() < 3) log_.Raise(220);
}

WeldThroatObjects WeldThroatDamage::Lookup() const
{
    const CPelnoFatigueContexte& context = study_.GetContext();
    WeldThroatObjects objects;
    objects.weld = study_.GetWeld(history_.GetZoneName());
    objects.classification = context.GetWeldDetail(objects.weld.GetClassificationName());
    objects.fatigueClass = context.GetClass(objects.classification.GetClassName());
    objects.component1 = study_.GetComponent(objects.weld.GetComponent1Name());
    objects.component2 = study_.GetComponent(objects.weld.GetComponent2Name());
    objects.material1 = context.GetMaterial(objects.component1.GetMaterialName());
    objects.material2 = context.GetMaterial(objects.component2.GetMaterialName());
    return objects;
}

WeldThroatDamageResult WeldThroatDamage::Run(std::ostream* report)
{
    return Guarded(log_, [&] {
        CheckRecordCount();
        return Compute(Lookup(), report);
    });
}

WeldThroatDamageResult WeldThroatDamage::Run(const WeldThroatObjects& objects, std::ostream* report)
{
    return Guarded(log_, [&] {
        CheckRecordCount();
        return Compute(objects, report);
    });
}

WeldThroatDamageResult WeldThroatDamage::Compute(const WeldThroatObjects& objects, std::ostream* report)
{
    const MethodLogName& log = log_;
    std::ostream discard(nullptr);  // computes the same without writing
    std::ostream& out = report != nullptr ? *report : discard;
    ReportWriter w(out);
    WeldThroatDamageResult result;

    const CPelnoFatigueMateriau& material1 = objects.material1;
    const CPelnoFatigueMateriau& material2 = objects.material2;
    const std::int32_t type1 = material1.GetType();
    const std::int32_t type2 = material2.GetType();
    if ((type1 != 20 && type1 != 30) || (type2 != 20 && type2 != 30)) log.Raise(430);
    // The non-austenitic law of CtR holds as soon as one of the welded materials is of type 20.
    const std::int32_t lawType = (type1 == 20 || type2 == 20) ? 20 : 30;
    const CPelnoFatigueClasse& fatigueClass = objects.fatigueClass;
    const std::size_t n = history_.GetRecordCount();
    // The counting methods take the n + 1 points of a series as a 32-bit count.
    if (n >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw std::length_error("history too long for a count");
    }
    const std::int32_t points = static_cast<std::int32_t>(n + 1);

    WriteOpening(w, objects, history_);

    // Stresses on the throat plane, one row per record in ascending number.
    w.Box('+', 67, {"+ Contraintes normales et de cisaillement sur le plan de la gorge +",
                    "+ Température associée à ces contraintes                          +"});
    w.NewLines();
    w.Line("|   Temps    |     Sxx    |     Sxy    |     Sxz    |   Temp.    |");
    out << std::fixed;
    std::vector<ThroatRow>& rows = result.rows;
    rows.reserve(n);
    for (const auto& entry : history_.GetRecords()) {
        const CPelnoFatigueReleve& record = entry.second.GetRecord();
        ThroatRow row;
        row.number = entry.first;
        row.Sxx = record.GetSij()[0];
        row.Sxy = record.GetSij()[1];
        row.Sxz = record.GetSij()[2];
        row.SijLM = record.GetSijLM();
        row.SijLT = record.GetSijLT();
        row.temperature = record.GetTemperature();
        rows.push_back(row);
        out << "| " << std::setw(10) << row.number << " | " << std::setw(10) << row.Sxx << " | " << std::setw(10)
            << row.Sxy << " | " << std::setw(10) << row.Sxz << " | " << std::setw(10) << row.temperature << " |\n";
    }
    w.NewLines();

    // Origin search (C11.3.9.5.2): the origin whose series gives the largest damage at Cr = 0.2.
    w.Box('+', 87, {"+ Recherche de l'instant d'origine déterminant pour l'endommagement selon C11.3.9.5.2 +"});
    w.NewLines();
    w.Lines({
        "Pour cette recherche un coefficient global de correction Cr très faible de 0,2 est utilisé,",
        "ainsi presque tous les cycles sont pris en compte (de très petits cycle sont comptés)",
        "Des cycles qui seront négligés dans le calcul final de l'endommagement sont pris en compte",
        "Le taux d'endommagement qui apparaît dans le tableau suivant n'est donc pas significatif",
        "Le tableau retranscrit la suite des itérations effectuées par le logiciel",
        "Un taux d'endommagement est écrit dès lors qu'il devient le plus élevé déjà rencontré !",
    });
    w.NewLines();
    w.Line("|    N0      |  Dommage   |");
    std::vector<std::int32_t> instants;
    std::vector<double> values;
    std::vector<std::int32_t> numbers;
    for (const ThroatRow& row : rows) numbers.push_back(row.number);
    OriginDamage originDamage(numbers, method_);
    const CPelnoFatigueClasse::Query classQuery = fatigueClass.GetQuery();
    const auto query = [&classQuery](const double* ranges, std::size_t count, double largest, double factor,
                             double* inverses) { classQuery.CycleDamages(ranges, count, largest, factor, inverses); };
    double best = std::numeric_limits<double>::lowest();
    for (std::size_t k = 0; k < n; ++k) {
        const double largest = Series(rows, k, instants, values);
        const double damage =
            originDamage.Damage(static_cast<std::int32_t>(k), values.data(), largest, kSearchFactor, query);
        if (damage > best) {
            best = damage;
            result.origin = static_cast<std::int32_t>(k);
            result.originRows.push_back({result.origin, damage});
            out << "| " << std::setw(10) << result.origin << " | " << std::setw(10) << std::setprecision(3)
                << std::scientific << damage << " |\n";
            out << std::fixed;
        }
    }
    result.searchDamage = best;

    if (best < kZeroDamage) {
        w.NewLines().Line("Le taux d'endommagement sur la gorge est nul !").NewLines();
        w.Line("Taux d'endommagement total pour l'historique étudié : 0.");
        w.Line(std::string(53, '*').c_str());
        out << std::fixed;
        w.NewLines();
        result.end = WeldThroatDamageResult::End::ZeroDamage;
        return result;
    }

    // The DSigmaEq series of the chosen origin and its cycles.
    const std::size_t origin = static_cast<std::size_t>(result.origin);
    result.DSigmaEqMax = Series(rows, origin, result.seriesInstants, result.seriesValues);
    w.NewLines();
    w.Box('+', 65, {"+ Variation équivalente des contraintes sur le plan de la gorge +"});
    w.NewLines();
    w.Text("Instant d'origine déterminant pour l'endommagement : ");
    out << result.origin << '\n';
    w.NewLines();
    w.Line("|   Temps    |  DSigmaEq  |");
    out << std::fixed;
    for (std::size_t c = 0; c <= n; ++c) {
        out << "| " << std::setw(10) << result.seriesInstants[c] << " | " << std::setw(10) << result.seriesValues[c]
            << " |\n";
    }
    CyclesByInstants byInstants;
    CyclesByRange byRange;
    method_.LoadingCycles(points, result.seriesInstants.data(), result.seriesValues.data(), byInstants, byRange);

    w.NewLines();
    w.Box('+', 73, {"+ Taille des cycles de contraintes extraits de l'historique de DSigmaEq +"});
    w.NewLines();
    w.Text("Nombres des cycles extraits de l'historique : ");
    out << byInstants.size() << '\n';
    w.NewLines();
    w.Line("| Temps1 | Temps2 | Temps3 |   DSigmaR  |  DSigmaRlm |  DSigmaRlt |   Temp.    |");
    w.Line("| Début  | Pic    | Fin    |            |            |            |            |");
    out << std::fixed;
    if (byInstants.empty()) {
        result.end = WeldThroatDamageResult::End::NoCycle;
        return result;
    }

    // Cycle quantities; the temperature ranges are taken on the record order.
    for (const LoadingCycle& counted : byInstants) {
        const std::size_t s = RowOf(rows, counted.Start, log);
        const std::size_t p = RowOf(rows, counted.Peak, log);
        const std::size_t e = RowOf(rows, counted.End, log);
        ThroatCycle cycle;
        cycle.Start = counted.Start;
        cycle.Peak = counted.Peak;
        cycle.End = counted.End;
        cycle.DSigmaR = counted.Range;
        cycle.DSigmaRlm = std::max(criterion_.EquivalentStress(Difference(rows[s].SijLM, rows[p].SijLM)),
                                   criterion_.EquivalentStress(Difference(rows[e].SijLM, rows[p].SijLM)));
        cycle.DSigmaRlt = std::max(criterion_.EquivalentStress(Difference(rows[s].SijLT, rows[p].SijLT)),
                                   criterion_.EquivalentStress(Difference(rows[e].SijLT, rows[p].SijLT)));
        double smallestT = std::numeric_limits<double>::max();
        double largestT = std::numeric_limits<double>::lowest();
        for (const auto& interval : {std::minmax(s, p), std::minmax(p, e)}) {
            for (std::size_t i = interval.first; i <= interval.second; ++i) {
                smallestT = std::min(smallestT, rows[i].temperature);
                largestT = std::max(largestT, rows[i].temperature);
            }
        }
        cycle.Temp = 0.25 * smallestT + 0.75 * largestT;
        result.cycles.push_back(cycle);
        out << "| " << std::setw(6) << cycle.Start << " | " << std::setw(6) << cycle.Peak << " | " << std::setw(6)
            << cycle.End << " | " << std::setw(10) << cycle.DSigmaR << " | " << std::setw(10) << cycle.DSigmaRlm
            << " | " << std::setw(10) << cycle.DSigmaRlt << " | " << std::setw(10) << cycle.Temp << " |\n";
    }

    // No-plasticity condition (C11.3.11.1.1): a throat cycle must stay within 2·Rpt.
    w.NewLines();
    w.Box('+', 91, {"+ Correction de plasticité : selon C11.3.11.1.1 aucune correction ne doit être nécessaire +"});
    w.NewLines();
    out << std::fixed << std::setprecision(3);
    for (std::size_t i = 0; i < result.cycles.size(); ++i) {
        ThroatCycle& cycle = result.cycles[i];
        cycle.Rpt = std::min(material1.GetRet(cycle.Temp), material2.GetRet(cycle.Temp));
        if (cycle.DSigmaR > 2.0 * cycle.Rpt) {
            w.Text("Début du cycle  : ");
            out << std::setw(6) << cycle.Start << '\n';
            w.Text("Sommet du cycle : ");
            out << std::setw(6) << cycle.Peak << '\n';
            w.Text("Fin du cycle    : ");
            out << std::setw(6) << cycle.End << '\n';
            w.Text("DSigmaR         : ");
            out << std::setw(8) << cycle.DSigmaR << '\n';
            w.Text("DSigmaRlm       : ");
            out << std::setw(8) << cycle.DSigmaRlm << '\n';
            w.Text("DSigmaRlt       : ");
            out << std::setw(8) << cycle.DSigmaRlt << '\n';
            w.Text("Température     : ");
            out << std::setw(8) << cycle.Temp << '\n';
            w.Text("Rpt             : ");
            out << std::setw(8) << cycle.Rpt << '\n';
            w.NewLines();
            w.Lines({
                "(DSigmaR>2.*Rpt) : Une correction de plasticité est nécessaire !",
                "     --> La gorge ne respecte pas les critères d'admissibilité du Code !",
                "     --> La vérification de la résistance à la fatigue n'est pas possible !",
                "     --> La conception doit être revue !",
            });
            w.NewLines();
            result.failingCycle = i;
            result.end = WeldThroatDamageResult::End::PlasticityRequired;
            return result;
        }
    }

    // Final damage (C11.3.12.4): Ce = 1, CtR at the mean cycle temperature, N from the class.
    result.thickness = std::max(objects.component1.GetThickness(), objects.component2.GetThickness());
    result.Ce = 1.0;
    w.NewLines();
    w.Box('+', 40, {"+ Calcul final du taux d'endommagement +"});
    w.NewLines();
    w.Lines({
        "Les coefficients de corrections Ce, CtR qui doivent être appliqués sont calculés selon C11.3.12.4",
        "Ce doit être pris égal à 1. selon C11.3.12.4",
        "La recherche du nombre des cycles admissibles N est faite selon C11.3.12",
        "Le cumul des taux d'endommagement est effectué selon C11.3.12",
    });
    w.NewLines();
    w.Text("Plus grande épaisseur des composants soudés : ");
    out << result.thickness << '\n';
    w.Text("Coefficient de correction d'épaisseur Ce    : ");
    out << result.Ce << '\n';
    w.NewLines();
    w.Text("Plus grand cycle du spectre de calcul (MPa) : ");
    out << result.DSigmaEqMax << '\n';
    w.NewLines();
    w.Line("| Temps1 | Temps2 | Temps3 |  DSigmaR  |   Temp.  |   CtR   |   Cr    |     N      |  Dommage   |");
    w.Line("| Début  | Pic    | Fin    |           |          |         |         |            |            |");
    out << std::fixed;
    double total = 0.0;
    for (ThroatCycle& cycle : result.cycles) {
        cycle.CtR = CorrectionCoefficients::TemperatureCoefficient(lawType, cycle.Temp);
        cycle.Cr = cycle.CtR * result.Ce;
        // The class answers at least 1 cycle, so the damage is always finite.
        cycle.N = fatigueClass.PermissibleCycles(cycle.DSigmaR, result.DSigmaEqMax, cycle.Cr);
        cycle.damage = 1.0 / static_cast<double>(cycle.N);
        total += cycle.damage;
        out << std::setprecision(3) << "| " << std::setw(6) << cycle.Start << " | " << std::setw(6) << cycle.Peak
            << " | " << std::setw(6) << cycle.End << " | " << std::setw(9) << cycle.DSigmaR << " | " << std::setw(8)
            << cycle.Temp << " | " << std::setw(7) << cycle.CtR << " | " << std::setw(7) << cycle.Cr << " | ";
        w.CycleCount(cycle.N);
        out << " | " << std::setw(10) << std::setprecision(3) << std::scientific << cycle.damage << " |\n";
        out << std::fixed;
    }
    result.total = total;
    w.NewLines(3);
    w.Text("Taux d'endommagement total pour l'historique de contraintes : ");
    out << std::setw(10) << std::setprecision(4) << std::scientific << total << '\n';
    w.Line(std::string(61, '*').c_str());
    out << std::fixed;
    w.FormFeed();
    result.end = WeldThroatDamageResult::End::Complete;
    return result;
}
