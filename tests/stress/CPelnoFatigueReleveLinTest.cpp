#include "stress/CPelnoFatigueReleveLin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
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

const char* const kOpening = "*RELEVELIN          soudure  ";
const char* const kKeywords[8] = {"*SIJA", "*SIJMA", "*SIJLMA", "*SIJLTA",
                                  "*SIJB", "*SIJMB", "*SIJLMB", "*SIJLTB"};

// Tensor of kind k (0 total, 1 membrane, 2 mechanical, 3 thermal) at a point: component i is
// base + 10 k + i. With A at base 100 and B at base 60 the toe value is
// 1.5 (100 + 10k + i) - 0.5 (60 + 10k + i) = 120 + 10k + i (all exact in binary).
std::string TensorCard(const char* keyword, int base, int kind)
{
    std::string card = keyword;
    for (int i = 0; i < 6; ++i) card += " " + std::to_string(base + 10 * kind + i);
    return card;
}

std::vector<std::string> Cards()
{
    std::vector<std::string> cards = {"*PARAMETRE 2.5 150"};
    for (int point = 0; point < 8; ++point) {
        cards.push_back(TensorCard(kKeywords[point], point < 4 ? 100 : 60, point % 4));
    }
    return cards;
}

std::string BlockOf(const std::vector<std::string>& cards, const char* end = "*FIN_RELEVELIN\n")
{
    std::string text;
    for (const std::string& card : cards) text += card + "\n";
    return text + end;
}

StressTensor Expected(int base, int kind)
{
    StressTensor tensor;
    for (int i = 0; i < 6; ++i) tensor[i] = base + 10 * kind + i;
    return tensor;
}

// "| " then six fields of width 10 separated by " | ", then " |".
std::string Row(int base, int kind)
{
    std::string row = "|";
    char field[32];
    for (int i = 0; i < 6; ++i) {
        std::snprintf(field, sizeof field, " %10d |", base + 10 * kind + i);
        row += field;
    }
    return row;
}

const std::string kBadRecordText = " : Mauvaise définition d'un relevé de contraintes";

}  // namespace

TEST(CPelnoFatigueReleveLin, ExtrapolatesEachToeTensorFromItsOwnPoints)
{
    std::istringstream input(BlockOf(Cards()));
    CPelnoFatigueReleveLin record;
    CPelnoFatigueReleve& asRecord = record;  // the history reads through the base class
    asRecord.Read(input, kOpening, 7);

    ASSERT_TRUE(record.IsDefined());
    EXPECT_EQ(record.GetName(), "soudure  ");
    EXPECT_EQ(record.GetNumber(), 7);
    EXPECT_EQ(record.GetPressure(), 2.5);
    EXPECT_EQ(record.GetTemperature(), 150.0);
    EXPECT_EQ(record.GetSij()[0], 120.0);  // A = 100, B = 60
    EXPECT_EQ(record.GetSij(), Expected(120, 0));
    EXPECT_EQ(record.GetSijM(), Expected(120, 1));
    EXPECT_EQ(record.GetSijLM(), Expected(120, 2));
    EXPECT_EQ(record.GetSijLT(), Expected(120, 3));
    EXPECT_EQ(record.GetSijA(), Expected(100, 0));
    EXPECT_EQ(record.GetSijMA(), Expected(100, 1));
    EXPECT_EQ(record.GetSijLMA(), Expected(100, 2));
    EXPECT_EQ(record.GetSijLTA(), Expected(100, 3));
    EXPECT_EQ(record.GetSijB(), Expected(60, 0));
    EXPECT_EQ(record.GetSijMB(), Expected(60, 1));
    EXPECT_EQ(record.GetSijLMB(), Expected(60, 2));
    EXPECT_EQ(record.GetSijLTB(), Expected(60, 3));

    const CPelnoFatigueReleveLin copy(record);
    EXPECT_TRUE(copy.IsDefined());
    EXPECT_EQ(copy.GetName(), record.GetName());
    EXPECT_EQ(copy.GetSijLT(), record.GetSijLT());
    EXPECT_EQ(copy.GetSijLTB(), record.GetSijLTB());
}

