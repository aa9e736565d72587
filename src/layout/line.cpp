// CLine: one row of a laid-out event, as runs of words of one style.
#include "layout/line.h"

#include <algorithm>
#include <climits>

namespace quillary::layout {

void CLine::AppendRun(const CWord& word)
{
    width = static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{width} + word.width, INT32_MIN, INT32_MAX));
    if (!words.empty() && words.back()->Append(word)) {
        return;
    }
    words.push_back(word.Copy());
}

} // namespace quillary::layout
