#include "deck/CPelnoFatigueContexte.h"

#include <gtest/gtest.h>

#include "support/ReaderTestSupport.h"
#include "support/RunProgram.h"

namespace {

// One block of each kind, all four named "X" (a name may be shared across kinds).
const std::string kClass =
    "*CLASSE             X\n"
    "*PARAMETRE 2000000 80. 100000000 43.9\n"
    "*PARAMETRES 3. 1.024e12 5. 6.554e15\n"
    "*FIN_CLASSE\n";
const std::string kMaterial =
    "*MATERIAU           X\n"
    "*TYPE F\n"
    "*PARAMETRE 265. 410. 204000. 0.3\n"
    "*FIN_MATERIAU\n";
const std::string kCurve =
    "*UWCOURBE           X\n"
    "*PARAMETRE 410.\n"
    "*FIN_UWCOURBE\n";
const std::string kClassification =
    "*CLASSIFICATION     X\n"
    "*CORDON_CLASSE      X\n"
    "*FIN_CLASSIFICATION\n";

class CPelnoFatigueContexteTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = MakeTempDirectory(); }

    // Writes the text as a context file and reads it into the library.
    int ReadText(const std::string& text)
    {
        const std::string path = dir_ + "/contexte.txt";
        WriteFile(path, text);
        CapturedErrors errors;
        const int code = library_.Read(path);
        echo_ = errors.Text();
        return code;
    }

    std::string dir_;
    std::string echo_;
    CPelnoFatigueContexte library_;
};

template <class Object>
Object Named(const std::string& text)
{
    Object object;
    const int code = ReadBlock(text, [&](std::istream& in, const std::string& h) { object.Read(in, h); });
    EXPECT_EQ(code, 0);
    return object;
}

}  // namespace

TEST_F(CPelnoFatigueContexteTest, ReadsTheFourKinds)
{
    ASSERT_EQ(ReadText("\xEF\xBB\xBF/ bibliothèque\n\n" + kClass + kMaterial + kCurve + kClassification),
              0);
    EXPECT_TRUE(library_.ClassExist("X"));
    EXPECT_TRUE(library_.MaterialExist("X"));
    EXPECT_TRUE(library_.UWCurveExist("X"));
    EXPECT_TRUE(library_.WeldDetailExist("X"));
    EXPECT_EQ(library_.GetClass("X").GetDSigmaD(), 80.0);
    EXPECT_EQ(library_.GetMaterial("X").GetRm(), 410.0);
    EXPECT_EQ(library_.GetUWCurve("X").GetRm(), 410.0);
    EXPECT_EQ(library_.GetWeldDetail("X").GetClassName(), "X");
    // Every line is echoed; the final line feed gives one more empty line.
    EXPECT_EQ(echo_, "/ bibliothèque\n\n" + kClass + kMaterial + kCurve + kClassification + "\n");
}

TEST_F(CPelnoFatigueContexteTest, FileCodes)
{
    struct Case {
        std::string text;
        int code;
    };
    const Case cases[] = {
        {"", 0},
        {"/ vide\n\n", 0},
        {kClass + kClass, 60},
        {kMaterial + kMaterial, 400},
        {kCurve + kCurve, 80},
        {kClass + kClassification + kClassification, 130},
        // a classification must follow its class
        {kClassification + kClass, 110},
        // only the four cards of the library
        {kMaterial + "*COMPOSANT          C1\n*FIN_COMPOSANT\n", 40},
        {"*UWZONE             Z\n", 40},
        {"*DOMMAGE\n", 40},
        {"*FIN_MATERIAU\n", 40},
        {" *MATERIAU           X\n", 40},
        {"*materiau           X\n", 40},
        // the prefix rule: further capitals after the keyword
        {"*CLASSES            X\n*PARAMETRE 2000000 80. 100000000 43.9\n"
         "*PARAMETRES 3. 1.024e12 5. 6.554e15\n*FIN_CLASSE\n", 0},
        // failures inside a block keep their own code
        {"*MATERIAU           X\n*TYPE F\n*FIN_MATERIAU\n", 390},
        {"*CLASSE             X\n*FIN_CLASSE\n", 20},
        {"*UWCOURBE           X\n*FIN_UWCOURBE\n", 70},
        {kMaterial.substr(0, kMaterial.size() - 14), 50},
    };
    for (const Case& c : cases) {
        CPelnoFatigueContexte fresh;
        library_ = fresh;
        EXPECT_EQ(ReadText(c.text), c.code) << c.text;
    }
    EXPECT_EQ(library_.Read(dir_ + "/absent.txt"), 350);
    EXPECT_EQ(library_.Read(dir_), 350);
}

