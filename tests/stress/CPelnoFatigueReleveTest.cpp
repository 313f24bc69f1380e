#include "stress/CPelnoFatigueReleve.h"

#include <gtest/gtest.h>

#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "app/CExceptionPelnoFatigue.h"

namespace {

struct Failure {
    std::int32_t code = 0;
    std::string message;
};

Failure FailureOf(const std::function<void()>& action)
{
    Failure failure;
    try {
        action();
    } catch (const CExceptionPelnoFatigue& error) {
        failure.code = error.GetCode();
        failure.message = error.GetMessage() != nullptr ? error.GetMessage() : "";
    }
    return failure;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) lines.push_back(line);
    return lines;
}

const char* const kOpening = "*RELEVE             instant 1  ";

// Every card of a complete block, in reading order.
const std::vector<std::string> kCards = {
    "*PARAMETRE 10.5 20.",
    "*SIJ 1 2 3 4 5 6",
    "*SIJM 7 8 9 10 11 12",
    "*SIJLM 13 14 15 16 17 18",
    "*SIJLT 19 20 21 22 23 24",
};

std::string BlockOf(const std::vector<std::string>& cards, const char* end = "*FIN_RELEVE\n")
{
    std::string text;
    for (const std::string& card : cards) text += card + "\n";
    return text + end;
}

std::string BlockWith(std::size_t index, const std::string& card)
{
    std::vector<std::string> cards = kCards;
    cards[index] = card;
    return BlockOf(cards);
}

Failure ReadFailure(const std::string& block, std::int32_t number = 3)
{
    return FailureOf([&] {
        std::istringstream input(block);
        CPelnoFatigueReleve record;
        record.Read(input, kOpening, number);
    });
}

const std::string kBadRecordText = " : Mauvaise définition d'un relevé de contraintes";

}  // namespace

TEST(CPelnoFatigueReleve, DefaultsMeanNoValueGiven)
{
    const CPelnoFatigueReleve record;
    const double lowest = -1.7976931348623157e308;
    EXPECT_FALSE(record.IsDefined());
    EXPECT_EQ(record.GetName(), " ");
    EXPECT_EQ(record.GetNumber(), -1);
    EXPECT_EQ(record.GetPressure(), lowest);
    EXPECT_EQ(record.GetTemperature(), lowest);
    for (double v : record.GetSijLT()) EXPECT_EQ(v, lowest);
}

