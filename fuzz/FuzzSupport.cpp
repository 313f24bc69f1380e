#include "FuzzSupport.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>

std::string InputFile(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/pelno-fuzz-input-" + std::to_string(::getpid());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

void SilenceConsole()
{
    static bool done = false;
    if (!done) {
        std::cerr.rdbuf(nullptr);  // writes set badbit and go nowhere
        done = true;
    }
}

const std::string& ReportDirectory()
{
    static const std::string directory = [] {
        std::string pattern = "/tmp/pelno-fuzz-reports-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern + "/";
    }();
    return directory;
}

void EmptyDirectory(const std::string& directory)
{
    DIR* folder = ::opendir(directory.c_str());
    if (folder == nullptr) return;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") ::unlink((directory + name).c_str());
    }
    ::closedir(folder);
}
