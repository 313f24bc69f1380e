#include "damage/ReportText.h"

const std::string& ToReportText(const std::string& label)
{
    return label;
}
