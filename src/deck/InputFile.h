#pragma once

#include <fstream>
#include <string>

// Opens a card file for reading. Only something that can be read as a file opens: a directory
// (which a file stream would otherwise "open" and read as empty) leaves the stream closed.
void OpenCardFile(std::ifstream& stream, const std::string& path);
