#include "app/ConsoleText.h"

#include <boost/locale/encoding.hpp>
#include <iostream>

std::string ToConsoleText(const std::string& utf8Text)
{
    return boost::locale::conv::from_utf(utf8Text, "ISO-8859-15", boost::locale::conv::stop);
}

void WriteConsole(const std::string& utf8Text)
{
    const std::string bytes = ToConsoleText(utf8Text);
    std::cerr.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
