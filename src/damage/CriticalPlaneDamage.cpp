#include "damage/CriticalPlaneDamage.h"

#include <algorithm>
#include <iomanip>
#include <limits>
#include <string>
#include <utility>

namespace {

constexpr double kZeroDamage = 1e-8;

StressTensor Difference(const StressTensor& a, const StressTensor& b)
{
    StressTensor d{};
    for (std::size_t k = 0; k < d.size(); ++k) d[k] = a[k] - b[k];
    return d;
}

StressTensor Sum(const StressTensor& a, const StressTensor& b)
{
    StressTensor s{};
    for (std::size_t k = 0; k < s.size(); ++k) s[k] = a[k] + b[k];
    return s;
}

}  // namespace

CriticalPlaneDamage::Rules CriticalPlaneDamage::UnweldedZone(bool geometric, double zoneKt)
{
    Rules rules;
    rules.search.applyFactor = geometric;
    rules.search.factor = zoneKt;
    rules.search.tieBreakOnNormalSum = true;
    rules.equivalentStress = true;
    rules.zeroDamageTotal = "Taux d'endommagement total pour l'historique étudié : 0.";
    return rules;
}

CriticalPlaneDamage::Rules CriticalPlaneDamage::WeldSeam()
{
    Rules rules;
    rules.search.applyFactor = false;
    rules.search.factor = 1.0;
    rules.search.tieBreakOnNormalSum = false;
    rules.equivalentStress = false;
    rules.zeroDamageTotal = "Taux d'endommagement total pour l'historique étudié : 0";
    return rules;
}

CriticalPlaneDamage::RecordRows CriticalPlaneDamage::ReadRows(const CPelnoFatigueHistorique& history)
{
    RecordRows rows;
    for (const auto& entry : history.GetRecords()) {
        const CPelnoFatigueReleve& record = entry.second.GetRecord();
        rows.instants.push_back(entry.first);
        rows.totals.push_back(record.GetSij());
        rows.mechanical.push_back(record.GetSijLM());
        rows.thermal.push_back(record.GetSijLT());
        rows.temperatures.push_back(record.GetTemperature());
    }
    return rows;
}

std::size_t CriticalPlaneDamage::IndexOf(const std::vector<std::int32_t>& instants, std::int32_t instant,
                                         const MethodLogName& log)
{
    const auto found = std::find(instants.begin(), instants.end(), instant);
    if (found == instants.end()) log.Raise(210, "%s : Internal error");
    return static_cast<std::size_t>(found - instants.begin());
}

CriticalPlaneDamage::CriticalPlaneDamage(const MethodLogName& log, const CPelnoFatigueCountingMethod& method,
                                         const CPelnoFatiguePlasticityCriteria& criterion, const Rules& rules,
                                         RecordRows rows, ReportWriter& report)
    : log_(log), method_(method), criterion_(criterion), rules_(rules), rows_(std::move(rows)), w_(report)
{
}

CriticalPlaneSearch::Plane CriticalPlaneDamage::Search(CycleDamagesRef damages, unsigned threads)
{
    std::ostream& out = w_.Stream();
    const bool normalSumColumn = rules_.search.tieBreakOnNormalSum;
    const double normalSumFactor = rules_.search.factor;
    CriticalPlaneSearch search(rows_.instants, rows_.totals);
    return search.Run(rules_.search, method_, damages, [&](const CriticalPlaneSearch::Plane& plane) {
        out << "| " << std::setw(10) << plane.theta * CriticalPlaneSearch::kDegreesPerRadian << " | "
            << std::setw(10) << plane.phi * CriticalPlaneSearch::kDegreesPerRadian << " | " << std::setw(10)
            << plane.origin << " | " << std::setw(10) << std::setprecision(3) << std::scientific << plane.damage;
        if (normalSumColumn) {
            out << " | " << std::setw(10) << std::fixed << normalSumFactor * plane.normalSum << " |\n";
        } else {
            out << " |\n" << std::fixed;
        }
    }, threads);
}

