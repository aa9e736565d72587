// Running quillary-cli from a test: its exit status, stdout and stderr.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillary::test {

struct SRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the command line `quillary-cli ARGUMENTS` (QUILLARY_CLI is the program's path; the
// arguments are given to the shell as they stand).
inline SRun RunCli(const std::string& arguments)
{
    // A file of its own for each test and process: tests run in parallel.
    const std::string errPath = testing::TempDir() + "quillary_cli_stderr_" +
                                testing::UnitTest::GetInstance()->current_test_info()->name() +
                                "_" + std::to_string(getpid()) + ".txt";
    const std::string command =
        std::string("'") + QUILLARY_CLI + "' " + arguments + " 2>'" + errPath + "'";
    SRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadText(errPath);
    std::remove(errPath.c_str());
    return run;
}

} // namespace quillary::test
