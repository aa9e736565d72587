// CSubBuilder: the lines of up to two sources into one PG stream file.
#pragma once

#include "build/build_options.h"

namespace quillary::build {

enum class BuildResult : int { Written = 0, Cancelled = 1, Failed = 2 };

class CSubBuilder {
public:
    // Creates the output, splits the lines into epochs at gaps both tracks share, renders and
    // places every line (track 0 at the top or left, track 1 at the bottom or right), composes
    // and writes each epoch as soon as it is complete, and closes the output. On cancel and on
    // failure both output files are deleted. Progress is reported before each line.
    [[nodiscard]] static BuildResult Build(const SBuildOptions& options,
                                           const SBuildTrack (&tracks)[2]);
};

} // namespace quillary::build
