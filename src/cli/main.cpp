// quillary-cli entry point: dispatches to the sub-commands.
#include "cli/commands.h"

#include <cstdio>
#include <cstring>

namespace {

void PrintUsage(std::FILE* to)
{
    std::fputs("usage: quillary-cli COMMAND [ARGS...]\n"
               "\n"
               "Turns subtitles into Blu-ray Presentation Graphics (PG) streams.\n"
               "\n"
               "commands:\n"
               "  build INPUT -o OUTPUT.sup|OUTPUT.pes\n"
               "                    build a subtitle script (.srt, .ssa, .ass) into a PG stream\n"
               "  dump FILE.sup     list every segment of a .sup stream with its PTS and DTS\n"
               "  demo OUT.sup      write a small demonstration stream (a .pes name writes\n"
               "                    a .pes file with its .mui index)\n"
               "  parse FILE        open a subtitle script (or an http:// address) and print\n"
               "                    its format, encoding, styles and entries\n"
               "\n"
               "Run 'quillary-cli COMMAND --help' for the options of a command.\n",
               to);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0 ||
        std::strcmp(command, "help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (std::strcmp(command, "build") == 0)
        return quillary::cli::RunBuildCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "dump") == 0)
        return quillary::cli::RunDumpCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "demo") == 0)
        return quillary::cli::RunDemoCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "parse") == 0)
        return quillary::cli::RunParseCommand(argc - 1, argv + 1);
    std::fprintf(stderr, "quillary-cli: unknown command '%s'\n\n", command);
    PrintUsage(stderr);
    return 2;
}
