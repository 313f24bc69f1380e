#include "app/CExceptionPelnoFatigue.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/Guarded.h"
#include "app/MethodLogName.h"

TEST(CExceptionPelnoFatigue, KeepsCodeAndOwnCopyOfMessage)
{
    std::string text = "<A::B> : texte";
    CExceptionPelnoFatigue error(380, text.c_str());
    text[0] = 'X';
    EXPECT_EQ(error.GetCode(), 380);
    EXPECT_STREQ(error.GetMessage(), "<A::B> : texte");
    const CExceptionPelnoFatigue copy(error);
    EXPECT_STREQ(copy.GetMessage(), "<A::B> : texte");
    EXPECT_NE(copy.GetMessage(), error.GetMessage());
}

TEST(CExceptionPelnoFatigue, NullOrEmptyTextGivesNullMessage)
{
    EXPECT_EQ(CExceptionPelnoFatigue(10, nullptr).GetMessage(), nullptr);
    EXPECT_EQ(CExceptionPelnoFatigue(10, "").GetMessage(), nullptr);
}

TEST(MethodLogName, RaisesWithStandardTextOrOwnFormat)
{
    const MethodLogName log("CPelnoFatigue::GetComponent");
    EXPECT_STREQ(log.c_str(), "<CPelnoFatigue::GetComponent>");
    try {
        log.Raise(380);
        FAIL();
    } catch (const CExceptionPelnoFatigue& error) {
        EXPECT_EQ(error.GetCode(), 380);
        EXPECT_STREQ(error.GetMessage(),
                     "<CPelnoFatigue::GetComponent> : Le composant auquel l'on se réferre n'existe pas");
    }
    try {
        log.Raise(20, "%s : Invalid time pick definition");
        FAIL();
    } catch (const CExceptionPelnoFatigue& error) {
        EXPECT_EQ(error.GetCode(), 20);
        EXPECT_STREQ(error.GetMessage(), "<CPelnoFatigue::GetComponent> : Invalid time pick definition");
    }
}

TEST(MethodLogName, HoldsAtMostSixtyCharacters)
{
    const std::string longName(100, 'x');
    const MethodLogName log(longName.c_str());
    EXPECT_EQ(std::string(log.c_str()), "<" + std::string(59, 'x'));
}

TEST(Guarded, PassesProgramErrorsAndTurnsOthersIntoCode10)
{
    const MethodLogName inner("Inner::Method");
    const MethodLogName outer("Outer::Method");
    try {
        Guarded(outer, [&] { inner.Raise(430); });
        FAIL();
    } catch (const CExceptionPelnoFatigue& error) {
        EXPECT_EQ(error.GetCode(), 430);
        EXPECT_EQ(std::string(error.GetMessage()).rfind("<Inner::Method> : ", 0), 0u);
    }
    try {
        Guarded(outer, [] { return std::string("abc").substr(10); });
        FAIL();
    } catch (const CExceptionPelnoFatigue& error) {
        EXPECT_EQ(error.GetCode(), 10);
        EXPECT_STREQ(error.GetMessage(), "<Outer::Method> : Erreur inconnue");
    }
    EXPECT_EQ(Guarded(outer, [] { return 7; }), 7);
}

TEST(EntryGuarded, ReturnsTheCodeAndNeverThrows)
{
    EXPECT_EQ(EntryGuarded([] {}), 0);
    EXPECT_EQ(EntryGuarded([] { MethodLogName("X::Y").Raise(240); }), 240);
    EXPECT_EQ(EntryGuarded([] { throw std::runtime_error("x"); }), 10);
    EXPECT_EQ(EntryGuarded([] { throw 5; }), 10);
}
