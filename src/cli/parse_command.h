// quillary-cli parse: opens a script and prints what the engine read from it.
#pragma once

namespace quillary::cli {

// argv[0] is "parse". Returns 0 when the script was read, 1 when it could not be, 2 on a usage
// error.
int RunParseCommand(int argc, char** argv);

} // namespace quillary::cli
