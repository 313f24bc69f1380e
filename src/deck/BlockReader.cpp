#include "deck/BlockReader.h"

const std::string& BlockReader::NextCard()
{
    for (;;) {
        ReadCardLine(input_, line_);
        if (line_.reachedEnd) log_.Raise(50);
        if (!IsIgnorableLine(line_.text)) return line_.text;
    }
}

void BlockReader::Once(bool& given) const
{
    if (given) Misplaced();
    given = true;
}

void BlockReader::Misplaced() const
{
    log_.Raise(30);
}

void BlockReader::Unknown() const
{
    log_.Raise(40);
}
