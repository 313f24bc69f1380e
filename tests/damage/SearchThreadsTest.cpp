// The critical-plane search with one thread and with several gives the same plane, origin and
// values, the same rows of the search table in the same order, and the same error at the same
// point; a counting method that only offers LoadingCycles gives the same search as one that
// counts by index. The damage procedures give the same report byte for byte.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <locale>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/CExceptionPelnoFatigue.h"
#include "damage/CPelnoFatigueRainFlow.h"
#include "damage/CPelnoFatigueReservoir.h"
#include "damage/CPelnoFatigueTresca.h"
#include "damage/CriticalPlaneSearch.h"
#include "damage/UWZoneDamage.h"
#include "damage/WeldDamage.h"
#include "deck/CPelnoFatigue.h"
#include "support/ReaderTestSupport.h"
#include "support/RunProgram.h"

namespace {

// A strictly decreasing S-N query with many distinct answers.
std::int32_t TestCurve(double range, double largest, double factor)
{
    const double x = range / factor;
    return static_cast<std::int32_t>(1.0 + 1e12 / (1.0 + x * x * x) + largest);
}

struct Records {
    std::vector<std::int32_t> instants;
    std::vector<StressTensor> totals;
};

// Random tensors; with steps, every component a multiple of 0.005 MPa of a few values (ties
// between planes and values 0.01 apart).
Records RandomRecords(std::mt19937& random, std::size_t count, bool steps)
{
    Records records;
    std::uniform_real_distribution<double> stress(-80.0, 80.0);
    for (std::size_t k = 0; k < count; ++k) {
        StressTensor tensor{};
        for (double& component : tensor) {
            component = steps ? 0.005 * static_cast<double>(random() % 7) + 30.0 * static_cast<double>(random() % 2)
                              : stress(random);
        }
        records.instants.push_back(static_cast<std::int32_t>(k));
        records.totals.push_back(tensor);
    }
    return records;
}

struct SearchOutcome {
    CriticalPlaneSearch::Plane best;
    std::vector<CriticalPlaneSearch::Plane> rows;
    int code = 0;
};

bool SamePlane(const CriticalPlaneSearch::Plane& a, const CriticalPlaneSearch::Plane& b)
{
    return a.theta == b.theta && a.phi == b.phi && a.origin == b.origin && a.damage == b.damage &&
           a.normalSum == b.normalSum;
}

void ExpectSame(const SearchOutcome& a, const SearchOutcome& b, const std::string& what)
{
    EXPECT_EQ(a.code, b.code) << what;
    EXPECT_TRUE(SamePlane(a.best, b.best)) << what;
    ASSERT_EQ(a.rows.size(), b.rows.size()) << what;
    for (std::size_t k = 0; k < a.rows.size(); ++k) EXPECT_TRUE(SamePlane(a.rows[k], b.rows[k])) << what << " row " << k;
}

SearchOutcome Search(const Records& records, const CriticalPlaneSearch::SearchRules& rules,
                     const CPelnoFatigueCountingMethod& method, unsigned threads)
{
    CriticalPlaneSearch search(records.instants, records.totals);
    SearchOutcome outcome;
    try {
        outcome.best = search.Run(rules, method, [](double r, double d, double c) { return TestCurve(r, d, c); },
                                  [&](const CriticalPlaneSearch::Plane& plane) { outcome.rows.push_back(plane); },
                                  threads);
    } catch (const CExceptionPelnoFatigue& error) {
        outcome.code = error.GetCode();
    }
    return outcome;
}

// Counts as the wrapped method through LoadingCycles alone: the search then calls it from one
// thread, in loop order.
class LoadingCyclesOnly : public CPelnoFatigueCountingMethod {
public:
    explicit LoadingCyclesOnly(std::unique_ptr<CPelnoFatigueCountingMethod> inner) : inner_(std::move(inner)) {}
    std::unique_ptr<CPelnoFatigueCountingMethod> Clone() const override
    {
        return std::make_unique<LoadingCyclesOnly>(inner_->Clone());
    }
    void LoadingCycles(std::int32_t n, const std::int32_t* instants, const double* values,
                       CyclesByInstants& byInstants, CyclesByRange& byRange) const override
    {
        ++calls_;
        inner_->LoadingCycles(n, instants, values, byInstants, byRange);
    }
    long Calls() const { return calls_; }

private:
    std::unique_ptr<CPelnoFatigueCountingMethod> inner_;
    mutable long calls_ = 0;
};

// Counts as the rainflow method, but fails with code 210 on every series whose largest value
// lies in a given band: a failure on some planes only, in the middle of the search.
class FailingInBand : public CPelnoFatigueRainFlow {
public:
    FailingInBand(double low, double high) : low_(low), high_(high) {}
    std::unique_ptr<CPelnoFatigueCountingMethod> Clone() const override
    {
        return std::make_unique<FailingInBand>(low_, high_);
    }
    void CountByIndex(const IndexedHistory& history, IndexedCycles& cycles, bool locateEnds) const override
    {
        double largest = 0.0;
        for (std::int32_t k = 0; k < history.n; ++k) largest = std::max(largest, history.values[k]);
        if (largest > low_ && largest < high_) {
            static const MethodLogName log("FailingInBand");
            log.Raise(210);
        }
        CPelnoFatigueRainFlow::CountByIndex(history, cycles, locateEnds);
    }

private:
    double low_;
    double high_;
};

}  // namespace

