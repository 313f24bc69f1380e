#include "damage/ReportWriter.h"

#include <cstdio>

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
    // Formatted apart, as under the classic locale: changing the locale of a file stream in
    // the middle of a report would flush it at every cycle, and a failed flush (a full disk)
    // leaves the stream unable to take any locale again.
    char text[16];
    std::snprintf(text, sizeof text, "%10d", static_cast<int>(count));
    out_ << text;
    return *this;
}
