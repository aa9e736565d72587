// The C-library scanning that decides between the parsers' cases.
#include "scripts/formatted_scan.h"

#include <QString>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace quillary::scripts {
namespace {

constexpr const char* kSubRip = "%d%c%d%c%d%c%d --> %d%c%d%c%d%c%d\n";

struct ScanCase {
    const char* input;
    const char* format;
    int count;
    std::vector<int32_t> values; // the first `values.size()` outputs
};

TEST(FormattedScanTest, CountsConvertedFieldsLikeSscanf)
{
    const std::vector<ScanCase> cases{
        {"1", "%d%c", 1, {1}},
        {"12a", "%d%c", 2, {12, 'a'}},
        {"", "%d%c", -1, {}},
        {"   ", "%d", -1, {}},
        {"x", "%d", 0, {}},
        {"-", "%d", 0, {}},
        {"-5", "%d", 1, {-5}},
        {"+7", "%d", 1, {7}},
        {"  42", "%d", 1, {42}},
        {"99999999999", "%d", 1, {std::numeric_limits<int32_t>::max()}},
        {"-99999999999", "%d", 1, {std::numeric_limits<int32_t>::min()}},
        {"00:00:01,500 --> 00:00:02,040", kSubRip, 14, {0, ':', 0, ':', 1, ',', 500, 0}},
        {"00:00:01.500-->00:00:02.040", kSubRip, 14, {0, ':', 0, ':', 1, '.', 500, 0}},
        {"00:00:01,500 -> 00:00:02,040", kSubRip, 7, {0, ':', 0, ':', 1, ',', 500}},
        {"0:0:1,5 --> ", kSubRip, 7, {0, ':', 0, ':', 1, ',', 5}},
        {"{10}{20}", "{%d}{%d}", 2, {10, 20}},
        {"{10}{}", "{%d}{%d}", 1, {10}},
        {"{10}{}", "{%d}{}", 1, {10}},
        {"{", "{%d}{}", -1, {}},
        {"{x}", "{%d}{}", 0, {}},
        {" 0:00:05:Hi", "%d:%d:%d:", 3, {0, 0, 5}},
        {"0 : 00:05", "%d:%d:%d:", 1, {0}},
        {"10,20", "%d%c%d", 3, {10, ',', 20}},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(std::string(c.input) + " / " + c.format);
        std::array<int32_t, 16> out{};
        EXPECT_EQ(ScanFormat(QString::fromLatin1(c.input), c.format, out), c.count);
        for (size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_EQ(out[i], c.values[i]) << "field " << i;
        }
    }
}

TEST(FormattedScanTest, ReadsHexAndFloatFields)
{
    EXPECT_EQ(ScanHex(u"80FF0000"), 0x80FF0000u);
    EXPECT_EQ(ScanHex(u"ff&"), 0xFFu);
    EXPECT_EQ(ScanHex(u"0x1F"), 0x1Fu);
    EXPECT_EQ(ScanHex(u"-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ScanHex(u"123456789ABCDEF"), 0xFFFFFFFFu);
    EXPECT_EQ(ScanHex(u"zz"), std::nullopt);
    EXPECT_EQ(ScanHex(u""), std::nullopt);

    EXPECT_EQ(ScanFloat(u"23.976"), 23.976f);
    EXPECT_EQ(ScanFloat(u" -2.5x"), -2.5f);
    EXPECT_EQ(ScanFloat(u"1e3"), 1000.0f);
    EXPECT_EQ(ScanFloat(u"7,5"), 7.0f);
    EXPECT_TRUE(std::isinf(*ScanFloat(u"1e99")));
    EXPECT_EQ(ScanFloat(u"abc"), std::nullopt);
    EXPECT_EQ(ScanFloat(u"."), std::nullopt);

    EXPECT_EQ(ScanDecimal(u"12abc"), 12);
    EXPECT_EQ(ScanDecimal(u"abc"), std::nullopt);
}

} // namespace
} // namespace quillary::scripts
