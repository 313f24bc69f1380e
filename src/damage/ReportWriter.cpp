#include "damage/ReportWriter.h"

#include <iomanip>
#include <locale>
#include <sstream>

#include "damage/ReportText.h"

ReportWriter& ReportWriter::Text(const char* label)
{
    out_ << ToReportText(label);
    return *this;
}

ReportWriter& ReportWriter::Line(const char* label)
{
    out_ << ToReportText(label) << '\n';
    return *this;
}

ReportWriter& ReportWriter::Lines(std::initializer_list<const char*> labels)
{
    for (const char* label : labels) Line(label);
    return *this;
}

ReportWriter& ReportWriter::NewLines(int count)
{
    for (int i = 0; i < count; ++i) out_ << '\n';
    return *this;
}

ReportWriter& ReportWriter::FormFeed()
{
    out_ << '\f';
    return *this;
}

ReportWriter& ReportWriter::Box(char border, int count, std::initializer_list<const char*> titles)
{
    const std::string line(static_cast<std::size_t>(count), border);
    out_ << line << '\n';
    for (const char* title : titles) Line(title);
    out_ << line << '\n';
    return *this;
}

ReportWriter& ReportWriter::CycleCount(std::int32_t count)
{
    // Formatted apart rather than by changing the report stream's locale twice: changing the
    // locale of a file stream flushes it, and once a write has failed (full disk) the file
    // stream refuses the second change with an exception instead of keeping its error state.
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::setw(10) << count;
    out_ << text.str();
    return *this;
}
