// CLine: one row of a laid-out event, as runs of words of one style.
#pragma once

#include "layout/word.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quillary::layout {

class CLine {
public:
    // Adds a copy of `word`, joined onto the last run when it can be (same style and karaoke
    // state, both text).
    void AppendRun(const CWord& word);

    // The runs; neighbours differ in style or karaoke state, or one of them is a drawing.
    std::vector<std::unique_ptr<CWord>> words;
    int32_t width = 0; // sum of the runs' widths, eighths of a pixel
};

} // namespace quillary::layout
