#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "app/MethodLogName.h"
#include "damage/CPelnoFatigueCountingMethod.h"
#include "damage/CPelnoFatiguePlasticityCriteria.h"
#include "damage/CorrectionCoefficients.h"
#include "damage/CriticalPlaneSearch.h"
#include "damage/CycleQuantities.h"
#include "damage/CyclesByInstants.h"
#include "damage/CyclesByRange.h"
#include "damage/LoadingCycle.h"
#include "damage/ReportWriter.h"
#include "stress/CPelnoFatigueHistorique.h"
#include "stress/StressTensor.h"

// The steps shared by the two damage procedures of the critical-plane method: the unwelded
// zone (UWZoneDamage, C11.3.9.2.3) and the weld seam (WeldDamage, C11.3.9.3 with
// C11.3.9.2.3). Shared: the records read in history order, the search of the critical plane
// with its table rows, the stresses on the critical plane, the DSigmaEq history and its
// cycles, the quantities of each cycle located in history order, and the report framing.
//
// How the two procedures differ. The first four are the Rules of the shared steps; the others,
// with the texts and table layouts of each report, are written in each procedure.
//                          unwelded zone                     weld seam
//   DSigmaEq, Sx'x', ...   x zone Kt when geometric          no factor
//   equal plane damages    larger sum of positive Sx'x'      first plane in loop order
//                          within 1e-8 (a table column)      (strictly greater only)
//   per record / cycle     SigmaEq; DSigmaRl, Sigmo,         none of them
//                          SigmaEqM
//   zero-damage total      "... étudié : 0."                 "... étudié : 0"
//   stresses               as given                          first intensified by the
//                                                            imperfection's A (C11.A6)
//   plasticity             tested on DSigmaRl; the zone's    tested on DSigmaR; smaller Rpt
//                          material                          and Rm of the two materials
//   coefficients           Kt -> Kf, CtR, Cs, Ce, Cm         Ce once (larger thickness), CtR
//                          (fixed-point loops)
//   permissible cycles     zone curve at DSigmaF             seam's fatigue class at DSigmaR
class CriticalPlaneDamage {
public:
    struct Rules {
        // Factor on DSigmaEq and on the plane stresses, tie-break on the normal sum (whose
        // column the search table then shows, times the factor).
        CriticalPlaneSearch::SearchRules search;
        // SigmaEq of each record (a column of the critical-plane table), DSigmaRl, Sigmo and
        // SigmaEqM of each cycle.
        bool equivalentStress = false;
        // Last line of a report whose critical plane sees no damage.
        const char* zeroDamageTotal = "";
    };
    // geometric: the zone's stresses are geometric ones, amplified by its Kt.
    static Rules UnweldedZone(bool geometric, double zoneKt);
    static Rules WeldSeam();

    // The records of a history in ascending number, as the procedures read them.
    struct RecordRows {
        std::vector<std::int32_t> instants;
        std::vector<StressTensor> totals;
        std::vector<StressTensor> mechanical;
        std::vector<StressTensor> thermal;
        std::vector<double> temperatures;
    };
    static RecordRows ReadRows(const CPelnoFatigueHistorique& history);

    // The records on the critical plane, in history order (each x the factor when applied).
    struct PlaneStresses {
        std::vector<double> normal;   // Sx'x'
        std::vector<double> shearY;   // Sx'y'
        std::vector<double> shearZ;   // Sx'z'
        std::vector<double> sigmaEq;  // SigmaEq, with equivalentStress only
    };

    // Indices in history order of the three instants of a counted cycle.
    struct CycleIndices {
        std::size_t start = 0;
        std::size_t peak = 0;
        std::size_t end = 0;
    };

    // First index in history order of an instant; 210 "Internal error" when it is absent.
    static std::size_t IndexOf(const std::vector<std::int32_t>& instants, std::int32_t instant,
                               const MethodLogName& log);

    // rows: the records as computed (intensified for a weld seam).
    CriticalPlaneDamage(const MethodLogName& log, const CPelnoFatigueCountingMethod& method,
                        const CPelnoFatiguePlasticityCriteria& criterion, const Rules& rules,
                        RecordRows rows, ReportWriter& report);

    const RecordRows& Rows() const { return rows_; }

    // The search of the critical plane, scored with the curve at Cr = 0.2 by the given number
    // of threads (the curve must then answer from several at once); one table row for each
    // plane that becomes the best.
    CriticalPlaneSearch::Plane Search(CycleDamagesRef damages, unsigned threads);

    // With a damage below 1e-8 writes the end of a zero-damage report and returns true.
    bool ZeroDamage(const CriticalPlaneSearch::Plane& best);

    // Stresses of every record on the critical plane and their table (titles of the banner of
    // borderWidth '+', then the column header).
    PlaneStresses CriticalPlane(const CriticalPlaneSearch::Plane& best, int borderWidth,
                                std::initializer_list<const char*> titles, const char* header);

    // The DSigmaEq history seen from the plane's origin (n + 1 points) and its table, then
    // its cycles counted, with the count and the given column headers of the cycle table.
    const CyclesByInstants& CountCycles(const CriticalPlaneSearch::Plane& best, const PlaneStresses& plane,
                                        std::vector<std::int32_t>& seriesInstants,
                                        std::vector<double>& seriesValues,
                                        std::initializer_list<const char*> cycleHeaders);

    // The quantities of a counted cycle, its instants located in history order (210 when one
    // is absent): DSigmaR, DSigmaRlm, DSigmaRlt and Temp, and with equivalentStress DSigmaRl,
    // Sigmo and SigmaEqM.
    CycleQuantities Quantities(const LoadingCycle& cycle, const PlaneStresses& plane) const;

    // Report framing. The title: a border of 87 '*', the first line given, the line of the
    // iterative search, the border, an empty line.
    static void WriteTitle(ReportWriter& w, const char* firstLine);
    // A banner of borderWidth '+' around the title, an empty line, the object's printout,
    // then an empty line and either another (lastOnPage false) or a page break and a line
    // end (lastOnPage true).
    template <class Object>
    static void WriteObject(ReportWriter& w, int borderWidth, const char* title, const Object& object,
                            bool lastOnPage = false)
    {
        w.Box('+', borderWidth, {title}).NewLines();
        w.Stream() << object;
        if (lastOnPage) {
            w.NewLines().FormFeed().NewLines();
        } else {
            w.NewLines(2);
        }
    }
    // The history as given: a banner of 63 '*' around the titles, an empty line, its printout,
    // an empty line, a page break and a line end.
    static void WriteHistory(ReportWriter& w, std::initializer_list<const char*> titles,
                             const CPelnoFatigueHistorique& history);
    // The last lines of a complete report: the total damage and the closing border.
    static void WriteTotal(ReportWriter& w, double total);

private:
    const MethodLogName& log_;
    const CPelnoFatigueCountingMethod& method_;
    const CPelnoFatiguePlasticityCriteria& criterion_;
    Rules rules_;
    RecordRows rows_;
    ReportWriter& w_;
    CyclesByInstants byInstants_;
    CyclesByRange byRange_;
};