TEST(CPelnoFatigueReleveLin, BlockErrors)
{
    struct Case {
        const char* what;
        std::string block;
        std::int32_t code;
        std::string message;
    };
    const std::string readLog = "<CPelnoFatigueReleveLin::Read>";
    const std::vector<std::string> cards = Cards();
    auto with = [&](std::size_t index, const std::string& card) {
        std::vector<std::string> changed = cards;
        changed[index] = card;
        return BlockOf(changed);
    };
    auto plus = [&](const std::string& card) {
        std::vector<std::string> changed = cards;
        changed.push_back(card);
        return BlockOf(changed);
    };
    std::vector<Case> cases = {
        {"second *SIJMB", plus(cards[6]), 30, readLog + " : Carte de données mal placée"},
        {"second *PARAMETRE", plus(cards[0]), 30, ""},
        {"*SIJD", plus("*SIJD 1 2 3 4 5 6"), 40, readLog + " : Carte de donnée inconnue"},
        {"*SIJ of a plain record", plus("*SIJ 1 2 3 4 5 6"), 40, ""},
        {"end of file", BlockOf(cards, ""), 50, ""},
        {"decimal comma", with(0, "*PARAMETRE 2,5 150"), 190, readLog + kBadRecordText},
        {"five components", with(5, "*SIJB 1 2 3 4 5"), 190, readLog + kBadRecordText},
        {"a word for a number", with(8, "*SIJLTB 1 2 3 4 5 six"), 190, ""},
        {"read-out value above 20000", with(1, "*SIJA 20000.5 0 0 0 0 0"), 190,
         "<CPelnoFatigueReleveLin::SetDefinition>" + kBadRecordText},
        {"read-out value below -20000", with(8, "*SIJLTB 0 0 0 0 0 -20000.5"), 190, ""},
        // 1.5 x 20000 - 0.5 x (-20000) = 40000: only the toe value is out of range.
        {"toe value out of range",
         BlockOf({cards[0], "*SIJA 20000 0 0 0 0 0", cards[2], cards[3], cards[4],
                  "*SIJB -20000 0 0 0 0 0", cards[6], cards[7], cards[8]}),
         190, "<CPelnoFatigueReleve::SetDefinition>" + kBadRecordText},
        {"pressure out of range", with(0, "*PARAMETRE 3001 150"), 190,
         "<CPelnoFatigueReleve::SetDefinition>" + kBadRecordText},
    };
    // Every card is required; a missing one is a bad record at the end card.
    for (std::size_t dropped = 0; dropped < cards.size(); ++dropped) {
        std::vector<std::string> fewer;
        for (std::size_t i = 0; i < cards.size(); ++i) {
            if (i != dropped) fewer.push_back(cards[i]);
        }
        cases.push_back({"a card missing", BlockOf(fewer), 190, readLog + kBadRecordText});
    }
    for (const Case& c : cases) {
        const Failure failure = FailureOf([&] {
            std::istringstream input(c.block);
            CPelnoFatigueReleveLin record;
            record.Read(input, kOpening, 1);
        });
        EXPECT_EQ(failure.code, c.code) << c.what << "\n" << c.block;
        if (!c.message.empty()) {
            EXPECT_EQ(failure.message, c.message) << c.what;
        }
    }
}

TEST(CPelnoFatigueReleveLin, ReadOutBoundsAreInclusive)
{
    // A = B = +-20000 extrapolates to +-20000 itself: 1.5 x 20000 - 0.5 x 20000.
    const StressTensor edge{20000, -20000, 20000, -20000, 20000, -20000};
    const StressTensor zero{0, 0, 0, 0, 0, 0};
    CPelnoFatigueReleveLin record;
    record.SetDefinition("r", 0, 0, 20, edge, zero, zero, zero, edge, zero, zero, zero);
    EXPECT_TRUE(record.IsDefined());
    EXPECT_EQ(record.GetSij(), edge);
}

TEST(CPelnoFatigueReleveLin, Printout)
{
    std::istringstream input(BlockOf(Cards()));
    CPelnoFatigueReleveLin record;
    record.Read(input, kOpening, 7);
    std::ostringstream out;
    out << record;

    const char* const headers[4] = {
        "|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |    Szz     |",
        "|    Sxxm    |    Sxym    |    Sxzm    |    Syym    |    Syzm    |    Szzm    |",
        "|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    Szzlm   |",
        "|    Sxxlt   |    Sxylt   |    Sxzlt   |    Syylt   |    Syzlt   |    Szzlt   |",
    };
    std::vector<std::string> expected = {
        "",
        "Relevé linéaire numéro   : 7",
        "++++++++++++++++++++++++++ ",
        "Nom                      : soudure  ",
        "Pression (MPa)           : 2.5",
        "Température (deg)        : 150",
    };
    const char* const toeLabels[4] = {"Sij (MPa)           : ", "Sij membrane (MPa)  : ",
                                      "Sij lin. meca (MPa) : ", "Sij lin. ther (MPa) : "};
    for (int kind = 0; kind < 4; ++kind) {
        expected.insert(expected.end(), {toeLabels[kind], headers[kind], Row(120, kind)});
    }
    const char* const pointLabels[8] = {
        "SijA at 0.5*thickness    : ", "SijmA at 0.5*thickness   : ",
        "SijlmA at 0.5*thickness  : ", "SijltA at 0.5*thickness  : ",
        "SijB at 1.5*thickness    : ", "SijmB at 1.5*thickness   : ",
        "SijlmB at 1.5*thickness  : ", "SijltB at 1.5*thickness  : "};
    for (int point = 0; point < 8; ++point) {
        const int kind = point % 4;
        expected.insert(expected.end(),
                        {pointLabels[point], headers[kind], Row(point < 4 ? 100 : 60, kind)});
    }
    EXPECT_EQ(Lines(out.str()), expected);
}
