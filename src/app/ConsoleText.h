#pragma once

#include <string>

// The console speaks ISO-8859-15: every fixed text of the program (held in UTF-8) is
// converted here, and only here, before it goes to the error stream.
std::string ToConsoleText(const std::string& utf8Text);

// Writes a fixed text to the error stream in the console's character set.
void WriteConsole(const std::string& utf8Text);
