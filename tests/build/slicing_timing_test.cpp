// The two-track sweep, the decoder timing model and the fade steps.
#include "build/decoder_timing.h"
#include "build/fade_steps.h"
#include "build/frame_clock.h"
#include "build/slicing.h"
#include "pgs/object_coder.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillary::build {
namespace {

std::string Describe(const std::vector<SSlice>& slices)
{
    std::string text;
    for (const SSlice& s : slices) {
        text += "[" + std::to_string(s.image[0]) + "," + std::to_string(s.image[1]) + " " +
                std::to_string(s.startFrame) + "-" + std::to_string(s.endFrame) + "]";
    }
    return text;
}

TEST(Slicing, SweepBranches)
{
    struct Case {
        const char* name;
        std::vector<STimedImage> track0, track1;
        const char* slices;
    };
    // Rate 25: 40 ms a frame.
    const Case cases[] = {
        {"one image", {}, {{1000, 3000}}, "[-1,0 25-75]"},
        {"one image on track 0", {{1000, 3000}}, {}, "[0,-1 25-75]"},
        {"shorter than 5 frames is dropped", {}, {{1000, 1160}}, ""},
        {"exactly 5 frames is kept", {}, {{1000, 1200}}, "[-1,0 25-30]"},
        {"separate images", {{1000, 2000}}, {{3000, 4000}}, "[0,-1 25-50][-1,0 75-100]"},
        {"overlap under 2 frames is cut from the earlier",
         {{1000, 2000}},
         {{1980, 3000}},
         "[0,-1 25-50][-1,0 50-75]"},
        {"later image ends inside the earlier one",
         {{1000, 4000}},
         {{2000, 3000}},
         "[0,-1 25-50][0,0 50-75][0,-1 75-100]"},
        {"starts within 2 frames are joined, later ends inside",
         {{1000, 4000}},
         {{1040, 3000}},
         "[0,0 25-75][0,-1 75-100]"},
        {"later image outlasts the earlier one",
         {{1000, 3000}},
         {{2000, 4000}},
         "[0,-1 25-50][0,0 50-75][-1,0 75-100]"},
        {"equal starts, track 1 ends first",
         {{1000, 4000}},
         {{1000, 3000}},
         "[0,0 25-75][0,-1 75-100]"},
        {"equal starts and ends", {{1000, 3000}}, {{1000, 3000}}, "[0,0 25-75]"},
        {"lone part before a join is kept however short",
         {{1000, 4000}},
         {{1080, 3000}},
         "[0,-1 25-27][0,0 27-75][0,-1 75-100]"},
        {"two on one track across one on the other",
         {{1000, 5000}},
         {{1500, 2500}, {3000, 4000}},
         "[0,-1 25-38][0,0 38-63][0,-1 63-75][0,1 75-100][0,-1 100-125]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Describe(SliceTimeline(c.track0, c.track1, 25)), c.slices);
    }
}

TEST(FrameClock, TicksAndFrames)
{
    EXPECT_EQ(TicksOfFrame(25, 25), 90000);
    EXPECT_EQ(TicksOfFrame(75, 25), 75 * 3600);
    EXPECT_EQ(TicksOfFrame(24, 23.976), 90090);
    EXPECT_EQ(FrameOfMs(1000, 23.976), 24);
    EXPECT_EQ(FrameOfMs(0xFFFFFFFF, 25), 107374182);
}

TEST(DecoderTiming, PlaneAndDecode)
{
    EXPECT_EQ(PlaneTicks(1920, 1080), 5832);
    EXPECT_EQ(DecodeTicks(1000, 100), 563);
    EXPECT_EQ(PlaneTicks(1000, 100), 282);
    EXPECT_EQ(PlaneTicks(0, 0), 0);
}

// A display set showing objects of the given sizes in windows of the same sizes.
std::unique_ptr<pgs::CDsData> DisplaySet(uint8_t state, std::vector<std::pair<int, int>> objects,
                                         bool sameWindow = false)
{
    auto ds = std::make_unique<pgs::CDsData>();
    ds->compositionState = state;
    ds->pcs = std::make_unique<pgs::CPcs>();
    ds->pcs->videoDescriptor = {1920, 1080, 1, 0};
    ds->wds = std::make_unique<pgs::CWds>();
    for (size_t i = 0; i < objects.size(); ++i) {
        const auto [w, h] = objects[i];
        const uint8_t window = sameWindow ? 0 : uint8_t(i);
        if (!ds->wds->FindWindow(window))
            ds->wds->AddWindow(window, 0, int(i) * 200, w, int(i) * 200 + h);
        ds->pcs->AddCompositionObject(uint16_t(i), window, false, 0, uint16_t(i * 200));
        std::vector<uint8_t> pixels(size_t(w) * h, 1);
        EXPECT_TRUE(pgs::CreateObjectSegments(*ds, {w, h, w, pixels.data()}, uint16_t(i), 0));
    }
    ds->AddPaletteSegment();
    return ds;
}

TEST(DecoderTiming, DecodeDurations)
{
    struct Case {
        const char* name;
        std::unique_ptr<pgs::CDsData> ds;
        pgs::Timestamp90k expected;
    };
    Case cases[] = {
        // 5832 plane, object wait max(0, 563 - 5832) = 0, window 282.
        {"epoch start, 1000x100", DisplaySet(2, {{1000, 100}}), 5832 + 282},
        // No plane initialisation: the object waits its full 563, then its window 282.
        {"acquisition point, 1000x100", DisplaySet(1, {{1000, 100}}), 563 + 282},
        // Two objects in two windows: wait 563, first window 282, second wait max(0, 1125 -
        // 845) = 280, second window plane(1000, 200) = 563.
        {"two objects, two windows", DisplaySet(0, {{1000, 100}, {1000, 200}}),
         563 + 282 + 280 + 563},
        // Two objects in one window: no first-window drawing.
        {"two objects, one window", DisplaySet(0, {{1000, 100}, {1000, 200}}, true),
         563 + (1125 - 563) + 282},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeDuration(*c.ds), c.expected);
    }

    // Windows that show nothing are initialised instead.
    auto clear = DisplaySet(0, {});
    clear->wds->AddWindow(0, 0, 0, 1000, 100);
    clear->wds->AddWindow(1, 0, 200, 500, 300);
    EXPECT_EQ(DecodeDuration(*clear), 282 + 141);
}

TEST(DecoderTiming, SegmentStamps)
{
    auto ds = DisplaySet(2, {{1000, 100}});
    const uint32_t pts = 90000;
    const uint32_t dts = DecodeTimestamp(pts, DecodeDuration(*ds));
    EXPECT_EQ(dts, 90000u - 6114);
    StampDisplaySet(*ds, pts, dts);
    EXPECT_EQ(ds->pcs->pts, pts);
    EXPECT_EQ(ds->pcs->dts, dts);
    EXPECT_EQ(ds->wds->dts, dts);
    EXPECT_EQ(ds->wds->pts, pts - 282);
    EXPECT_EQ(ds->palettes[0]->pts, dts);
    EXPECT_EQ(ds->palettes[0]->dts, 0u);
    EXPECT_EQ(ds->objects[0]->dts, dts);
    EXPECT_EQ(ds->objects[0]->pts, dts + 563);
    EXPECT_EQ(ds->es->pts, dts + 563);
    EXPECT_EQ(ds->es->dts, 0u);
}

TEST(DecoderTiming, FragmentsShareTheirObjectsTimesAndWindowWaitsForTheDts)
{
    // 1920 x 120 alternating pixels: several fragments.
    auto ds = std::make_unique<pgs::CDsData>();
    ds->pcs = std::make_unique<pgs::CPcs>();
    ds->wds = std::make_unique<pgs::CWds>();
    ds->wds->AddWindow(0, 0, 0, 1920, 1080);
    std::vector<uint8_t> pixels(1920 * 120);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i % 2);
    ASSERT_TRUE(pgs::CreateObjectSegments(*ds, {1920, 120, 1920, pixels.data()}, 0, 0));
    ASSERT_GT(ds->objects.size(), 2u);
    StampDisplaySet(*ds, 10000, 9000);
    for (const auto& ods : ds->objects) {
        EXPECT_EQ(ods->dts, 9000u);
        EXPECT_EQ(ods->pts, 9000u + DecodeTicks(1920, 120));
    }
    // The full-frame window would be drawn before the DTS: it is held at the DTS.
    EXPECT_EQ(ds->wds->pts, 9000u);
}