bool CriticalPlaneDamage::ZeroDamage(const CriticalPlaneSearch::Plane& best)
{
    if (!(best.damage < kZeroDamage)) return false;
    w_.NewLines().Line("Le taux d'endommagement sur le plan critique est nul !").NewLines();
    w_.Line(rules_.zeroDamageTotal);
    w_.Line(std::string(53, '*').c_str());
    w_.Stream() << std::fixed;
    w_.NewLines();
    return true;
}

CriticalPlaneDamage::PlaneStresses CriticalPlaneDamage::CriticalPlane(const CriticalPlaneSearch::Plane& best,
                                                                      int borderWidth,
                                                                      std::initializer_list<const char*> titles,
                                                                      const char* header)
{
    std::ostream& out = w_.Stream();
    const std::size_t count = rows_.instants.size();
    const bool applied = rules_.search.applyFactor;
    const double factor = applied ? rules_.search.factor : 1.0;
    const PlaneBasis basis = CriticalPlaneSearch::Basis(best.theta, best.phi);
    PlaneStresses plane;
    plane.normal.resize(count);
    plane.shearY.resize(count);
    plane.shearZ.resize(count);
    if (rules_.equivalentStress) plane.sigmaEq.resize(count);

    w_.NewLines();
    w_.Box('+', borderWidth, titles);
    w_.NewLines();
    w_.Text("Angle Theta du plan critique              : ");
    out << best.theta * CriticalPlaneSearch::kDegreesPerRadian << '\n';
    w_.Text("Angle Phi du plan critique                : ");
    out << best.phi * CriticalPlaneSearch::kDegreesPerRadian << '\n';
    w_.Text("Instant d'origine déterminant sur ce plan : ");
    out << best.origin << '\n';
    w_.NewLines();
    w_.Line(header);
    out << std::fixed;
    for (std::size_t i = 0; i < count; ++i) {
        const StressTensor& total = rows_.totals[i];
        plane.normal[i] = CriticalPlaneSearch::Project(total, basis.x, basis.x) * factor;
        plane.shearY[i] = CriticalPlaneSearch::Project(total, basis.x, basis.y) * factor;
        plane.shearZ[i] = CriticalPlaneSearch::Project(total, basis.x, basis.z) * factor;
        out << "| " << std::setw(10) << rows_.instants[i] << " | " << std::setw(10) << plane.normal[i] << " | "
            << std::setw(10) << plane.shearY[i] << " | " << std::setw(10) << plane.shearZ[i] << " | ";
        if (rules_.equivalentStress) {
            plane.sigmaEq[i] = criterion_.EquivalentStress(total);
            if (applied) plane.sigmaEq[i] = plane.sigmaEq[i] * factor;
            out << std::setw(10) << plane.sigmaEq[i] << " | ";
        }
        out << std::setw(10) << rows_.temperatures[i] << " |\n";
    }
    return plane;
}

const CyclesByInstants& CriticalPlaneDamage::CountCycles(const CriticalPlaneSearch::Plane& best,
                                                         const PlaneStresses& plane,
                                                         std::vector<std::int32_t>& seriesInstants,
                                                         std::vector<double>& seriesValues,
                                                         std::initializer_list<const char*> cycleHeaders)
{
    std::ostream& out = w_.Stream();
    const std::size_t count = rows_.instants.size();
    const std::int32_t n = static_cast<std::int32_t>(count);
    // From the stored plane stresses, already multiplied by the factor when it applies.
    seriesInstants.resize(count + 1);
    seriesValues.resize(count + 1);
    CriticalPlaneSearch::Series(n, rows_.instants.data(), plane.shearY.data(), plane.shearZ.data(), best.origin,
                                false, 1.0, seriesInstants.data(), seriesValues.data());
    w_.NewLines();
    w_.Box('+', 62, {"+ Variation équivalente des contraintes sur le plan critique +"});
    w_.NewLines();
    w_.Line("|    Temps   |  DSigmaEq  |");
    out << std::fixed;
    for (std::size_t k = 0; k <= count; ++k) {
        out << "| " << std::setw(10) << seriesInstants[k] << " | " << std::setw(10) << std::fixed << seriesValues[k]
            << " |\n";
    }
    method_.LoadingCycles(n + 1, seriesInstants.data(), seriesValues.data(), byInstants_, byRange_);

    w_.NewLines();
    w_.Box('+', 73, {"+ Taille des cycles de contraintes extraits de l'historique de DSigmaEq +"});
    w_.NewLines();
    w_.Text("Nombres des cycles extraits de l'historique : ");
    out << byInstants_.size() << '\n';
    w_.NewLines();
    w_.Lines(cycleHeaders);
    out << std::fixed;
    return byInstants_;
}

