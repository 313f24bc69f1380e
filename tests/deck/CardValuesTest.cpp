#include "deck/CardValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/CExceptionPelnoFatigue.h"

TEST(CardValues, StrictNumbers)
{
    struct Case {
        const char* word;
        bool accepted;
        double value;
    };
    const Case cases[] = {
        {"265", true, 265.0},
        {"265.", true, 265.0},
        {".5", true, 0.5},
        {"-0.25", true, -0.25},
        {"+3", true, 3.0},
        {"2.65e2", true, 265.0},
        {"2.65E+2", true, 265.0},
        {"1e-3", true, 0.001},
        {"1e308", true, 1e308},
        {"-0", true, 0.0},
        {"265,5", false, 0},   // decimal comma
        {"12abc", false, 0},
        {"abc", false, 0},
        {"", false, 0},
        {".", false, 0},
        {"-", false, 0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"e5", false, 0},
        {"1.2.3", false, 0},
        {"1e309", false, 0},   // not finite
        {"nan", false, 0},
        {"inf", false, 0},
        {"-infinity", false, 0},
        {"0x10", false, 0},
        {"1 ", false, 0},
    };
    for (const Case& c : cases) {
        double value = -1.0;
        EXPECT_EQ(CardValues::ParseNumber(c.word, value), c.accepted) << c.word;
        if (c.accepted) {
            EXPECT_EQ(value, c.value) << c.word;
        }
    }
    double tiny = 0.0;
    EXPECT_TRUE(CardValues::ParseNumber("1e-320", tiny));  // subnormal but finite
    EXPECT_GT(tiny, 0.0);
    double negativeZero = 1.0;
    ASSERT_TRUE(CardValues::ParseNumber("-0", negativeZero));
    EXPECT_TRUE(std::signbit(negativeZero));
}

TEST(CardValues, WordsAfterTheKeywordSeparatedByBlanksOrTabs)
{
    CardValues values("*PARAMETRE 265.\t410.   204000. 0.3 extra words");
    double re20 = 0, rm = 0, e = 0, nu = 0;
    ASSERT_TRUE(values.NextNumber(re20));
    ASSERT_TRUE(values.NextNumber(rm));
    ASSERT_TRUE(values.NextNumber(e));
    ASSERT_TRUE(values.NextNumber(nu));
    EXPECT_EQ(re20, 265.0);
    EXPECT_EQ(rm, 410.0);
    EXPECT_EQ(e, 204000.0);
    EXPECT_EQ(nu, 0.3);

    CardValues missing("*PARAMETRE 1");
    double x = 0;
    EXPECT_TRUE(missing.NextNumber(x));
    EXPECT_FALSE(missing.NextNumber(x));

    CardValues glued("*PARAMETRE12 5");  // the keyword word is whatever precedes the first blank
    ASSERT_TRUE(glued.NextNumber(x));
    EXPECT_EQ(x, 5.0);
}

TEST(CardValues, NumberRaisesTheObjectsOwnCode)
{
    const MethodLogName log("CPelnoFatigueMateriau::Read");
    CardValues values("*PARAMETRE 1 265,5");
    EXPECT_EQ(values.Number(390, log), 1.0);
    try {
        values.Number(390, log);
        FAIL();
    } catch (const CExceptionPelnoFatigue& error) {
        EXPECT_EQ(error.GetCode(), 390);
        EXPECT_STREQ(error.GetMessage(), "<CPelnoFatigueMateriau::Read> : Mauvaise définition d'un matériau");
    }
}

TEST(CardValues, IntegersAreTruncatedAndRangeChecked)
{
    const MethodLogName log("CPelnoFatigueClasse::Read");
    CardValues values("*PARAMETRE 2000000.9 -3.7 2147483647 2147483648 -2147483649");
    EXPECT_EQ(values.Integer(20, log), 2000000);
    EXPECT_EQ(values.Integer(20, log), -3);
    EXPECT_EQ(values.Integer(20, log), 2147483647);
    EXPECT_THROW(values.Integer(20, log), CExceptionPelnoFatigue);
    EXPECT_THROW(values.Integer(20, log), CExceptionPelnoFatigue);
}