TEST(SearchThreads, SameSearchWithOneThreadAndSeveral)
{
    const CPelnoFatigueRainFlow rainflow;
    const CPelnoFatigueReservoir reservoir;
    std::mt19937 random(31);
    for (int trial = 0; trial < 6; ++trial) {
        const bool steps = trial % 2 == 1;
        const Records records = RandomRecords(random, 4 + static_cast<std::size_t>(trial), steps);
        for (const bool unwelded : {false, true}) {
            CriticalPlaneSearch::SearchRules rules;
            rules.applyFactor = unwelded;
            rules.factor = 1.7;
            rules.tieBreakOnNormalSum = unwelded;
            for (const CPelnoFatigueCountingMethod* method :
                 {static_cast<const CPelnoFatigueCountingMethod*>(&rainflow),
                  static_cast<const CPelnoFatigueCountingMethod*>(&reservoir)}) {
                const SearchOutcome one = Search(records, rules, *method, 1);
                ASSERT_FALSE(one.rows.empty());
                for (const unsigned threads : {2u, 3u, 8u}) {
                    ExpectSame(one, Search(records, rules, *method, threads),
                               "trial " + std::to_string(trial) + " threads " + std::to_string(threads));
                }
            }
        }
    }
}

TEST(SearchThreads, MethodWithoutCountByIndexIsCalledInLoopOrderWithTheSameResult)
{
    std::mt19937 random(7);
    const Records records = RandomRecords(random, 5, true);
    CriticalPlaneSearch::SearchRules rules;
    rules.tieBreakOnNormalSum = true;
    for (const bool reservoir : {false, true}) {
        std::unique_ptr<CPelnoFatigueCountingMethod> byIndex;
        if (reservoir) {
            byIndex = std::make_unique<CPelnoFatigueReservoir>();
        } else {
            byIndex = std::make_unique<CPelnoFatigueRainFlow>();
        }
        const LoadingCyclesOnly plain(byIndex->Clone());
        const SearchOutcome expected = Search(records, rules, *byIndex, 1);
        ExpectSame(expected, Search(records, rules, plain, 4), reservoir ? "reservoir" : "rainflow");
        EXPECT_EQ(plain.Calls(), 72 * 72 * 5);  // every origin of every plane, on the object itself
    }
}

