// Time normalisation at load and the timing check.
#include "sources/line_timing.h"
#include "sources/sub_base.h"
#include "support/recording_sink.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace quillary::sources {
namespace {

constexpr double k23976 = 24000.0 / 1001;

std::vector<SSubLine> Lines(std::vector<std::pair<int32_t, int32_t>> times)
{
    std::vector<SSubLine> lines;
    int index = 0;
    for (const auto& [start, end] : times) {
        SSubLine line;
        line.entryIndex = index++;
        line.start = start;
        line.end = end;
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::pair<int32_t, int32_t>> Times(const std::vector<SSubLine>& lines)
{
    std::vector<std::pair<int32_t, int32_t>> times;
    for (const SSubLine& line : lines)
        times.emplace_back(line.start, line.end);
    return times;
}

TEST(NormalizeTimes, Cases)
{
    using Times_ = std::vector<std::pair<int32_t, int32_t>>;
    struct Case {
        const char* name;
        Times_ in;
        Times_ out;
    };
    const Case cases[] = {
        {"short line stretched to 6 frames", {{1000, 1200}}, {{1000, 1250}}},
        {"6 frames kept", {{1000, 1250}}, {{1000, 1250}}},
        {"last line without end", {{5000, 6000}, {7000, 0}}, {{5000, 6000}, {7000, 7250}}},
        {"open end runs to the next start",
         {{1000, 0}, {3000, 4000}},
         {{1000, 3000}, {3000, 4000}}},
        {"sorted by start, equal starts kept in order",
         {{3000, 4000}, {1000, 2000}, {1000, 2500}},
         {{1000, 2000}, {1000, 2500}, {3000, 4000}}},
        {"stretched line pushes the next start",
         {{1000, 1100}, {1200, 3000}},
         {{1000, 1250}, {1250, 3000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto lines = Lines(c.in);
        NormalizeTimes(lines, k23976);
        EXPECT_EQ(Times(lines), c.out);
    }
}

TEST(NormalizeTimes, StableSortKeepsEntriesWithTheirTimes)
{
    auto lines = Lines({{3000, 4000}, {1000, 2000}, {1000, 2500}});
    NormalizeTimes(lines, k23976);
    EXPECT_EQ(lines[0].entryIndex, 1);
    EXPECT_EQ(lines[1].entryIndex, 2);
    EXPECT_EQ(lines[2].entryIndex, 0);
}

TEST(NormalizeTimes, EveryTenthTouchOfLongLinesGetsAPause)
{
    std::vector<std::pair<int32_t, int32_t>> twelve;
    for (int32_t i = 0; i < 12; ++i)
        twelve.emplace_back(i * 1000, (i + 1) * 1000);

    // Equal durations: the later line starts 209 ms later.
    auto lines = Lines(twelve);
    NormalizeTimes(lines, k23976);
    auto expected = twelve;
    expected[10].first = 10209;
    EXPECT_EQ(Times(lines), expected);

    // Line 9 the longer one: its end moves back instead.
    auto longer = twelve;
    longer[9].first = 8900;
    longer[8].second = 8900;
    lines = Lines(longer);
    NormalizeTimes(lines, k23976);
    expected = longer;
    expected[9].second = 10000 - 209;
    EXPECT_EQ(Times(lines), expected);
}

TEST(NormalizeTimes, ShortTouchingLinesKeepCounting)
{
    // Eleven touching lines of 500 ms (under 626 ms): no pause is made.
    std::vector<std::pair<int32_t, int32_t>> times;
    for (int32_t i = 0; i < 12; ++i)
        times.emplace_back(i * 500, (i + 1) * 500);
    auto lines = Lines(times);
    NormalizeTimes(lines, k23976);
    EXPECT_EQ(Times(lines), times);
}

TEST(TimingCheck, Cases)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int32_t, int32_t>> times;
        std::vector<bool> valid;
    };
    const Case cases[] = {
        {"touching lines", {{0, 1000}, {1000, 2000}}, {true, true}},
        {"1 ms overlap", {{0, 1000}, {999, 2000}}, {true, false}},
        {"empty line", {{0, 1000}, {1500, 1500}}, {true, false}},
        {"reversed line", {{2000, 1000}}, {false}},
        {"gap", {{0, 1000}, {3000, 4000}}, {true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto lines = Lines(c.times);
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(IsTimingValid(lines, i), c.valid[i]) << i;
    }
}

class CImageOnlySource final : public CSubBase {
public:
    using CSubBase::CSubBase;
    bool Load(const QString&) override { return false; }
};

TEST(SubBase, InsertedImageLinesAreInvalidUntilTimed)
{
    test::CRecordingSink sink;
    CImageOnlySource source(sink);
    source.lines = Lines({{0, 1000}, {2000, 3000}});
    EXPECT_EQ(source.InsertImageLine("a.png", {5, 6}, -1), 2);
    EXPECT_EQ(source.InsertImageLine("b.png", {0, 0}, 1), 1);
    EXPECT_EQ(source.InsertImageLine("c.png", {0, 0}, 99), 4);
    ASSERT_EQ(source.lines.size(), 5u);
    EXPECT_EQ(source.lines[1].imagePath, "b.png");
    EXPECT_EQ(source.lines[3].x, 5);
    EXPECT_EQ(source.lines[3].source, &source);
    EXPECT_FALSE(source.lines[1].timingValid);
    EXPECT_EQ(source.ValidateTiming(), 3);
    source.lines[1].start = 1000;
    source.lines[1].end = 1500;
    EXPECT_TRUE(source.ValidateLine(1));
    EXPECT_EQ(source.LineKind(0), 2);
}

TEST(SubBase, RenderingALineWithoutImageFails)
{
    test::CRecordingSink sink;
    CImageOnlySource source(sink);
    source.lines = Lines({{0, 1000}});
    SRenderRequest request;
    EXPECT_FALSE(source.Render(0, request));
    EXPECT_FALSE(source.Render(5, request));
    EXPECT_TRUE(request.bitmap.isNull());
}

} // namespace
} // namespace quillary::sources
