// Line breaking over word widths: wrap styles 0-3, forced breaks, words wider than the line and
// spaces at line ends.
#include "layout/line_breaking.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace quillary::layout {
namespace {

// Words written as text: "10" a word 10 wide, "_2" a space 2 wide, "|" a forced line break.
std::vector<SWordBox> ParseWords(const std::string& text)
{
    std::vector<SWordBox> words;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        if (token == "|") {
            words.push_back({0, true, true});
        } else if (token[0] == '_') {
            words.push_back({std::stoi(token.substr(1)), true, false});
        } else {
            words.push_back({std::stoi(token), false, false});
        }
    }
    return words;
}

// Lines written back in the same notation, joined by " / " (an empty line is empty).
std::string DescribeLines(const std::vector<SWordBox>& words, const std::vector<SLineRange>& lines)
{
    std::string out;
    for (size_t l = 0; l < lines.size(); ++l) {
        std::string line;
        int64_t width = 0;
        for (size_t i = lines[l].first; i < lines[l].last; ++i) {
            line += line.empty() ? "" : " ";
            line += words[i].isWhiteSpace ? "_" : "";
            line += std::to_string(words[i].width);
            width += words[i].width;
        }
        EXPECT_EQ(lines[l].width, width) << "line " << l;
        out += (l > 0 ? " / " : "") + line;
    }
    return out;
}

struct Case {
    const char* name;
    const char* words;
    int32_t wrapStyle;
    int32_t available;
    const char* lines;
};

TEST(LineBreaking, BreaksWordsIntoLines)
{
    const Case cases[] = {
        {"everything fits", "10 _2 10", 1, 100, "10 _2 10"},
        {"a group that fits exactly is taken", "30 _5 30", 1, 65, "30 _5 30"},
        {"one unit short breaks", "30 _5 30", 1, 64, "30 / 30"},
        {"end of line fills the first line", "30 _5 30 _5 30", 1, 70, "30 _5 30 / 30"},
        // 70 = 1.5 x 47: two lines of about equal width.
        {"smart, one and a half widths", "10 _2 10 _2 10 _2 10 _2 10 _2 10", 0, 47,
         "10 _2 10 _2 10 / 10 _2 10 _2 10"},
        {"end of line, one and a half widths", "10 _2 10 _2 10 _2 10 _2 10 _2 10", 1, 47,
         "10 _2 10 _2 10 _2 10 / 10 _2 10"},
        // 70 = 2 x 35: total / available + 1 = three lines.
        {"smart, twice the width", "10 _2 10 _2 10 _2 10 _2 10 _2 10", 0, 35,
         "10 _2 10 / 10 _2 10 / 10 _2 10"},
        {"smart keeps the upper line longer", "20 _0 20 _0 20", 0, 50, "20 _0 20 / 20"},
        {"smart lower makes the upper line shorter", "20 _0 20 _0 20", 3, 50, "20 / 20 _0 20"},
        {"no wrapping", "30 _5 30 _5 30", 2, 10, "30 _5 30 _5 30"},
        {"no wrapping breaks at forced breaks", "30 _5 30 | 30", 2, 10, "30 _5 30 / 30"},
        {"unknown wrap style wraps at the end of line", "30 _5 30 _5 30", 5, 70, "30 _5 30 / 30"},
        {"two forced breaks leave an empty line", "10 | | 10", 0, 100, "10 /  / 10"},
        {"a final forced break adds no line", "10 |", 0, 100, "10"},
        {"a forced break right at the start", "| 10", 1, 100, " / 10"},
        {"a forced break starts a new smart paragraph", "40 | 30 _5 30 _5 30", 0, 70,
         "40 / 30 _5 30 / 30"},
        {"word wider than the line stays whole", "200 _5 10", 1, 100, "200 / 10"},
        {"word wider than the line between others", "10 _5 200 _5 10", 0, 100, "10 / 200 / 10"},
        {"a space that does not fit starts the next line", "50 _20 30", 1, 60, "50 / 30"},
        {"space and word that do not fit leave an empty line", "50 _20 50", 1, 60, "50 /  / 50"},
        {"no room: every line takes one group", "10 _2 10", 0, 0, "10 /  / 10"},
        {"spaces at both ends are trimmed", "_3 10 _3", 1, 100, "10"},
        {"no words", "", 0, 100, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<SWordBox> words = ParseWords(c.words);
        EXPECT_EQ(DescribeLines(words, BreakLines(words, c.wrapStyle, c.available)), c.lines);
    }
}

TEST(LineBreaking, WrapWidthOfEachStyle)
{
    struct WidthCase {
        const char* name;
        const char* words;
        int32_t wrapStyle;
        int32_t available;
        int32_t width;
    };
    const WidthCase cases[] = {
        {"smart walks to half of one and a half widths", "20 _0 20 _0 20", 0, 50, 40},
        {"smart lower gives back the last word visited", "20 _0 20 _0 20", 3, 50, 20},
        {"smart lower keeps the last word at the end", "20 _0 20", 3, 50, 40},
        {"smart skips words that would pass the width", "30 60 10", 0, 50, 40},
        {"end of line is the available width", "20 _0 20 _0 20", 1, 50, 50},
        {"none is unlimited", "20", 2, 50, INT32_MAX},
        {"smart with no room is the available width", "20", 0, -8, -8},
    };
    for (const WidthCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WrapWidth(ParseWords(c.words), 0, c.wrapStyle, c.available), c.width);
    }
}

} // namespace
} // namespace quillary::layout
