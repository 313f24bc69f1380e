#include "deck/InputFile.h"

#include <sys/stat.h>

void OpenCardFile(std::ifstream& stream, const std::string& path)
{
    if (stream.is_open()) stream.close();
    stream.clear();
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return;
    stream.open(path, std::ios::in);
}
