#include "stress/CPelnoFatigueHistorique.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "stress/CPelnoFatigueReleveLin.h"
#include "stress/CPelnoFatigueReleveQuad.h"
#include "support/ReaderTestSupport.h"

namespace {

// "*SIJ 5 5 5 5 5 5" and the like: every component of the tensor is the value.
std::string TensorCard(const std::string& keyword, double value)
{
    std::ostringstream card;
    card << keyword;
    for (int i = 0; i < 6; ++i) card << ' ' << value;
    return card.str() + "\n";
}

std::string Parameter(double pressure, double temperature)
{
    std::ostringstream card;
    card << "*PARAMETRE " << pressure << ' ' << temperature << "\n";
    return card.str();
}

// A plain record whose four tensors hold the value everywhere.
std::string Plain(const std::string& name, double pressure, double value)
{
    return "*RELEVE             " + name + "\n" + Parameter(pressure, 20.0) +
           TensorCard("*SIJ", value) + TensorCard("*SIJM", value) + TensorCard("*SIJLM", value) +
           TensorCard("*SIJLT", value) + "*FIN_RELEVE\n";
}

// A linear record, every tensor at A holding a and at B holding b: toe 1.5 a - 0.5 b.
std::string Linear(const std::string& name, double pressure, double a, double b)
{
    std::string text = "*RELEVELIN          " + name + "\n" + Parameter(pressure, 20.0);
    for (const char* kind : {"", "M", "LM", "LT"}) text += TensorCard(std::string("*SIJ") + kind + "A", a);
    for (const char* kind : {"", "M", "LM", "LT"}) text += TensorCard(std::string("*SIJ") + kind + "B", b);
    return text + "*FIN_RELEVELIN\n";
}

// A quadratic record: toe 2.52 a - 2.24 b + 0.72 c.
std::string Quadratic(const std::string& name, double pressure, double a, double b, double c)
{
    std::string text = "*RELEVEQUAD         " + name + "\n" + Parameter(pressure, 20.0);
    for (const char* point : {"A", "B", "C"}) {
        const double value = point[0] == 'A' ? a : point[0] == 'B' ? b : c;
        for (const char* kind : {"", "M", "LM", "LT"}) {
            text += TensorCard(std::string("*SIJ") + kind + point, value);
        }
    }
    return text + "*FIN_RELEVEQUAD\n";
}

const std::string kHeader = "*HISTORIQUE         Démarrage\n";
const std::string kOnWeld = "*HISTORIQUE_CORDON  CORDON\n";
const std::string kEnd = "*FIN_HISTORIQUE\n";
// Three records of the three kinds: toe values 5, 1.5 x 100 - 0.5 x 60 = 120 and
// 2.52 x 100 - 2.24 x 80 + 0.72 x 70 = 252 - 179.2 + 50.4 = 123.2.
const std::string kThreeKinds =
    Plain("repos", 0.0, 5.0) + Linear("pression", 2.0, 100.0, 60.0) +
    Quadratic("choc", 2.0, 100.0, 80.0, 70.0);

// The study's zones and seams: the history looks only at their names.
class CPelnoFatigueHistoriqueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        uwZones_.emplace("ZONE", CPelnoFatigueUWZone());
        welds_.emplace("CORDON", CPelnoFatigueCordon());
    }

    int Read(const std::string& block, CPelnoFatigueHistorique& history)
    {
        return ReadBlock(block, [&](std::istream& in, const std::string& header) {
            history.Read(in, header, uwZones_, welds_);
        });
    }

    CPelnoFatigueHistorique::UWZoneTable uwZones_;
    CPelnoFatigueHistorique::WeldTable welds_;
};

// A record table with one plain record under each of the given numbers.
CPelnoFatigueHistorique::RecordTable PlainRecords(const std::vector<std::int32_t>& numbers)
{
    CPelnoFatigueHistorique::RecordTable records;
    for (const std::int32_t number : numbers) {
        auto record = std::make_unique<CPelnoFatigueReleve>();
        const StressTensor tensor = {1, 2, 3, 4, 5, 6};
        record->SetDefinition("R", number, 1.0, 20.0, tensor, tensor, tensor, tensor);
        records.emplace(number, CPelnoFatigueHistorique::Entry(10, std::move(record)));
    }
    return records;
}

}  // namespace

