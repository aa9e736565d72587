// SetupStringFormat: the flags of a word's format for horizontal and vertical fonts.
#include "textrender/string_format.h"

#include <gtest/gtest.h>

namespace quillary::textrender {
namespace {

TEST(SetupStringFormat, Flags)
{
    struct Case {
        const char* fontName;
        bool leftToRight;
        bool vertical;
        bool rightToLeft;
    };
    const Case cases[] = {
        {"Arial", true, false, false},
        {"Arial", false, false, false}, // reading order leaves horizontal text alone
        {"@Arial", true, true, false},
        {"@Arial", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fontName) + (c.leftToRight ? " ltr" : " rtl"));
        CTextTmp tmp;
        tmp.fontName = c.fontName;
        tmp.leftToRight = c.leftToRight;
        tmp.lineAlignment = ELineAlignment::kFar; // rows, not the format of a word
        const SStringFormat format = SetupStringFormat(tmp);
        EXPECT_TRUE(format.lineLimit);
        EXPECT_TRUE(format.noFitBlackBox);
        EXPECT_EQ(format.vertical, c.vertical);
        EXPECT_EQ(format.rightToLeft, c.rightToLeft);
        EXPECT_EQ(format.alignment, EStringAlignment::kNear);
        EXPECT_EQ(format.lineAlignment, EStringAlignment::kNear);
    }
}

} // namespace
} // namespace quillary::textrender
