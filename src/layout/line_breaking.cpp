// Line breaking over word widths: the wrap widths of wrap styles 0-3, forced breaks and the
// trimming of spaces at line ends.
#include "layout/line_breaking.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <limits>

namespace quillary::layout {

int32_t WrapWidth(std::span<const SWordBox> words, size_t pos, int32_t wrapStyle, int32_t available)
{
    const auto style = static_cast<WrapStyle>(wrapStyle);
    if (style == WrapStyle::None) {
        return std::numeric_limits<int32_t>::max();
    }
    if ((style != WrapStyle::Smart && style != WrapStyle::SmartLower) || available <= 0) {
        return available;
    }
    // 1. Width of the paragraph, up to the next forced break.
    int64_t total = 0;
    for (size_t i = pos; i < words.size() && !words[i].isLineBreak; ++i) {
        total += words[i].width;
    }
    // 2. The target: the paragraph split into (total / available + 1) lines of equal width.
    const int64_t target = total / (std::llabs(total) / available + 1);
    // 3. Walk the words while short of the target, taking those that keep the line inside the
    //    available width; the line will break at the end of the words taken.
    int64_t width = 0;
    size_t i = pos;
    for (; i < words.size() && width < target; ++i) {
        if (std::llabs(width + words[i].width) < available) {
            width += words[i].width;
        }
    }
    // 4. Style 3 gives the last word visited to a lower line.
    if (style == WrapStyle::SmartLower && i < words.size() && i > pos) {
        width -= words[i - 1].width;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(width, INT32_MIN, INT32_MAX));
}

SLineRange NextLine(std::span<const SWordBox> words, size_t& pos, int32_t wrapStyle,
                    int32_t available)
{
    const int64_t wrapWidth = WrapWidth(words, pos, wrapStyle, available);
    SLineRange line{pos, pos, 0};
    while (pos < words.size()) {
        if (words[pos].isLineBreak) {
            ++pos;
            break;
        }
        // A group: this word and the following ones of the same kind (space or not).
        size_t end = pos;
        int64_t groupWidth = 0;
        while (end < words.size() && !words[end].isLineBreak &&
               words[end].isWhiteSpace == words[pos].isWhiteSpace) {
            groupWidth += words[end].width;
            ++end;
        }
        if (line.width + groupWidth > wrapWidth && line.last > line.first) {
            break;
        }
        line.last = end;
        line.width += groupWidth;
        pos = end;
    }
    // Spaces at either end of a line are dropped.
    while (line.first < line.last && words[line.first].isWhiteSpace) {
        line.width -= words[line.first++].width;
    }
    while (line.last > line.first && words[line.last - 1].isWhiteSpace) {
        line.width -= words[--line.last].width;
    }
    if (line.first == line.last) {
        line.first = line.last = pos;
        line.width = 0;
    }
    return line;
}

std::vector<SLineRange> BreakLines(std::span<const SWordBox> words, int32_t wrapStyle,
                                   int32_t available)
{
    std::vector<SLineRange> lines;
    size_t pos = 0;
    while (pos < words.size()) {
        lines.push_back(NextLine(words, pos, wrapStyle, available));
    }
    return lines;
}

} // namespace quillary::layout
