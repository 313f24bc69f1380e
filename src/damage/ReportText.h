#pragma once

#include <string>

// Every fixed label of a report passes through here before it is written: report files are
// UTF-8. The program's labels are held as UTF-8 text, so the conversion keeps their bytes;
// names and values read from the input files are written as they are and never pass here.
const std::string& ToReportText(const std::string& label);
inline std::string ToReportText(const char* label) { return std::string(label); }
