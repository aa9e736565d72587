// The sub-commands of quillary-cli. Each takes its own arguments (argv[0] is the command name)
// and returns the process exit status.
#pragma once

namespace quillary::cli {

int RunDumpCommand(int argc, char** argv);
int RunDemoCommand(int argc, char** argv);

} // namespace quillary::cli
