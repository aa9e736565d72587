// The sub-commands of quillary-cli. Each takes its own arguments (argv[0] is the command name)
// and returns the process exit status.
#pragma once

namespace quillary::cli {

int RunBuildCommand(int argc, char** argv);
int RunDumpCommand(int argc, char** argv);
int RunDemoCommand(int argc, char** argv);
// Returns 0 when the script was read, 1 when it could not be, 2 on a usage error.
int RunParseCommand(int argc, char** argv);

} // namespace quillary::cli