TEST_F(CPelnoFatigueContexteTest, ObjectsBeforeAFailureStayAndReadingAddsToTheLibrary)
{
    EXPECT_EQ(ReadText(kMaterial + kCurve + kMaterial), 400);
    EXPECT_TRUE(library_.MaterialExist("X"));
    EXPECT_TRUE(library_.UWCurveExist("X"));

    // Reading the same file twice: the library is not cleared, the first definition of the
    // second reading is a duplicate.
    CPelnoFatigueContexte fresh;
    library_ = fresh;
    const std::string text = kClass + kMaterial + kCurve + kClassification;
    EXPECT_EQ(ReadText(text), 0);
    EXPECT_EQ(ReadText(text), 60);
    EXPECT_EQ(ReadText(kCurve), 80);
}

TEST_F(CPelnoFatigueContexteTest, AddExistGetPerKind)
{
    const auto fatigueClass = Named<CPelnoFatigueClasse>(kClass);
    const auto material = Named<CPelnoFatigueMateriau>(kMaterial);
    const auto curve = Named<CPelnoFatigueUWCourbe>(kCurve);
    CPelnoFatigueClassification classification;
    classification.SetDefinition({{"X", fatigueClass}}, "X", "X", " ", " ", " ", " ");

    CPelnoFatigueContexte library;
    EXPECT_FALSE(library.ClassExist("X"));
    EXPECT_EQ(CodeOf([&] { library.GetClass("X"); }), 90);
    EXPECT_EQ(CodeOf([&] { library.GetMaterial("X"); }), 410);
    EXPECT_EQ(CodeOf([&] { library.GetUWCurve("X"); }), 100);
    EXPECT_EQ(CodeOf([&] { library.GetWeldDetail("X"); }), 120);

    library.AddFatigueClass(fatigueClass);
    library.AddMaterial(material);
    library.AddUWCurve(curve);
    library.AddWeldDetail(classification);
    EXPECT_EQ(CodeOf([&] { library.AddFatigueClass(fatigueClass); }), 60);
    EXPECT_EQ(CodeOf([&] { library.AddMaterial(material); }), 400);
    EXPECT_EQ(CodeOf([&] { library.AddUWCurve(curve); }), 80);
    EXPECT_EQ(CodeOf([&] { library.AddWeldDetail(classification); }), 130);
    EXPECT_EQ(library.GetMaterials().size(), 1u);

    // Names are exact bytes: a trailing blank makes another name.
    EXPECT_TRUE(library.MaterialExist("X"));
    EXPECT_FALSE(library.MaterialExist("X "));
    EXPECT_EQ(CodeOf([&] { library.GetMaterial("X "); }), 410);
    EXPECT_EQ(CodeOf([&] { library.GetClass("x"); }), 90);

    // A duplicate leaves the stored object in place.
    CPelnoFatigueMateriau other;
    other.SetDefinition("X", 30, " ", 300.0, {}, 600.0, 200000.0, 0.3);
    EXPECT_EQ(CodeOf([&] { library.AddMaterial(other); }), 400);
    EXPECT_EQ(library.GetMaterial("X").GetType(), 20);

    // Lookups return copies; assignment copies the four maps; Clear empties them.
    CPelnoFatigueContexte copy;
    copy = library;
    library.Clear();
    EXPECT_FALSE(library.ClassExist("X"));
    EXPECT_FALSE(library.MaterialExist("X"));
    EXPECT_FALSE(library.UWCurveExist("X"));
    EXPECT_FALSE(library.WeldDetailExist("X"));
    EXPECT_TRUE(copy.ClassExist("X"));
    EXPECT_TRUE(copy.MaterialExist("X"));
    EXPECT_TRUE(copy.UWCurveExist("X"));
    EXPECT_TRUE(copy.WeldDetailExist("X"));
    EXPECT_EQ(copy.GetWeldDetail("X").GetClassName(), "X");

    // Assignment replaces what the target held.
    CPelnoFatigueContexte target;
    target.AddUWCurve(Named<CPelnoFatigueUWCourbe>("*UWCOURBE           Y\n*PARAMETRE 500\n*FIN_UWCOURBE\n"));
    target = library;
    EXPECT_TRUE(target.GetUWCurves().empty());
}