TEST_F(CPelnoFatigueHistoriqueTest, DefaultsAreUndefined)
{
    const CPelnoFatigueHistorique history;
    EXPECT_FALSE(history.IsDefined());
    EXPECT_EQ(history.GetName(), " ");
    EXPECT_EQ(history.GetZoneName(), " ");
    EXPECT_EQ(history.GetType(), 10);
    EXPECT_EQ(history.GetRecordCount(), 0u);
}

TEST_F(CPelnoFatigueHistoriqueTest, RecordsOfTheThreeKindsAreNumberedInFileOrder)
{
    CPelnoFatigueHistorique history;
    ASSERT_EQ(Read(kHeader + "/ démarrage à froid\n\n" + kThreeKinds + kOnWeld +
                       Plain("retour", 0.0, -7.0) + kEnd,
                   history),
              0);
    EXPECT_TRUE(history.IsDefined());
    EXPECT_EQ(history.GetName(), "Démarrage");
    EXPECT_EQ(history.GetZoneName(), "CORDON");
    EXPECT_EQ(history.GetType(), 20);
    ASSERT_EQ(history.GetRecordCount(), 4u);

    struct Expected {
        std::int32_t number;
        std::int32_t kind;
        const char* name;
        double toe;
    };
    const Expected expected[] = {
        {0, 10, "repos", 5.0}, {1, 20, "pression", 120.0}, {2, 30, "choc", 123.2},
        {3, 10, "retour", -7.0}};
    std::size_t i = 0;
    for (const auto& [number, entry] : history.GetRecords()) {
        ASSERT_LT(i, 4u);
        EXPECT_EQ(number, expected[i].number);
        EXPECT_EQ(entry.GetKind(), expected[i].kind);
        const CPelnoFatigueReleve& record = entry.GetRecord();
        EXPECT_EQ(record.GetNumber(), expected[i].number);
        EXPECT_EQ(record.GetName(), expected[i].name);
        EXPECT_NEAR(record.GetSij()[0], expected[i].toe, 1e-12);
        EXPECT_NEAR(record.GetSijLT()[5], expected[i].toe, 1e-12);
        EXPECT_EQ(&history.GetRecord(number), &record);
        ++i;
    }
    // Each record keeps its class: the read-out points are there.
    const auto& linear = dynamic_cast<const CPelnoFatigueReleveLin&>(history.GetRecord(1));
    EXPECT_EQ(linear.GetSijB()[0], 60.0);
    const auto& quadratic = dynamic_cast<const CPelnoFatigueReleveQuad&>(history.GetRecord(2));
    EXPECT_EQ(quadratic.GetSijC()[0], 70.0);
}

TEST_F(CPelnoFatigueHistoriqueTest, TheThreeZoneCards)
{
    struct Case {
        std::string zoneCard;
        int code;
        int type;
    };
    const Case cases[] = {
        {"*HISTORIQUE_CORDON  CORDON\n", 0, 20},
        {"*HISTORIQUE_UWZONE  ZONE\n", 0, 30},
        {"*HISTORIQUE_GORGE   CORDON\n", 0, 40},
        // the zone must be of the history's kind
        {"*HISTORIQUE_GORGE   ZONE\n", 200, 0},
        {"*HISTORIQUE_CORDON  ZONE\n", 200, 0},
        {"*HISTORIQUE_UWZONE  CORDON\n", 200, 0},
        {"*HISTORIQUE_CORDON  CORDON \n", 200, 0},  // exact bytes
        {"*HISTORIQUE_UWZONE  AILLEURS\n", 200, 0},
        // one card of the group, of any of the three
        {"*HISTORIQUE_CORDON  CORDON\n*HISTORIQUE_GORGE   CORDON\n", 30, 0},
        {"*HISTORIQUE_UWZONE  ZONE\n*HISTORIQUE_UWZONE  ZONE\n", 30, 0},
        {"*HISTORIQUE_GORGE   CORDON\n*HISTORIQUE_UWZONE  ZONE\n", 30, 0},
        // none of them
        {"", 200, 0},
        // a zone card too short to hold a name
        {"*HISTORIQUE_CORDON\n", 10, 0},
    };
    for (const Case& c : cases) {
        CPelnoFatigueHistorique history;
        EXPECT_EQ(Read(kHeader + c.zoneCard + kThreeKinds + kEnd, history), c.code) << c.zoneCard;
        EXPECT_EQ(history.IsDefined(), c.code == 0);
        if (c.code == 0) {
            EXPECT_EQ(history.GetType(), c.type);
        }
    }
}

