#include "app/RunStatus.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "support/RunProgram.h"

namespace {

std::string StatusBlock(std::int32_t code)
{
    std::ostringstream captured;
    std::streambuf* previous = std::cerr.rdbuf(captured.rdbuf());
    PrintRunStatus(code);
    std::cerr.rdbuf(previous);
    return captured.str();
}

const std::string kIndent(14, ' ');

}  // namespace

TEST(RunStatus, NormalEndIsThreeLines)
{
    EXPECT_EQ(StatusBlock(0), " \n Fin normale du travail \n \n");
}

TEST(RunStatus, DocumentedCodeShowsItsTextInLatin9)
{
    // Code 380, line by line: a blank, the abnormal end, the code, the indented text, a blank.
    EXPECT_EQ(StatusBlock(380),
              " \n Fin anormale du travail \n Code d'erreur : 380 \n" + kIndent +
                  Latin9("Le composant auquel l'on se réferre n'existe pas ") + "\n \n");
}

TEST(RunStatus, UnknownCardCodeAddsItsSixHints)
{
    const std::string expected =
        " \n Fin anormale du travail \n Code d'erreur : 40 \n" +
        kIndent + Latin9("Carte de donnée inconnue ") + "\n" +
        kIndent + Latin9("Vérifiez que chaque ligne de données commence par les caractères * ou \\ ") + "\n" +
        kIndent + Latin9("Vérifiez qu'aucune ligne de données ne commence par un caractère blanc ") + "\n" +
        kIndent + Latin9("Vérifiez qu'aucune ligne de données ne commence par une action inconnue") + "\n" +
        kIndent + Latin9("Vérifiez que votre éditeur de texte ne place pas des balises autours des mots ") + "\n" +
        kIndent + Latin9("Créez votre fichier de données avec un éditeur de texte du type Notepad++, ... ") + "\n" +
        kIndent + Latin9("Dans votre éditeur de texte sauvegardez votre fichier de données en ASCII ou UTF-8 avec ou sans BOM") + "\n" +
        " \n";
    EXPECT_EQ(StatusBlock(40), expected);
}

TEST(RunStatus, CodesOutsideTheTableAreUndocumented)
{
    for (std::int32_t code : {1, 5, 485, 490, -10, 1000}) {
        EXPECT_EQ(StatusBlock(code), " \n Fin anormale du travail \n Code d'erreur : " +
                                         std::to_string(code) + " \n" + kIndent +
                                         Latin9("Erreur non documentée, contactez le TOLVE ") + "\n \n")
            << code;
    }
}

TEST(RunStatus, EveryDocumentedCodeHasOneTextLine)
{
    // Table of the console texts, checked against the block for a sample of the codes nothing
    // raises and of codes with accented letters.
    struct Case {
        std::int32_t code;
        const char* text;
    };
    const Case cases[] = {
        {10, "Erreur inconnue"},
        {180, "Un des composants que le cordon lie entre eux n'existe pas"},
        {230, "La méthode demandée n'est pas programmée dans la version actuelle du logiciel"},
        {340, "Erreur interne au logiciel - stratégie de résolution non définie, contactez le TOLVE"},
        {330, "La demande de calcul du taux d'endommagement est invalide - méthode de comptage des cycles non définie"},
        {480, "Matériau - la température d'entrée sort de l'intervalle des températures fournies"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StatusBlock(c.code), " \n Fin anormale du travail \n Code d'erreur : " +
                                           std::to_string(c.code) + " \n" + kIndent +
                                           Latin9(std::string(c.text) + " ") + "\n \n");
    }
    for (std::int32_t code = 10; code <= 480; code += 10) {
        const std::string block = StatusBlock(code);
        EXPECT_EQ(block.find("non documentée"), std::string::npos) << code;
        int lines = 0;
        for (char c : block) lines += c == '\n';
        EXPECT_EQ(lines, code == 40 ? 11 : 5) << code;
    }
}
