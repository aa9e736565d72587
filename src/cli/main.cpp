// quillary-cli entry point: dispatches to the sub-commands.
#include <cstdio>

int main(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    std::puts("usage: quillary-cli COMMAND ...");
    return 0;
}
