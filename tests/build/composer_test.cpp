// The composer, checked on the stream it writes: display sets, states, objects and versions,
// windows, palettes and time stamps.
#include "build/composer.h"
#include "build/decoder_timing.h"
#include "pgs/sup_reader.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace quillary::build {
namespace {

// A display set as read back from the stream.
struct SReadSet {
    int state = -1;
    uint32_t pts = 0;
    uint32_t dts = 0;
    bool paletteUpdate = false;
    std::string shows;    // "id@window" of each composition object
    int windows = -1;     // -1: no window definition
    std::string objects;  // "id.version" of each object's first fragment
    std::string palettes; // version of each palette segment
};

std::vector<SReadSet> ReadBack(const std::vector<uint8_t>& bytes)
{
    std::vector<SReadSet> sets;
    pgs::CSupReader reader(bytes);
    pgs::SSupEntry entry;
    while (reader.Next(entry)) {
        const pgs::CSegmentBase& segment = *entry.segment;
        switch (segment.Type()) {
        case pgs::SegmentType::Pcs: {
            const auto& pcs = static_cast<const pgs::CPcs&>(segment);
            SReadSet set;
            set.state = pcs.compositionState;
            set.pts = pcs.pts;
            set.dts = pcs.dts;
            set.paletteUpdate = pcs.paletteUpdateFlag;
            for (const auto& object : pcs.objects)
                set.shows +=
                    std::to_string(object.objectId) + "@" + std::to_string(object.windowId) + " ";
            sets.push_back(set);
            break;
        }
        case pgs::SegmentType::Wds:
            sets.back().windows = int(static_cast<const pgs::CWds&>(segment).windows.size());
            break;
        case pgs::SegmentType::Pds:
            sets.back().palettes +=
                std::to_string(static_cast<const pgs::CPds&>(segment).paletteVersion) + " ";
            break;
        case pgs::SegmentType::Ods: {
            const auto& ods = static_cast<const pgs::COds&>(segment);
            if (ods.firstInSequence)
                sets.back().objects +=
                    std::to_string(ods.objectId) + "." + std::to_string(ods.objectVersion) + " ";
            break;
        }
        case pgs::SegmentType::End:
            break;
        }
    }
    EXPECT_FALSE(reader.Failed()) << reader.ErrorText();
    return sets;
}

QImage TextLike(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(0);
    for (int y = 2; y < h - 2; ++y)
        for (int x = 2; x < w - 2; ++x)
            image.setPixel(x, y, (x / 3 + y) % 4 ? colour : 0xFF000000);
    return image;
}

SLineImage Line(int32_t start, int32_t end, QRect rect, QRgb colour = 0xFFFFFFFF)
{
    SLineImage image;
    image.start = start;
    image.end = end;
    image.rect = rect;
    image.bitmap = TextLike(rect.width(), rect.height(), colour);
    return image;
}

SComposerInput Input25()
{
    SComposerInput input;
    input.frameWidth = 1920;
    input.frameHeight = 1080;
    input.frameRateCode = 3;
    input.rate = 25;
    return input;
}

std::vector<uint8_t> Compose(SComposerInput& input, uint16_t& number,
                             ComposeResult expected = ComposeResult::Written)
{
    pgs::CMemorySink sink;
    pgs::CStreamWriter writer(sink, nullptr, pgs::OutputKind::Sup);
    EXPECT_EQ(ComposeEpoch(input, number, writer), expected);
    return sink.Bytes();
}

TEST(Composer, OneLineGivesEpochStartAndClear)
{
    SComposerInput input = Input25();
    input.tracks[1].push_back(Line(1000, 3000, QRect(460, 930, 1000, 100)));
    uint16_t number = 7;
    const auto sets = ReadBack(Compose(input, number));
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(number, 9);
    EXPECT_EQ(sets[0].state, 2);
    EXPECT_EQ(sets[0].pts, 90000u);
    // Plane 5832, no wait for the object (its 563 ticks are covered), window 282.
    EXPECT_EQ(sets[0].dts, 90000u - 5832 - 282);
    EXPECT_EQ(sets[0].shows, "0@0 ");
    EXPECT_EQ(sets[0].windows, 1);
    EXPECT_EQ(sets[0].objects, "0.0 ");
    EXPECT_EQ(sets[0].palettes, "0 ");
    EXPECT_EQ(sets[1].state, 0);
    EXPECT_EQ(sets[1].pts, 75u * 3600);
    EXPECT_EQ(sets[1].shows, "");
    EXPECT_EQ(sets[1].windows, 1);
    EXPECT_EQ(sets[1].objects, "");
    EXPECT_EQ(sets[1].palettes, "");
}

TEST(Composer, TwoTracksResendEveryShownObjectWithNewVersions)
{
    SComposerInput input = Input25();
    input.tracks[0].push_back(Line(1000, 5000, QRect(560, 90, 800, 80), 0xFFFFFF00));
    input.tracks[1].push_back(Line(1500, 2500, QRect(460, 900, 1000, 100)));
    input.tracks[1].push_back(Line(3000, 4000, QRect(660, 920, 600, 80)));
    uint16_t number = 0;
    const auto sets = ReadBack(Compose(input, number));
    // Slices: t0 alone, both, t0 alone, both (second line), t0 alone; then the clear.
    ASSERT_EQ(sets.size(), 6u);
    const char* shows[] = {"0@0 ", "0@0 1@1 ", "0@0 ", "0@0 2@1 ", "0@0 ", ""};
    const char* objects[] = {"0.0 ", "0.1 1.0 ", "0.2 ", "0.3 2.0 ", "0.4 ", ""};
    const uint32_t frames[] = {25, 38, 63, 75, 100, 125};
    for (size_t i = 0; i < sets.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sets[i].state, i == 0 ? 2 : 0);
        EXPECT_EQ(sets[i].shows, shows[i]);
        EXPECT_EQ(sets[i].objects, objects[i]);
        EXPECT_EQ(sets[i].windows, 2);
        EXPECT_EQ(sets[i].palettes, i + 1 < sets.size() ? "0 " : "");
        EXPECT_EQ(sets[i].pts, frames[i] * 3600);
        EXPECT_LT(sets[i].dts, sets[i].pts);
    }
    EXPECT_EQ(number, 6);
}

