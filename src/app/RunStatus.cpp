#include "app/RunStatus.h"

#include <iostream>
#include <string>

#include "app/ConsoleText.h"
#include "app/ErrorCatalog.h"

namespace {

const char* const kIndent = "              ";  // 14 blanks

void MessageLine(const std::string& text)
{
    WriteConsole(kIndent + text + "\n");
}

}  // namespace

void PrintRunStatus(std::int32_t code)
{
    std::string block = " \n";
    if (code == 0) {
        block += " Fin normale du travail \n";
        block += " \n";
        WriteConsole(block);
        std::cerr.flush();
        return;
    }
    block += " Fin anormale du travail \n";
    block += " Code d'erreur : " + std::to_string(code) + " \n";
    WriteConsole(block);

    const char* text = ErrorText(code);
    if (text == nullptr) {
        MessageLine("Erreur non documentée, contactez le TOLVE ");
    } else {
        MessageLine(std::string(text) + " ");
        if (code == 40) {
            for (const char* hint : kUnknownCardHints) MessageLine(hint);
        }
    }
    WriteConsole(" \n");
    std::cerr.flush();
}