TEST_F(CPelnoFatigueHistoriqueTest, BlockErrors)
{
    const std::string two = Plain("a", 0.0, 1.0) + Linear("b", 1.0, 10.0, 20.0);
    struct Case {
        std::string block;
        int code;
    };
    const Case cases[] = {
        // at least three records, of any kinds
        {kHeader + kOnWeld + two + kEnd, 200},
        {kHeader + kOnWeld + kEnd, 200},
        {kHeader + kOnWeld + two + Quadratic("c", 0.0, 1.0, 1.0, 1.0) + kEnd, 0},
        // a blank name is no name; nothing after column 20 is an empty name, accepted
        {"*HISTORIQUE" + std::string(9, ' ') + " \n" + kOnWeld + kThreeKinds + kEnd, 200},
        {"*HISTORIQUE\n" + kOnWeld + kThreeKinds + kEnd, 0},
        // the plain record's card needs a blank as its eighth character
        {kHeader + kOnWeld + "*RELEVEX            r\n", 40},
        {kHeader + kOnWeld + "*RELEVE\tr\n", 40},
        {kHeader + kOnWeld + "*RELEVE\n", 10},
        {kHeader + kOnWeld + "*RELEVELI           r\n", 40},
        {kHeader + kOnWeld + "*RELEVEQUA          r\n", 40},
        // other lines
        {kHeader + kOnWeld + "*HISTORIQUE         H2\n", 40},
        {kHeader + kOnWeld + "*FIN_RELEVE\n", 40},
        {kHeader + kOnWeld + kThreeKinds, 50},
        {kHeader + kOnWeld + "*RELEVE             r\n*PARAMETRE 0. 20.\n", 50},
        // the records' own errors pass through unchanged
        {kHeader + kOnWeld + "*RELEVE             r\n*FIN_RELEVE\n", 20},
        {kHeader + kOnWeld + "*RELEVELIN          r\n*FIN_RELEVELIN\n", 190},
        {kHeader + kOnWeld + "*RELEVEQUAD         r\n*FIN_RELEVEQUAD\n", 190},
        {kHeader + kOnWeld + "*RELEVE             r\n*PARAMETRE 0,5 20.\n", 190},
        {kHeader + kOnWeld + "*RELEVELIN          r\n*SIJA 1 2 3 4 5\n", 190},
        {kHeader + kOnWeld + "*RELEVEQUAD         r\n*PARAMETRE 1. abc\n", 190},
        {kHeader + kOnWeld + "*RELEVE             r\n*PARAMETRE 3000.5 20.\n" +
             TensorCard("*SIJ", 0) + TensorCard("*SIJM", 0) + TensorCard("*SIJLM", 0) +
             TensorCard("*SIJLT", 0) + "*FIN_RELEVE\n",
         190},
        {kHeader + kOnWeld + Linear("r", 0.0, 20000.0, -20000.0), 190},  // toe 40000
    };
    for (const Case& c : cases) {
        CPelnoFatigueHistorique history;
        EXPECT_EQ(Read(c.block, history), c.code) << c.block;
    }
}