TEST(SearchThreads, ErrorOnAPlaneLeavesTheRowsBeforeItWhateverTheThreads)
{
    // Sxx = 0, 100, 0: the largest DSigmaEq of a plane grows from 0 on the first plane to 100;
    // a failure for largest values between 60 and 61 strikes some plane well inside the loop.
    const Records records{{0, 1, 2},
                          {StressTensor{0, 0, 0, 0, 0, 0}, StressTensor{100, 0, 0, 0, 0, 0}, StressTensor{0, 0, 0, 0, 0, 0}}};
    const FailingInBand method(60.0, 61.0);
    CriticalPlaneSearch::SearchRules rules;
    const SearchOutcome one = Search(records, rules, method, 1);
    EXPECT_EQ(one.code, 210);
    EXPECT_GT(one.rows.size(), 1u);  // rows written before the failing plane
    for (const unsigned threads : {2u, 5u}) ExpectSame(one, Search(records, rules, method, threads), "threads");
}

namespace {

// The damage procedures on the decks of examples/, one thread and several: same result, same
// report.
struct ProcedureReport {
    std::string report;
    double total = 0.0;
    int code = 0;
};

const MethodLogName kUWLog("CPelnoFatigueClause::DamageUWZoneCriticalPlane");
const MethodLogName kWeldLog("CPelnoFatigueClause::DamageWeldCriticalPlane");

class ExampleStudy : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string examples = std::string(PELNO_SOURCE_DIR) + "/examples";
        CapturedErrors errors;
        ASSERT_EQ(library_.Read(examples + "/contexte.txt"), 0);
        ASSERT_EQ(study_.SetContext(library_), 0);
        study_.SetOutputDirectory(MakeTempDirectory() + "/");
        ASSERT_EQ(study_.SetInputFile(examples + "/reservoir.dat"), 0);
        ASSERT_EQ(study_.Read(), 0) << errors.Text();
    }

    template <class Procedure>
    ProcedureReport Run(const MethodLogName& log, const std::string& history, const CPelnoFatigueCountingMethod& method,
                        unsigned threads)
    {
        CPelnoFatigueHistorique copy = study_.GetHistory(history);
        Procedure procedure(log, study_, copy, method, tresca_);
        std::ostringstream out;
        out.imbue(std::locale::classic());
        ProcedureReport result;
        try {
            result.total = procedure.Run(&out, threads).total;
        } catch (const CExceptionPelnoFatigue& error) {
            result.code = error.GetCode();
        }
        result.report = out.str();
        return result;
    }

    CPelnoFatigueContexte library_;
    CPelnoFatigue study_;
    CPelnoFatigueTresca tresca_;
};

}  // namespace

TEST_F(ExampleStudy, ProceduresGiveTheSameReportWithOneThreadAndSeveral)
{
    const CPelnoFatigueRainFlow rainflow;
    const CPelnoFatigueReservoir reservoir;
    for (const CPelnoFatigueCountingMethod* method :
         {static_cast<const CPelnoFatigueCountingMethod*>(&rainflow),
          static_cast<const CPelnoFatigueCountingMethod*>(&reservoir)}) {
        const ProcedureReport uwOne = Run<UWZoneDamage>(kUWLog, "CYCLE_PEAU_VIROLE_1", *method, 1);
        const ProcedureReport uwSeveral = Run<UWZoneDamage>(kUWLog, "CYCLE_PEAU_VIROLE_1", *method, 3);
        EXPECT_EQ(uwOne.code, 0);
        EXPECT_GT(uwOne.total, 0.0);
        EXPECT_EQ(uwOne.total, uwSeveral.total);
        EXPECT_TRUE(uwOne.report == uwSeveral.report);

        const ProcedureReport weldOne = Run<WeldDamage>(kWeldLog, "CYCLE_SL_VIROLE_1", *method, 1);
        const ProcedureReport weldSeveral = Run<WeldDamage>(kWeldLog, "CYCLE_SL_VIROLE_1", *method, 2);
        EXPECT_EQ(weldOne.code, 0);
        EXPECT_GT(weldOne.total, 0.0);
        EXPECT_EQ(weldOne.total, weldSeveral.total);
        EXPECT_TRUE(weldOne.report == weldSeveral.report);
    }
}