TEST(Composer, OneWindowLaterSlicesAreAcquisitionPoints)
{
    SComposerInput input = Input25();
    input.tracks[1].push_back(Line(1000, 2000, QRect(460, 930, 1000, 100)));
    input.tracks[1].push_back(Line(2000, 3000, QRect(560, 930, 800, 100)));
    uint16_t number = 0;
    const auto sets = ReadBack(Compose(input, number));
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].state, 2);
    EXPECT_EQ(sets[1].state, 1);
    EXPECT_EQ(sets[1].objects, "1.0 ");
    EXPECT_EQ(sets[2].state, 0);
}

TEST(Composer, FadedLineBecomesPaletteUpdates)
{
    const SFadeSettings fade{1, 10, 10};
    SComposerInput input = Input25();
    SLineImage line = Line(1000, 5000, QRect(460, 930, 1000, 100)); // 100 frames
    line.fade = &fade;
    input.tracks[1].push_back(line);
    uint16_t number = 0;
    const auto sets = ReadBack(Compose(input, number));
    // 6 fade-in steps, a hold, 5 fade-out steps, the clear.
    ASSERT_EQ(sets.size(), 13u);
    EXPECT_EQ(sets[0].state, 2);
    EXPECT_EQ(sets[0].objects, "0.0 ");
    EXPECT_EQ(sets[0].windows, 1);
    EXPECT_EQ(sets[0].palettes, "0 ");
    EXPECT_FALSE(sets[0].paletteUpdate);
    for (size_t i = 1; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sets[i].state, 0);
        EXPECT_TRUE(sets[i].paletteUpdate);
        EXPECT_EQ(sets[i].windows, -1);
        EXPECT_EQ(sets[i].objects, "");
        EXPECT_EQ(sets[i].palettes, std::to_string(i) + " ");
        EXPECT_EQ(sets[i].pts, (25 + 2 * i) * 3600);
        // A palette update waits for the object's decode and its window's drawing.
        EXPECT_EQ(sets[i].dts, sets[i].pts - DecodeTicks(1000, 100) - PlaneTicks(1000, 100));
    }
    EXPECT_EQ(sets[6].shows, "0@0 "); // the hold
    EXPECT_EQ(sets[6].windows, 1);
    EXPECT_EQ(sets[6].palettes, "");
    EXPECT_EQ(sets[7].palettes, "6 ");
    EXPECT_EQ(sets[12].shows, ""); // the clear
    EXPECT_EQ(sets[12].pts, 125u * 3600);
}

TEST(Composer, FadesNeedTheirOwnWindow)
{
    const SFadeSettings fade{1, 10, 10};
    SComposerInput input = Input25();
    SLineImage faded = Line(1000, 5000, QRect(460, 930, 1000, 100));
    faded.fade = &fade;
    input.tracks[1].push_back(faded);
    input.tracks[0].push_back(Line(1000, 5000, QRect(460, 90, 1000, 100)));
    uint16_t number = 0;
    const auto sets = ReadBack(Compose(input, number));
    ASSERT_EQ(sets.size(), 2u); // still path: one slice and the clear
    EXPECT_FALSE(sets[0].paletteUpdate);
}

TEST(Composer, UnusableEpochsWriteNothing)
{
    struct Case {
        const char* name;
        SLineImage line;
    };
    SLineImage noBitmap = Line(1000, 3000, QRect(0, 0, 10, 10));
    noBitmap.bitmap = QImage();
    Case cases[] = {
        {"no bitmap", noBitmap},
        {"empty rectangle", Line(1000, 3000, QRect(0, 0, 0, 10))},
        {"negative start", Line(-5, 3000, QRect(0, 0, 10, 10))},
        {"end before start", Line(3000, 1000, QRect(0, 0, 10, 10))},
        {"shorter than 5 frames", Line(1000, 1150, QRect(0, 0, 10, 10))},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        SComposerInput input = Input25();
        input.tracks[1].push_back(c.line);
        uint16_t number = 0;
        EXPECT_TRUE(Compose(input, number, ComposeResult::Skipped).empty());
        EXPECT_EQ(number, 0);
    }
}

} // namespace
} // namespace quillary::build
