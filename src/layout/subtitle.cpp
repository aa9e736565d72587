// CSubtitle: one laid-out event, its words broken into lines of runs, with the event's effects.
#include "layout/subtitle.h"

#include "layout/line_breaking.h"

namespace quillary::layout {

void CSubtitle::CreateLines(int32_t frameWidth, int32_t marginLeft, int32_t marginRight)
{
    std::vector<SWordBox> boxes;
    boxes.reserve(words.size());
    for (const auto& word : words) {
        boxes.push_back({word->width, word->isWhiteSpace, word->isLineBreak});
    }
    const auto available =
        static_cast<int32_t>(static_cast<int64_t>(frameWidth) - marginLeft - marginRight);
    lines.clear();
    for (const SLineRange& range : BreakLines(boxes, wrapStyle, available)) {
        CLine& line = lines.emplace_back();
        for (size_t i = range.first; i < range.last; ++i) {
            line.AppendRun(*words[i]);
        }
    }
}

} // namespace quillary::layout
