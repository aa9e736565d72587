// Line breaking over word widths: the wrap widths of wrap styles 0-3, forced breaks and the
// trimming of spaces at line ends. Works on widths only, so it needs no fonts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillary::layout {

// What line breaking needs of a word; widths in eighths of a pixel.
struct SWordBox {
    int32_t width = 0;
    bool isWhiteSpace = false;
    bool isLineBreak = false;
};

// Wrap styles of an event.
enum class WrapStyle : int32_t {
    Smart = 0,      // lines of about equal width
    EndOfLine = 1,  // fill each line as far as it goes
    None = 2,       // break only at "\N" (and "\n")
    SmartLower = 3, // like Smart, with the upper lines shorter
};

// Width allowed to the line that starts at word `pos`. `available` is the frame width minus the
// margins; wrap styles outside 0-3 wrap like 1.
[[nodiscard]] int32_t WrapWidth(std::span<const SWordBox> words, size_t pos, int32_t wrapStyle,
                                int32_t available);

// One line: the words [first, last) it keeps after the spaces at both ends are trimmed (first ==
// last for an empty line) and the sum of their widths.
struct SLineRange {
    size_t first = 0;
    size_t last = 0;
    int64_t width = 0;

    friend bool operator==(const SLineRange&, const SLineRange&) = default;
};

// Takes the next line from word `pos` on and moves `pos` past it (and past a line break that
// ends it). A line always takes its first group of words (a run of spaces, or of non-spaces),
// then further groups while they fit the wrap width.
[[nodiscard]] SLineRange NextLine(std::span<const SWordBox> words, size_t& pos, int32_t wrapStyle,
                                  int32_t available);

// Every line of the words.
[[nodiscard]] std::vector<SLineRange> BreakLines(std::span<const SWordBox> words, int32_t wrapStyle,
                                                 int32_t available);

} // namespace quillary::layout
