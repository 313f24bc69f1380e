#include "deck/CardReader.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <stdexcept>

#include "app/CExceptionPelnoFatigue.h"
#include "deck/BlockReader.h"

namespace {

// Captures what is echoed to the error stream while it lives.
class CapturedErrors {
public:
    CapturedErrors() : previous_(std::cerr.rdbuf(buffer_.rdbuf())) {}
    ~CapturedErrors() { std::cerr.rdbuf(previous_); }
    std::string Text() const { return buffer_.str(); }

private:
    std::ostringstream buffer_;
    std::streambuf* previous_;
};

int CodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CExceptionPelnoFatigue& error) {
        return error.GetCode();
    }
    return 0;
}

}  // namespace

TEST(CardReader, IsCardIsAByteWisePrefixTest)
{
    EXPECT_TRUE(IsCard("*CLASSE", "*CLASSE"));
    EXPECT_TRUE(IsCard("*CLASSEMENT toto", "*CLASSE"));
    EXPECT_TRUE(IsCard("*PARAMETRES 1 2", "*PARAMETRE"));
    EXPECT_FALSE(IsCard("*CLASS", "*CLASSE"));
    EXPECT_FALSE(IsCard("*classe", "*CLASSE"));
    EXPECT_FALSE(IsCard("  *CLASSE", "*CLASSE"));
    EXPECT_FALSE(IsCard("", "*CLASSE"));
}

TEST(CardReader, IgnorableLines)
{
    EXPECT_TRUE(IsIgnorableLine(""));
    EXPECT_TRUE(IsIgnorableLine("/ commentaire"));
    EXPECT_TRUE(IsIgnorableLine("/"));
    EXPECT_FALSE(IsIgnorableLine("\\ commentaire"));
    EXPECT_FALSE(IsIgnorableLine(" "));
    EXPECT_FALSE(IsIgnorableLine("*X"));
}

TEST(CardReader, NamesAreTakenFromColumn21Unchanged)
{
    EXPECT_EQ(HeaderName("*MATERIAU           M1"), "M1");
    EXPECT_EQ(HeaderName("*MATERIAU           M1  "), "M1  ");
    EXPECT_EQ(HeaderName("*MATERIAU           "), "");     // exactly 20 characters
    EXPECT_EQ(HeaderName("*MATERIAU"), "");
    EXPECT_EQ(HeaderName("*MATERIAU M1"), "");               // a single blank: no name
    EXPECT_EQ(HeaderName("*POINT_HISTORIQUE H1_LONG_NAME"), "_LONG_NAME");  // from column 21

    // A header of 250 characters gives a name of 180 (columns 21 to 200), through the buffer
    // that ReadCardLine fills.
    std::istringstream input("*MATERIAU           " + std::string(230, 'n') + "\n");
    CapturedErrors errors;
    CardLine line;
    ReadCardLine(input, line);
    EXPECT_EQ(line.text.size(), 250u);
    EXPECT_EQ(HeaderName(line.buffer), std::string(180, 'n'));

    EXPECT_EQ(CardText("*COMMENTAIRE        texte  libre "), "texte  libre ");
    EXPECT_EQ(CardText(std::string(20, ' ')), "");
    EXPECT_THROW(CardText("*COMMENTAIRE"), std::out_of_range);
}

TEST(CardReader, ReadCardLineEchoesAndStripsCarriageReturn)
{
    std::istringstream input("*A  x\r\n/ b\nlast");
    CapturedErrors errors;
    CardLine line;
    ReadCardLine(input, line);
    EXPECT_EQ(line.text, "*A  x");
    EXPECT_FALSE(line.reachedEnd);
    ReadCardLine(input, line);
    EXPECT_EQ(line.text, "/ b");
    ReadCardLine(input, line);
    EXPECT_EQ(line.text, "last");
    EXPECT_TRUE(line.reachedEnd);
    EXPECT_EQ(errors.Text(), "*A  x\n/ b\nlast\n");
}