TEST(DecoderTiming, EndSegmentWithoutPalettesOrObjects)
{
    auto clear = std::make_unique<pgs::CDsData>();
    clear->pcs = std::make_unique<pgs::CPcs>();
    StampDisplaySet(*clear, 5000, 4000);
    EXPECT_EQ(clear->es->pts, 5000u);
    clear->wds = std::make_unique<pgs::CWds>();
    clear->wds->AddWindow(0, 0, 0, 100, 100);
    StampDisplaySet(*clear, 5000, 4000);
    EXPECT_EQ(clear->es->pts, 5000u - 29);
}

TEST(DecoderTiming, DtsBelowZeroIsClampedNotWrapped)
{
    EXPECT_EQ(DecodeTimestamp(1000, 5832), 0u);
    EXPECT_EQ(DecodeTimestamp(5832, 5832), 0u);
    EXPECT_EQ(DecodeTimestamp(90000, 5832), 84168u);
}

std::string Describe(const std::vector<SFadeStep>& steps, int32_t start, double rate)
{
    std::string text;
    for (const SFadeStep& s : steps) {
        // Back from ticks to the frame offset.
        int64_t frame = start;
        while (TicksOfFrame(frame, rate) < s.time)
            ++frame;
        text += std::to_string(frame - start);
        if (s.paletteStep)
            text += ":" + std::to_string(s.alpha);
        else if (s.noComposition)
            text += ":clear";
        else
            text += ":hold";
        text += " ";
    }
    return text;
}

