#include "support/RunProgram.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

std::string ProgramPath()
{
    return PELNO_EXE;
}

std::string MakeTempDirectory()
{
    std::string pattern = "/tmp/pelno-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    return pattern;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string Latin9(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            out.push_back(static_cast<char>(code));  // the program's texts only use Latin-1 letters
            ++i;
        } else {
            throw std::runtime_error("unexpected character in a console text");
        }
    }
    return out;
}

ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const std::string& workingDirectory,
                         const std::vector<std::string>& environment, bool oneCpu)
{
    const std::string directory = MakeTempDirectory();
    const std::string errPath = directory + "/stderr";
    const std::string outPath = directory + "/stdout";

    // An extra entry replaces an inherited one of the same name (the program would read the
    // first of two).
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=') + 1); };
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string inherited = *entry;
        bool replaced = false;
        for (const std::string& extra : environment) replaced = replaced || nameOf(extra) == nameOf(inherited);
        if (!replaced) env.push_back(inherited);
    }
    for (const std::string& extra : environment) env.push_back(extra);
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::string program = ProgramPath();
    std::vector<std::string> args = arguments;
    std::vector<char*> argv;
    argv.push_back(program.data());
    for (std::string& argument : args) argv.push_back(argument.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = ::open("/dev/null", O_RDONLY);
        if (err < 0 || out < 0 || in < 0) ::_exit(127);
        ::dup2(err, 2);
        ::dup2(out, 1);
        ::dup2(in, 0);
        if (!workingDirectory.empty() && ::chdir(workingDirectory.c_str()) != 0) ::_exit(127);
        if (oneCpu) {
            cpu_set_t allowed;
            CPU_ZERO(&allowed);
            if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0) ::_exit(127);
            int first = 0;
            while (first < CPU_SETSIZE && !CPU_ISSET(first, &allowed)) ++first;
            if (first == CPU_SETSIZE) ::_exit(127);
            CPU_ZERO(&allowed);
            CPU_SET(first, &allowed);
            if (::sched_setaffinity(0, sizeof allowed, &allowed) != 0) ::_exit(127);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int raw = 0;
    while (::waitpid(pid, &raw, 0) < 0) {
    }
    ProgramResult result;
    if (WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
    result.signaled = WIFSIGNALED(raw);
    result.errorOutput = ReadFile(errPath);
    result.standardOutput = ReadFile(outPath);
    ::unlink(errPath.c_str());
    ::unlink(outPath.c_str());
    ::rmdir(directory.c_str());
    return result;
}