TEST(CardReader, FileLoopTrace)
{
    struct Case {
        std::string file;
        std::string trace;
        int code;
    };
    const Case cases[] = {
        {"", "\n", 0},                                       // an empty file echoes one empty line
        {"/ a\n\n/ b\n", "/ a\n\n/ b\n\n", 0},               // final line feed: one more empty line
        {"/ a\n/ b", "/ a\n/ b\n", 0},                       // no final line feed
        {"\xEF\xBB\xBF/ a\n", "/ a\n\n", 0},                 // byte-order mark skipped
        {"\xEF\xBB\xBF", "\n", 0},                           // a mark alone
        {"/ a\r\n\r\n", "/ a\n\n\n", 0},                     // CR LF
        {"/ a\n*CARTE\n/ b\n", "/ a\n*CARTE\n", 40},         // unknown card
        {" *CARTE\n", " *CARTE\n", 40},                      // leading blank
        {"\\ commentaire\n", "\\ commentaire\n", 40},        // backslash
        {"*carte\n", "*carte\n", 40},                        // lower case
        {"\xEF\xBB", "\xEF\xBB\n", 40},                      // two bytes: no mark, read as text
    };
    const MethodLogName log("Test::Read");
    for (const Case& c : cases) {
        std::istringstream input(c.file);
        CapturedErrors errors;
        const int code = CodeOf([&] { ReadCardFile(input, log, [](const CardLine&) { return false; }); });
        EXPECT_EQ(code, c.code) << c.file;
        EXPECT_EQ(errors.Text(), c.trace) << c.file;
    }
}

TEST(CardReader, FileLoopHandsCardsToTheirReader)
{
    std::istringstream input("*BLOC               nom\n*FIN\n/ x\n*BLOC               autre\n*FIN");
    CapturedErrors errors;
    std::vector<std::string> names;
    const MethodLogName log("Test::Read");
    const int code = CodeOf([&] { ReadCardFile(input, log, [&](const CardLine& line) {
        if (!IsCard(line.text, "*BLOC")) return false;
        names.push_back(HeaderName(line.buffer));
        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*FIN")) break;
            block.Unknown();
        }
        return true;
    }); });
    // Both blocks were handed over; the second one's end card has no final line feed: 50.
    EXPECT_EQ(names, (std::vector<std::string>{"nom", "autre"}));
    EXPECT_EQ(code, 50);
}

TEST(BlockReader, SkipsCommentsAndRaisesTheSharedCodes)
{
    const MethodLogName log("Test::Read");
    struct Case {
        std::string block;
        int code;
    };
    const Case cases[] = {
        {"/ c\n\n*FIN\n", 0},
        {"*FIN", 50},                     // end card without a final line feed
        {"*A 1\n", 50},                   // the file ends inside the block
        {"*A 1\n*A 2\n*FIN\n", 30},       // a card given twice
        {"*B\n*FIN\n", 40},               // unknown card
        {" *FIN\n", 40},
    };
    for (const Case& c : cases) {
        std::istringstream input(c.block);
        CapturedErrors errors;
        const int code = CodeOf([&] {
            BlockReader block(input, log);
            bool seenA = false;
            for (;;) {
                const std::string& card = block.NextCard();
                if (IsCard(card, "*A")) block.Once(seenA);
                else if (IsCard(card, "*FIN")) break;
                else block.Unknown();
            }
        });
        EXPECT_EQ(code, c.code) << c.block;
    }
}

TEST(BlockReader, EndOfFileLineIsEchoedBeforeCode50)
{
    std::istringstream input("*FIN");
    CapturedErrors errors;
    const MethodLogName log("Test::Read");
    BlockReader block(input, log);
    EXPECT_EQ(CodeOf([&] { block.NextCard(); }), 50);
    EXPECT_EQ(errors.Text(), "*FIN\n");
}