CycleQuantities CriticalPlaneDamage::Quantities(const LoadingCycle& cycle, const PlaneStresses& plane) const
{
    const std::size_t s = IndexOf(rows_.instants, cycle.Start, log_);
    const std::size_t p = IndexOf(rows_.instants, cycle.Peak, log_);
    const std::size_t e = IndexOf(rows_.instants, cycle.End, log_);
    const auto q = [this](const StressTensor& tensor) { return criterion_.EquivalentStress(tensor); };
    const std::vector<StressTensor>& meca = rows_.mechanical;
    const std::vector<StressTensor>& ther = rows_.thermal;

    CycleQuantities quantities;
    quantities.DSigmaR = cycle.Range;
    quantities.DSigmaRlm = std::max(q(Difference(meca[s], meca[p])), q(Difference(meca[e], meca[p])));
    quantities.DSigmaRlt = std::max(q(Difference(ther[s], ther[p])), q(Difference(ther[e], ther[p])));
    if (rules_.equivalentStress) {
        const StressTensor linearS = Sum(meca[s], ther[s]);
        const StressTensor linearP = Sum(meca[p], ther[p]);
        const StressTensor linearE = Sum(meca[e], ther[e]);
        quantities.DSigmaRl = std::max(q(Difference(linearS, linearP)), q(Difference(linearE, linearP)));
    }

    // Over the records between start and peak, then between peak and end, in history order
    // (not in the rotated order of the count).
    double largestNormal = std::numeric_limits<double>::lowest();
    double smallestNormal = std::numeric_limits<double>::max();
    double largestT = std::numeric_limits<double>::lowest();
    double smallestT = std::numeric_limits<double>::max();
    double largestEq = std::numeric_limits<double>::lowest();
    for (const auto& interval : {std::minmax(s, p), std::minmax(p, e)}) {
        for (std::size_t i = interval.first; i <= interval.second; ++i) {
            largestT = std::max(largestT, rows_.temperatures[i]);
            smallestT = std::min(smallestT, rows_.temperatures[i]);
            if (rules_.equivalentStress) {
                largestNormal = std::max(largestNormal, plane.normal[i]);
                smallestNormal = std::min(smallestNormal, plane.normal[i]);
                largestEq = std::max(largestEq, plane.sigmaEq[i]);
            }
        }
    }
    quantities.Temp = 0.75 * largestT + 0.25 * smallestT;
    if (rules_.equivalentStress) {
        quantities.Sigmo = (largestNormal + smallestNormal) / 2.0;
        quantities.SigmaEqM = largestEq;
    }
    return quantities;
}

void CriticalPlaneDamage::WriteTitle(ReportWriter& w, const char* firstLine)
{
    const std::string stars(87, '*');
    w.NewLines();
    w.Line(stars.c_str());
    w.Line(firstLine);
    w.Line("* Le calcul est basé sur la recherche itérative du plan critique pour l'endommagement *");
    w.Line(stars.c_str());
    w.NewLines();
}

void CriticalPlaneDamage::WriteHistory(ReportWriter& w, std::initializer_list<const char*> titles,
                                       const CPelnoFatigueHistorique& history)
{
    w.Box('*', 63, titles).NewLines();
    w.Stream() << history;
    w.NewLines().FormFeed().NewLines();
}

void CriticalPlaneDamage::WriteTotal(ReportWriter& w, double total)
{
    w.NewLines(3);
    w.Text("Taux d'endommagement total pour l'historique de contraintes : ");
    w.Stream() << std::setw(10) << std::setprecision(4) << std::scientific << total << '\n';
    w.Line(std::string(61, '*').c_str());
    w.Stream() << std::fixed;
    w.FormFeed();
}