TEST(CPelnoFatigueReleve, ReadsCardsInAnyOrderAroundCommentsAndEmptyLines)
{
    // "*SIJM" begins with "*SIJ" but is not the total tensor: the fifth character decides.
    std::istringstream input(
        "*SIJLT 19 20 21 22 23 24\n"
        "/ commentaire\n"
        "\n"
        "*SIJM 7 8 9 10 11 12\n"
        "*SIJ 1 2 3 4 5 6 mots en trop\n"
        "*SIJLM\t13 14 15 16 17 18\n"
        "*PARAMETRE -3000 600\n"
        "*FIN_RELEVE\n"
        "*APRES\n");
    CPelnoFatigueReleve record;
    record.Read(input, kOpening, 0);  // the first record of a history is number 0

    EXPECT_TRUE(record.IsDefined());
    EXPECT_EQ(record.GetName(), "instant 1  ");
    EXPECT_EQ(record.GetNumber(), 0);
    EXPECT_EQ(record.GetPressure(), -3000.0);
    EXPECT_EQ(record.GetTemperature(), 600.0);
    EXPECT_EQ(record.GetSij(), (StressTensor{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(record.GetSijM(), (StressTensor{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(record.GetSijLM(), (StressTensor{13, 14, 15, 16, 17, 18}));
    EXPECT_EQ(record.GetSijLT(), (StressTensor{19, 20, 21, 22, 23, 24}));
    std::string next;
    std::getline(input, next);
    EXPECT_EQ(next, "*APRES");  // the block ends at its end card

    const CPelnoFatigueReleve copy(record);
    CPelnoFatigueReleve assigned;
    assigned = record;
    const CPelnoFatigueReleve* const others[] = {&copy, &assigned};
    for (const CPelnoFatigueReleve* other : others) {
        EXPECT_TRUE(other->IsDefined());
        EXPECT_EQ(other->GetName(), record.GetName());
        EXPECT_EQ(other->GetNumber(), 0);
        EXPECT_EQ(other->GetPressure(), -3000.0);
        EXPECT_EQ(other->GetTemperature(), 600.0);
        EXPECT_EQ(other->GetSij(), record.GetSij());
        EXPECT_EQ(other->GetSijM(), record.GetSijM());
        EXPECT_EQ(other->GetSijLM(), record.GetSijLM());
        EXPECT_EQ(other->GetSijLT(), record.GetSijLT());
    }
}

TEST(CPelnoFatigueReleve, NameIsTakenFromColumn21OfTheCardLine)
{
    std::istringstream input(BlockOf(kCards));
    CPelnoFatigueReleve record;
    record.Read(input, "*RELEVE", 1);
    EXPECT_EQ(record.GetName(), "");  // nothing behind column 20

    std::istringstream again(BlockOf(kCards));
    record.Read(again, "*RELEVE " + std::string(12, ' ') + std::string(250, 'x'), 1);
    EXPECT_EQ(record.GetName(), std::string(180, 'x'));
}

TEST(CPelnoFatigueReleve, BlockErrors)
{
    struct Case {
        const char* what;
        std::string block;
        std::int32_t code;
        std::string message;  // expected message, empty when not checked
    };
    const std::string readLog = "<CPelnoFatigueReleve::Read>";
    const std::string setLog = "<CPelnoFatigueReleve::SetDefinition>";
    std::vector<Case> cases = {
        {"no *PARAMETRE", BlockOf({kCards[1], kCards[2], kCards[3], kCards[4]}), 20,
         readLog + " : Invalid time pick definition"},
        {"second *SIJM", BlockOf({kCards[0], kCards[1], kCards[2], kCards[2]}), 30,
         readLog + " : Carte de données mal placée"},
        {"second *PARAMETRE", BlockOf({kCards[0], kCards[0]}), 30, ""},
        {"*SIJ alone on its line", BlockWith(1, "*SIJ"), 10, readLog + " : Erreur inconnue"},
        {"*SIJ followed by a tab", BlockWith(1, "*SIJ\t1 2 3 4 5 6"), 40,
         readLog + " : Carte de donnée inconnue"},
        {"*SIJX", BlockWith(1, "*SIJX 1 2 3 4 5 6"), 40, ""},
        {"a card of a linear record", BlockWith(1, "*SIJA 1 2 3 4 5 6"), 40, ""},
        {"leading blank", BlockWith(1, " *SIJ 1 2 3 4 5 6"), 40, ""},
        {"lower case", BlockWith(1, "*sij 1 2 3 4 5 6"), 40, ""},
        {"end of file inside the block", BlockOf(kCards, ""), 50, ""},
        {"end card without a final line feed", BlockOf(kCards, "*FIN_RELEVE"), 50, ""},
        {"decimal comma", BlockWith(0, "*PARAMETRE 265,5 20"), 190, readLog + kBadRecordText},
        {"missing temperature", BlockWith(0, "*PARAMETRE 10"), 190, readLog + kBadRecordText},
        {"five components", BlockWith(2, "*SIJM 1 2 3 4 5"), 190, readLog + kBadRecordText},
        {"glued letters", BlockWith(3, "*SIJLM 1 2 3 4 5 6abc"), 190, ""},
        {"not finite", BlockWith(4, "*SIJLT 1 2 3 4 5 1e400"), 190, ""},
        {"pressure above 3000", BlockWith(0, "*PARAMETRE 3000.001 20"), 190,
         setLog + kBadRecordText},
        {"pressure below -3000", BlockWith(0, "*PARAMETRE -3000.001 20"), 190, ""},
        {"temperature above 600", BlockWith(0, "*PARAMETRE 0 600.001"), 190, ""},
        {"temperature below -250", BlockWith(0, "*PARAMETRE 0 -250.001"), 190, ""},
        {"Sij above 20000", BlockWith(1, "*SIJ 1 2 3 4 5 20000.001"), 190, ""},
        {"SijM below -20000", BlockWith(2, "*SIJM -20000.001 2 3 4 5 6"), 190, ""},
        {"SijLM above 20000", BlockWith(3, "*SIJLM 1 2 3 20001 5 6"), 190, ""},
        {"SijLT below -20000", BlockWith(4, "*SIJLT 1 2 -20001 4 5 6"), 190, ""},
    };
    for (const std::string& dropped : {kCards[1], kCards[2], kCards[3], kCards[4]}) {
        std::vector<std::string> cards;
        for (const std::string& card : kCards) {
            if (card != dropped) cards.push_back(card);
        }
        cases.push_back({"a tensor card missing", BlockOf(cards), 20, ""});
    }
    for (const Case& c : cases) {
        const Failure failure = ReadFailure(c.block);
        EXPECT_EQ(failure.code, c.code) << c.what;
        if (!c.message.empty()) {
            EXPECT_EQ(failure.message, c.message) << c.what;
        }
    }
    EXPECT_EQ(ReadFailure(BlockOf(kCards), -1).code, 190);  // a negative record number
}

TEST(CPelnoFatigueReleve, BoundsAreInclusive)
{
    const std::vector<std::string> accepted = {
        BlockWith(0, "*PARAMETRE 3000 -250"),
        BlockWith(0, "*PARAMETRE -3000 600"),
        BlockWith(1, "*SIJ -20000 20000 -20000 20000 -20000 20000"),
        BlockWith(4, "*SIJLT 2e4 -2e4 0 0 0 0"),
    };
    for (const std::string& block : accepted) {
        EXPECT_EQ(ReadFailure(block).code, 0) << block;
    }
}

TEST(CPelnoFatigueReleve, SetStressesReplacesTheTensorsOfADefinedRecord)
{
    CPelnoFatigueReleve record;
    const StressTensor zero{0, 0, 0, 0, 0, 0};
    const StressTensor one{1, 1, 1, 1, 1, 1};
    const StressTensor edge{-20000, 20000, 0, 0, 0, 0};
    const StressTensor beyond{0, 0, 0, 0, 0, 20000.5};

    // A record never defined has no name, number, pressure or temperature to keep.
    Failure failure = FailureOf([&] { record.SetStresses(one, one, one, one); });
    EXPECT_EQ(failure.code, 190);
    EXPECT_EQ(failure.message, "<CPelnoFatigueReleve::SetStresses>" + kBadRecordText);
    EXPECT_FALSE(record.IsDefined());

    record.SetDefinition("r", 2, 1.5, 20, zero, zero, zero, zero);
    record.SetStresses(one, edge, one, edge);
    EXPECT_TRUE(record.IsDefined());
    EXPECT_EQ(record.GetName(), "r");
    EXPECT_EQ(record.GetNumber(), 2);
    EXPECT_EQ(record.GetPressure(), 1.5);
    EXPECT_EQ(record.GetTemperature(), 20.0);
    EXPECT_EQ(record.GetSij(), one);
    EXPECT_EQ(record.GetSijM(), edge);
    EXPECT_EQ(record.GetSijLM(), one);
    EXPECT_EQ(record.GetSijLT(), edge);

    EXPECT_EQ(FailureOf([&] { record.SetStresses(one, one, one, beyond); }).code, 190);
    EXPECT_FALSE(record.IsDefined());

    // A failed definition leaves the record undefined as well.
    record.SetDefinition("r", 2, 1.5, 20, zero, zero, zero, zero);
    EXPECT_EQ(FailureOf([&] { record.SetDefinition("r", 2, 1.5, 20, zero, beyond, zero, zero); })
                  .code,
              190);
    EXPECT_FALSE(record.IsDefined());
}

TEST(CPelnoFatigueReleve, Printout)
{
    std::istringstream input(BlockOf(kCards));
    CPelnoFatigueReleve record;
    record.Read(input, kOpening, 3);

    // The number format is the calling report's and persists from one value to the next.
    std::ostringstream out;
    out << std::fixed << std::setprecision(1);
    out << record;
    const std::vector<std::string> expected = {
        "",
        "Numéro du relevé    : 3",
        "++++++++++++++++      ",
        "Nom                 : instant 1  ",
        "Pression (MPa)      : 10.5",
        "Température (deg)   : 20.0",
        "Sij (MPa)           : ",
        "|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |    Szz     |",
        "|        1.0 |        2.0 |        3.0 |        4.0 |        5.0 |        6.0 |",
        "Sij membrane (MPa)  : ",
        "|    Sxxm    |    Sxym    |    Sxzm    |    Syym    |    Syzm    |    Szzm    |",
        "|        7.0 |        8.0 |        9.0 |       10.0 |       11.0 |       12.0 |",
        "Sij lin. meca (MPa) : ",
        "|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    Szzlm   |",
        "|       13.0 |       14.0 |       15.0 |       16.0 |       17.0 |       18.0 |",
        "Sij lin. ther (MPa) : ",
        "|    Sxxlt   |    Sxylt   |    Sxzlt   |    Syylt   |    Syzlt   |    Szzlt   |",
        "|       19.0 |       20.0 |       21.0 |       22.0 |       23.0 |       24.0 |",
    };
    EXPECT_EQ(Lines(out.str()), expected);
    EXPECT_EQ(out.str().back(), '\n');
}
