#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>

// The framing shared by the damage reports: labels through ToReportText, banner boxes, page
// breaks and the permissible-cycle column written without digit grouping. Numbers are written
// by the stream itself, in the notation and precision left on it by the previous write.
class ReportWriter {
public:
    explicit ReportWriter(std::ostream& out) : out_(out) {}

    std::ostream& Stream() { return out_; }

    // A label (through ToReportText), without line end.
    ReportWriter& Text(const char* label);
    // A label followed by a line end.
    ReportWriter& Line(const char* label);
    // Each label followed by a line end.
    ReportWriter& Lines(std::initializer_list<const char*> labels);
    // Line ends.
    ReportWriter& NewLines(int count = 1);
    // The page break: one form-feed character (no line end).
    ReportWriter& FormFeed();
    // A border of count characters, the titles, the border again, each followed by a line end.
    ReportWriter& Box(char border, int count, std::initializer_list<const char*> titles);
    // An integer count of cycles N in a field of width 10 under the classic locale (no digit
    // grouping), whatever the stream's own locale, which is left as it is.
    ReportWriter& CycleCount(std::int32_t count);

private:
    std::ostream& out_;
};