TEST_F(CPelnoFatigueHistoriqueTest, SetDefinitionRules)
{
    struct Case {
        const char* name;
        const char* zone;
        std::int32_t type;
        int code;
    };
    const Case cases[] = {
        {"H", "CORDON", 20, 0}, {"H", "ZONE", 30, 0},    {"H", "CORDON", 40, 0},
        {"", "ZONE", 30, 0},    {" ", "ZONE", 30, 200},  {"H", "CORDON", 10, 200},
        {"H", "ZONE", 10, 200}, {"H", "CORDON", 50, 200}, {"H", "ZONE", 20, 200},
        {"H", "CORDON", 30, 200},
    };
    const CPelnoFatigueHistorique::RecordTable records = PlainRecords({0, 1, 2});
    for (const Case& c : cases) {
        CPelnoFatigueHistorique history;
        EXPECT_EQ(CodeOf([&] {
                      history.SetDefinition(uwZones_, welds_, c.name, c.zone, c.type, records);
                  }),
                  c.code)
            << c.name << c.zone << c.type;
        EXPECT_EQ(history.IsDefined(), c.code == 0);
    }

    // The three-record minimum is a rule of the block; a definition may hold fewer.
    CPelnoFatigueHistorique short_;
    EXPECT_EQ(CodeOf([&] {
                  short_.SetDefinition(uwZones_, welds_, "H", "ZONE", 30, PlainRecords({7}));
              }),
              0);
    EXPECT_EQ(short_.GetRecordCount(), 1u);
    EXPECT_EQ(short_.GetRecords().begin()->first, 7);
}

TEST_F(CPelnoFatigueHistoriqueTest, RecordOfUnknownKindIsAnInternalError)
{
    const StressTensor tensor = {0, 0, 0, 0, 0, 0};
    const auto table = [&](std::int32_t kind, std::unique_ptr<CPelnoFatigueReleve> record) {
        CPelnoFatigueHistorique::RecordTable records = PlainRecords({0, 1});
        record->SetDefinition("R", 2, 0.0, 20.0, tensor, tensor, tensor, tensor);
        records.emplace(2, CPelnoFatigueHistorique::Entry(kind, std::move(record)));
        return records;
    };
    struct Case {
        std::int32_t kind;
        std::unique_ptr<CPelnoFatigueReleve> (*make)();
        int code;
    };
    const Case cases[] = {
        {10, [] { return std::make_unique<CPelnoFatigueReleve>(); }, 0},
        {20, [] { return std::unique_ptr<CPelnoFatigueReleve>(std::make_unique<CPelnoFatigueReleveLin>()); }, 0},
        {30, [] { return std::unique_ptr<CPelnoFatigueReleve>(std::make_unique<CPelnoFatigueReleveQuad>()); }, 0},
        {0, [] { return std::make_unique<CPelnoFatigueReleve>(); }, 210},
        {40, [] { return std::make_unique<CPelnoFatigueReleve>(); }, 210},
        // the kind does not match the record's class
        {20, [] { return std::make_unique<CPelnoFatigueReleve>(); }, 210},
        {30, [] { return std::unique_ptr<CPelnoFatigueReleve>(std::make_unique<CPelnoFatigueReleveLin>()); }, 210},
    };
    for (const Case& c : cases) {
        CPelnoFatigueHistorique history;
        const CPelnoFatigueHistorique::RecordTable records = table(c.kind, c.make());
        EXPECT_EQ(CodeOf([&] { history.SetDefinition(uwZones_, welds_, "H", "ZONE", 30, records); }),
                  c.code)
            << c.kind;
        EXPECT_EQ(history.IsDefined(), c.code == 0);
    }

    // An entry without a record, and a number the history does not hold.
    CPelnoFatigueHistorique::RecordTable empty;
    empty.emplace(0, CPelnoFatigueHistorique::Entry(10, nullptr));
    CPelnoFatigueHistorique history;
    EXPECT_EQ(CodeOf([&] { history.SetDefinition(uwZones_, welds_, "H", "ZONE", 30, empty); }), 210);
    EXPECT_EQ(CodeOf([&] { history.GetRecord(0); }), 210);
}

