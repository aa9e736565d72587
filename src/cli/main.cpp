// quillary-cli entry point: dispatches to the sub-commands.
#include "cli/parse_command.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "parse") == 0) {
        return quillary::cli::RunParseCommand(argc - 1, argv + 1);
    }
    std::puts("usage: quillary-cli COMMAND ...");
    return 0;
}