TEST(FadeSteps, Cases)
{
    struct Case {
        const char* name;
        int in, out;
        int32_t length;
        bool last;
        const char* steps;
    };
    const Case cases[] = {
        {"10 % and 10 %", 10, 10, 100, true,
         "0:0 2:51 4:102 6:153 8:204 10:255 12:hold 90:255 92:204 94:153 96:102 98:50 "
         "100:clear "},
        {"0 % and 0 %", 0, 0, 100, true, "0:255 2:hold 100:clear "},
        {"not the last slice", 0, 0, 100, false, "0:255 2:hold "},
        {"70 % and 50 %", 70, 50, 100, false,
         "0:0 2:7 4:14 6:21 8:29 10:36 12:43 14:51 16:58 18:65 20:72 22:80 24:87 26:94 28:102 "
         "30:109 32:116 34:123 36:131 38:138 40:145 42:153 44:160 46:167 48:174 50:182 52:189 "
         "54:196 56:204 58:211 60:218 62:225 64:233 66:240 68:247 70:255 72:255 74:236 76:218 "
         "78:200 80:182 82:163 84:145 86:127 88:109 90:91 92:72 94:54 96:36 98:18 "},
        {"odd fade-in end", 25, 0, 20, false, "0:0 2:102 4:204 6:hold "},
        {"percentages out of range are clamped", 150, -20, 10, true,
         "0:0 2:51 4:102 6:153 8:204 10:clear "},
        {"a whole-slice fade-in still clears the last slice", 100, 0, 10, true,
         "0:0 2:51 4:102 6:153 8:204 10:clear "},
        {"a whole-slice fade-in of odd length", 100, 0, 9, true,
         "0:0 2:56 4:113 6:170 8:226 9:clear "},
        {"negative fade-in is clamped", -30, 0, 10, true, "0:255 2:hold 10:clear "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SFadeSettings settings{1, c.in, c.out};
        const SFadeTiming timing = FadeTimingOf(&settings, c.length);
        const int32_t start = 250;
        const auto steps = BuildFadeSteps(25, timing, start, start + c.length, c.last);
        EXPECT_EQ(Describe(steps, start, 25), c.steps);
    }
}

TEST(FadeSteps, TimingWithoutEnabledSettingsShowsTheWholeSlice)
{
    const SFadeSettings off{0, 10, 10};
    for (const SFadeSettings* settings : {static_cast<const SFadeSettings*>(nullptr), &off}) {
        const SFadeTiming timing = FadeTimingOf(settings, 80);
        EXPECT_EQ(timing.fadeInEnd, 0);
        EXPECT_EQ(timing.fadeOutStart, 80);
        EXPECT_EQ(timing.length, 80);
    }
}

} // namespace
} // namespace quillary::build
