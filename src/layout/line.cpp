// CLine: one row of a laid-out event, as runs of words of one style.
#include "layout/line.h"

namespace quillary::layout {

void CLine::AppendRun(const CWord& word)
{
    width += word.width;
    if (!words.empty() && words.back()->Append(word)) {
        return;
    }
    words.push_back(word.Copy());
}

} // namespace quillary::layout