TEST_F(CPelnoFatigueHistoriqueTest, CopiesOwnTheirRecords)
{
    CPelnoFatigueHistorique history;
    ASSERT_EQ(Read(kHeader + kOnWeld + kThreeKinds + kEnd, history), 0);
    const StressTensor zero = {0, 0, 0, 0, 0, 0};

    // The copy's records are its own: new stresses on one leave the other unchanged.
    CPelnoFatigueHistorique copy(history);
    copy.GetRecord(1).SetStresses(zero, zero, zero, zero);
    EXPECT_EQ(copy.GetRecord(1).GetSij()[0], 0.0);
    EXPECT_EQ(history.GetRecord(1).GetSij()[0], 120.0);
    // and keep their classes
    EXPECT_EQ(copy.GetRecords().at(2).GetKind(), 30);
    EXPECT_NE(dynamic_cast<const CPelnoFatigueReleveQuad*>(&copy.GetRecord(2)), nullptr);

    CPelnoFatigueHistorique assigned;
    assigned = copy;
    assigned.GetRecord(2).SetStresses(zero, zero, zero, zero);
    EXPECT_NEAR(copy.GetRecord(2).GetSij()[0], 123.2, 1e-12);
    EXPECT_EQ(assigned.GetRecordCount(), 3u);
    EXPECT_EQ(assigned.GetZoneName(), "CORDON");
    EXPECT_TRUE(assigned.IsDefined());
    EXPECT_NE(dynamic_cast<const CPelnoFatigueReleveLin*>(&assigned.GetRecord(1)), nullptr);

    // The definition copies the records handed to it.
    CPelnoFatigueHistorique::RecordTable records = PlainRecords({0, 1, 2});
    CPelnoFatigueHistorique defined;
    defined.SetDefinition(uwZones_, welds_, "H", "ZONE", 30, records);
    records.at(0).GetRecord().SetStresses(zero, zero, zero, zero);
    EXPECT_EQ(defined.GetRecord(0).GetSij()[0], 1.0);
}

TEST_F(CPelnoFatigueHistoriqueTest, PrintoutGivesEachRecordItsOwnLayout)
{
    CPelnoFatigueHistorique history;
    ASSERT_EQ(Read(kHeader + "*HISTORIQUE_GORGE   CORDON\n" + kThreeKinds + kEnd, history), 0);
    std::ostringstream out;
    out << history;

    // Each record printed alone, read from the same block.
    const auto printed = [](CPelnoFatigueReleve& record, const std::string& block,
                            std::int32_t number, const auto& print) {
        std::istringstream input(block);
        CardLine line;
        CapturedErrors errors;
        ReadCardLine(input, line);
        record.Read(input, line.buffer, number);
        std::ostringstream text;
        print(text);
        return text.str();
    };
    CPelnoFatigueReleve plain;
    CPelnoFatigueReleveLin linear;
    CPelnoFatigueReleveQuad quadratic;
    const std::string plainText = printed(plain, Plain("repos", 0.0, 5.0), 0,
                                          [&](std::ostream& o) { o << plain; });
    const std::string linearText = printed(linear, Linear("pression", 2.0, 100.0, 60.0), 1,
                                           [&](std::ostream& o) { o << linear; });
    const std::string quadraticText =
        printed(quadratic, Quadratic("choc", 2.0, 100.0, 80.0, 70.0), 2,
                [&](std::ostream& o) { o << quadratic; });
    ASSERT_EQ(plainText.rfind("\nNuméro du relevé    : 0\n", 0), 0u);
    ASSERT_EQ(linearText.rfind("\nRelevé linéaire numéro   : 1\n", 0), 0u);
    ASSERT_EQ(quadraticText.rfind("\nRelevé quadratique numéro   : 2\n", 0), 0u);

    EXPECT_EQ(out.str(),
              "\n"
              "Nom de l'historique de contraintes           : Démarrage\n"
              "Nom de la zone (cordon, UW , gorge) associée : CORDON\n"
              "Type de l'historique                         : 40\n"
              "                                               10-->inconnu\n"
              "                                               20-->pour une zone soudée\n"
              "                                               30-->pour une zone non soudée\n"
              "                                               40-->pour une gorge de cordon\n"
              "Nombre de relevés de contraintes stockés     : 3\n"
              "\n" +
                  plainText + "\n" + linearText + "\n" + quadraticText + "\n" + "\n");

    // Without records: the head, then two empty lines.
    const CPelnoFatigueHistorique empty;
    std::ostringstream none;
    none << empty;
    const std::vector<std::string> lines = Lines(none.str());
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[1], "Nom de l'historique de contraintes           :  ");
    EXPECT_EQ(lines[8], "Nombre de relevés de contraintes stockés     : 0");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], "");
}
