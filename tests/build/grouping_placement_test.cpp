// Epoch grouping at common gaps, and the placement of line images on the frame.
#include "build/epoch_grouping.h"
#include "build/placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillary::build {
namespace {

std::string Describe(const std::vector<SEpochLines>& epochs)
{
    std::string text;
    for (const SEpochLines& e : epochs) {
        text += "[";
        for (int t = 0; t < 2; ++t) {
            if (t)
                text += " | ";
            text +=
                e.HasLines(t) ? std::to_string(e.first[t]) + "-" + std::to_string(e.last[t]) : "-";
        }
        text += "]";
    }
    return text;
}

TEST(EpochGrouping, Cases)
{
    struct Case {
        const char* name;
        std::vector<SLineTimes> track0, track1;
        double fps;
        const char* epochs;
    };
    const Case cases[] = {
        {"pause of 1 frame joins", {}, {{1000, 2000}, {2050, 3000}}, 25, "[- | 0-1]"},
        {"pause of 5 frames splits", {}, {{1000, 2000}, {2200, 3000}}, 25, "[- | 0-0][- | 1-1]"},
        {"pause of exactly 2 frames joins", {}, {{1000, 2000}, {2080, 3000}}, 25, "[- | 0-1]"},
        {"pause of 3 frames splits", {}, {{1000, 2000}, {2120, 3000}}, 25, "[- | 0-0][- | 1-1]"},
        {"first line at frame 2 has no leading gap",
         {},
         {{80, 1000}, {2000, 3000}},
         25,
         "[- | 0-0][- | 1-1]"},
        {"one track in the first slot", {{0, 1000}, {5000, 6000}}, {}, 25, "[0-0 | -][1-1 | -]"},
        {"a line of the other track bridges the gap",
         {{1000, 2000}, {3000, 4000}},
         {{1500, 3500}},
         25,
         "[0-1 | 0-0]"},
        {"both tracks pause together",
         {{1000, 2000}, {5000, 6000}},
         {{1200, 2100}, {5100, 5900}},
         25,
         "[0-0 | 0-0][1-1 | 1-1]"},
        {"gaps that overlap by only 2 frames do not split",
         {{1000, 2000}, {2400, 3000}},
         {{0, 2320}, {3000, 4000}},
         25,
         "[0-1 | 0-1]"},
        {"tracks in separate times", {{1000, 2000}}, {{5000, 6000}}, 25, "[0-0 | -][- | 0-0]"},
        {"23.976 frames",
         {},
         {{0, 1000}, {1084, 2000}, {2126, 3000}},
         24000.0 / 1001,
         "[- | 0-1][- | 2-2]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Describe(GroupIntoEpochs(c.track0, c.track1, c.fps)), c.epochs);
    }
}

TEST(EpochGrouping, EmptyTracksGiveNoEpochs)
{
    EXPECT_TRUE(GroupIntoEpochs({}, {}, 25).empty());
}

TEST(EpochGrouping, EveryLineLandsInExactlyOneEpochInOrder)
{
    // Two tracks of many lines with pauses of varying lengths.
    std::vector<SLineTimes> tracks[2];
    for (int t = 0; t < 2; ++t) {
        int32_t time = 500 * t;
        for (int i = 0; i < 300; ++i) {
            const int32_t length = 700 + (i * 37 + t * 11) % 900;
            tracks[t].push_back({time, time + length});
            time += length + ((i * 53 + t * 7) % 5) * 45;
        }
    }
    const auto epochs = GroupIntoEpochs(tracks[0], tracks[1], 24000.0 / 1001);
    for (int t = 0; t < 2; ++t) {
        int next = 0;
        for (const SEpochLines& e : epochs) {
            if (!e.HasLines(t))
                continue;
            EXPECT_EQ(e.first[t], next);
            next = e.last[t] + 1;
        }
        EXPECT_EQ(next, 300) << "track " << t;
    }
}

TEST(Placement, Cases)
{
    struct Case {
        const char* name;
        SPlacementInput in;
        SPoint expected;
    };
    // W, H, w, h, first track, mode, alignment, margin, explicit x, explicit y
    const Case cases[] = {
        {"400x60 by shape, centred, second track",
         {1920, 1080, 400, 60, false, 2, 1, 90, 0, 0},
         {760, 930}},
        {"first track at the top", {1920, 1080, 400, 60, true, 0, 1, 90, 0, 0}, {760, 90}},
        {"far side", {1920, 1080, 400, 60, false, 0, 2, 90, 0, 0}, {1328, 930}},
        {"near side", {1920, 1080, 400, 60, false, 0, 0, 90, 0, 0}, {192, 930}},
        {"tall image by shape is vertical",
         {1920, 1080, 60, 400, false, 2, 1, 90, 0, 0},
         {1770, 340}},
        {"square image by shape is vertical",
         {1920, 1080, 100, 100, true, 2, 2, 50, 0, 0},
         {50, 872}},
        {"vertical mode on the first track",
         {1920, 1080, 400, 60, true, 1, 0, 90, 0, 0},
         {90, 108}},
        {"odd mode is vertical", {1920, 1080, 400, 60, false, 7, 1, 90, 0, 0}, {1430, 510}},
        {"both explicit", {1920, 1080, 400, 60, false, 1, 1, 90, 33, 44}, {33, 44}},
        {"explicit x horizontal", {1920, 1080, 400, 60, false, 0, 1, 90, 33, 0}, {33, 930}},
        {"explicit x vertical second track",
         {1920, 1080, 400, 60, false, 1, 1, 90, 33, 0},
         {1487, 510}},
        {"explicit y horizontal second track",
         {1920, 1080, 400, 60, false, 0, 1, 90, 0, 44},
         {760, 976}},
        {"explicit y horizontal first track",
         {1920, 1080, 400, 60, true, 0, 1, 90, 0, 44},
         {760, 44}},
        {"explicit y vertical", {1920, 1080, 400, 60, false, 1, 1, 90, 0, 44}, {1430, 44}},
        {"image wider than the frame", {720, 480, 800, 60, false, 0, 1, 30, 0, 0}, {-40, 390}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlaceLineImage(c.in), c.expected);
    }
}

} // namespace
} // namespace quillary::build
