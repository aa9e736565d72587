// Normalising and checking the times of a source's lines.
#pragma once

#include "sources/sub_line.h"

#include <vector>

namespace quillary::sources {

// At load: sorts the lines by start (stable), closes open ends at the next start, shortens
// one of every run of ten touching long lines so a viewer sees the change, and stretches lines
// shorter than 6 frames at `fps`.
void NormalizeTimes(std::vector<SSubLine>& lines, double fps);

// Whether line `i` has valid timing: it ends after it starts and does not start before the
// previous line ends (touching is fine).
bool IsTimingValid(const std::vector<SSubLine>& lines, size_t i);

} // namespace quillary::sources
