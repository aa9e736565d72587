// The five segment kinds: byte layouts, round trips, refusals and parsing of bad payloads.
#include "pgs/ergb_palette.h"
#include "pgs/es.h"
#include "pgs/frame_rate.h"
#include "pgs/ods.h"
#include "pgs/pcs.h"
#include "pgs/pds.h"
#include "pgs/wds.h"
#include "support/hex_bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quillary::pgs {
namespace {

using test::Bytes;
using test::SameBytes;

std::vector<uint8_t> Written(CSegmentBase& segment)
{
    std::vector<uint8_t> buffer(kMaxSegmentSize);
    buffer.resize(segment.Write(buffer.data()));
    return buffer;
}

// Writes, parses into a fresh segment of the same kind, writes again: the bytes must agree.
template <class T> std::vector<uint8_t> RoundTrip(T& segment)
{
    const std::vector<uint8_t> first = Written(segment);
    T parsed;
    parsed.segmentLength = static_cast<uint16_t>(first.size() - kSegmentHeaderSize);
    const auto consumed = parsed.Parse(std::span(first).subspan(kSegmentHeaderSize));
    EXPECT_EQ(consumed, std::optional<size_t>(first.size() - kSegmentHeaderSize));
    const std::vector<uint8_t> second = Written(parsed);
    EXPECT_TRUE(SameBytes(second, first));
    return first;
}

CPcs SamplePcs()
{
    CPcs pcs;
    pcs.videoDescriptor = {1920, 1080, 1, 0};
    pcs.compositionNumber = 0x1234;
    pcs.compositionState = 2;
    pcs.paletteIdRef = 0;
    return pcs;
}

TEST(Pcs, LayoutWithoutObjects)
{
    CPcs pcs = SamplePcs();
    EXPECT_TRUE(SameBytes(RoundTrip(pcs), Bytes({0x16, 0x00, 0x0B, 0x07, 0x80, 0x04, 0x38, 0x10,
                                                 0x12, 0x34, 0x80, 0x00, 0x00, 0x00})));
    EXPECT_EQ(pcs.segmentLength, 11);
}

TEST(Pcs, LayoutWithPlainAndCroppedObjects)
{
    CPcs pcs = SamplePcs();
    pcs.compositionState = 0;
    pcs.paletteUpdateFlag = true;
    pcs.paletteIdRef = 3;
    ASSERT_NE(pcs.AddCompositionObject(1, 0, true, 100, 900), nullptr);
    SCompositionObject* cropped = pcs.AddCompositionObject(2, 1, false, 0x0102, 0x0304);
    ASSERT_NE(cropped, nullptr);
    cropped->cropped = true;
    cropped->cropX = 5;
    cropped->cropY = 6;
    cropped->cropWidth = 0x0708;
    cropped->cropHeight = 0x090A;
    EXPECT_TRUE(SameBytes(RoundTrip(pcs), Bytes({0x16, 0x00, 0x23, 0x07, 0x80, 0x04, 0x38, 0x10,
                                                 0x12, 0x34, 0x00, 0x80, 0x03, 0x02,
                                                 // object 1: id, window, forced on, x, y
                                                 0x00, 0x01, 0x00, 0x40, 0x00, 0x64, 0x03, 0x84,
                                                 // object 2: cropped, with its crop rectangle
                                                 0x00, 0x02, 0x01, 0x80, 0x01, 0x02, 0x03, 0x04,
                                                 0x00, 0x05, 0x00, 0x06, 0x07, 0x08, 0x09, 0x0A})));
    EXPECT_EQ(pcs.segmentLength, 11 + 8 + 16);
}

TEST(Pcs, SegmentLengthGrowsByObjectSize)
{
    struct Case {
        int plain, cropped;
        uint16_t length;
    };
    for (const Case c :
         {Case{0, 0, 11}, Case{1, 0, 19}, Case{2, 0, 27}, Case{1, 1, 35}, Case{0, 1, 27}}) {
        SCOPED_TRACE(testing::Message() << c.plain << " plain, " << c.cropped << " cropped");
        CPcs pcs = SamplePcs();
        for (int i = 0; i < c.cropped; ++i)
            pcs.AddCompositionObject(0, 0, false, 0, 0)->cropped = true;
        for (int i = 0; i < c.plain; ++i)
            pcs.AddCompositionObject(0, 0, false, 0, 0);
        EXPECT_EQ(Written(pcs).size(), 3u + c.length);
        EXPECT_EQ(pcs.segmentLength, c.length);
    }
}

TEST(Pcs, ThirdObjectIsRefusedAndChangesNothing)
{
    CPcs pcs = SamplePcs();
    ASSERT_NE(pcs.AddCompositionObject(1, 0, false, 1, 2), nullptr);
    ASSERT_NE(pcs.AddCompositionObject(2, 0, false, 3, 4), nullptr);
    const std::vector<uint8_t> before = Written(pcs);
    EXPECT_EQ(pcs.AddCompositionObject(3, 0, false, 5, 6), nullptr);
    EXPECT_TRUE(SameBytes(Written(pcs), before));
}

TEST(Pcs, ExtraBitsAreCarriedThroughParseAndWrite)
{
    // Frame-rate byte 0x1F (code 1, extra nibble F), state byte 0xFF (state 3, extra bits 3F),
    // object flags with the low six bits set (ignored).
    const auto payload = Bytes({0x02, 0xD0, 0x01, 0xE0, 0x1F, 0x00, 0x07, 0xFF, 0x00, 0x01, 0x01,
                                0x00, 0x09, 0x00, 0x3F, 0x00, 0x0A, 0x00, 0x0B});
    CPcs pcs;
    pcs.segmentLength = static_cast<uint16_t>(payload.size());
    ASSERT_EQ(pcs.Parse(payload), std::optional<size_t>(payload.size()));
    EXPECT_EQ(pcs.videoDescriptor, (SVideoDescriptor{720, 480, 1, 0xF}));
    EXPECT_EQ(pcs.compositionState, 3);
    EXPECT_EQ(pcs.compositionStateExtra, 0x3F);
    ASSERT_EQ(pcs.objects.size(), 1u);
    EXPECT_FALSE(pcs.objects[0].cropped);
    EXPECT_FALSE(pcs.objects[0].forcedOn);
    auto expected = Bytes({0x16, 0x00, 0x13});
    expected.insert(expected.end(), payload.begin(), payload.end());
    expected[3 + 11 + 3] = 0x00; // the ignored flag bits are written as 0
    EXPECT_TRUE(SameBytes(Written(pcs), expected));
}

TEST(Wds, LayoutOfOneAndTwoWindows)
{
    CWds wds;
    ASSERT_NE(wds.AddWindow(0, 100, 900, 1820, 1000), nullptr);
    EXPECT_TRUE(SameBytes(RoundTrip(wds), Bytes({0x17, 0x00, 0x0A, 0x01, 0x00, 0x00, 0x64, 0x03,
                                                 0x84, 0x06, 0xB8, 0x00, 0x64})));
    ASSERT_NE(wds.AddWindow(1, 10, 20, 30, 60), nullptr);
    EXPECT_EQ(RoundTrip(wds).size(), 3u + 19);
    EXPECT_EQ(wds.segmentLength, 19);
}

TEST(Wds, ThirdWindowIsRefusedAndFindTakesTheFirstMatch)
{
    CWds wds;
    wds.AddWindow(7, 0, 0, 10, 10);
    wds.AddWindow(7, 5, 5, 8, 9);
    EXPECT_EQ(wds.AddWindow(8, 0, 0, 1, 1), nullptr);
    EXPECT_EQ(wds.windows.size(), 2u);
    ASSERT_NE(wds.FindWindow(7), nullptr);
    EXPECT_EQ(wds.FindWindow(7)->width, 10);
    EXPECT_EQ(wds.FindWindow(8), nullptr);
}

TEST(Wds, MoreThanTwoWindowsWriteNothing)
{
    CWds wds;
    wds.windows.resize(3);
    std::vector<uint8_t> buffer(kMaxSegmentSize, 0xEE);
    EXPECT_EQ(wds.Write(buffer.data()), 0u);
    EXPECT_EQ(buffer[0], 0xEE);
}

TEST(Pds, LayoutAndEntryLimit)
{
    CPds pds;
    pds.paletteId = 1;
    pds.paletteVersion = 2;
    pds.entries.push_back({});
    pds.entries.push_back({7, 16, 128, 128, 0});
    EXPECT_TRUE(SameBytes(RoundTrip(pds), Bytes({0x14, 0x00, 0x0C, 0x01, 0x02, 0xFF, 0xFF, 0xFF,
                                                 0xFF, 0xFF, 0x07, 0x10, 0x80, 0x80, 0x00})));

    struct Case {
        size_t entries;
        uint16_t length;
    };
    for (const Case c : {Case{0, 2}, Case{1, 7}, Case{255, 2 + 5 * 255}, Case{256, 2 + 5 * 256},
                         Case{300, 2 + 5 * 256}}) {
        SCOPED_TRACE(c.entries);
        CPds many;
        many.entries.resize(c.entries);
        EXPECT_EQ(Written(many).size(), 3u + c.length);
        EXPECT_EQ(many.segmentLength, c.length);
    }
}

TEST(Pds, FilledFromPaletteInYCrCb)
{
    CErgbPalette palette;
    palette.id = 0;
    palette.entries = {{0, 0, 0, 255, 255}, {1, 255, 255, 255, 128}, {254, 0, 0, 0, 0}};
    CPds pds;
    pds.paletteVersion = 5;
    pds.entries.resize(10);
    pds.SetFromPalette(palette);
    EXPECT_EQ(pds.paletteVersion, 5);
    EXPECT_EQ(pds.paletteId, 0);
    ASSERT_EQ(pds.entries.size(), 3u);
    EXPECT_EQ(pds.entries[0], (SPaletteEntry{0, 81, 239, 90, 255}));
    EXPECT_EQ(pds.entries[1], (SPaletteEntry{1, 235, 128, 128, 128}));
    EXPECT_EQ(pds.entries[2], (SPaletteEntry{254, 16, 128, 128, 0}));

    palette.entries.resize(300);
    pds.SetFromPalette(palette);
    EXPECT_EQ(pds.entries.size(), 256u);
}

TEST(Ods, WholeObjectLayout)
{
    COds ods;
    ods.objectId = 0x0102;
    ods.objectVersion = 3;
    ods.data = Bytes({0x00, 0x00, 0x08, 0x00, 0x02, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00});
    EXPECT_TRUE(
        SameBytes(RoundTrip(ods), Bytes({0x15, 0x00, 0x0F, 0x01, 0x02, 0x03, 0xC0, 0x00, 0x00, 0x08,
                                         0x00, 0x02, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00})));
    EXPECT_EQ(ods.segmentLength, 4 + 11);
}

TEST(Ods, SequenceFlagsAndExtraBits)
{
    struct Case {
        bool first, last;
        uint8_t extra;
        uint8_t byte6;
    };
    for (const Case c : {Case{true, true, 0, 0xC0}, Case{true, false, 0, 0x80},
                         Case{false, true, 0, 0x40}, Case{false, false, 0x15, 0x15}}) {
        SCOPED_TRACE(int(c.byte6));
        COds ods;
        ods.firstInSequence = c.first;
        ods.lastInSequence = c.last;
        ods.sequenceExtra = c.extra;
        EXPECT_EQ(RoundTrip(ods)[6], c.byte6);
    }
}

TEST(Ods, ShortLengthCarriesNoData)
{
    COds ods;
    ods.segmentLength = 3; // shorter than its own fields
    EXPECT_EQ(ods.Parse(Bytes({0, 1, 2, 0xC0})), std::optional<size_t>(4));
    EXPECT_TRUE(ods.data.empty());
}

TEST(Es, IsTheBareHeader)
{
    CEs es;
    EXPECT_TRUE(SameBytes(RoundTrip(es), Bytes({0x80, 0x00, 0x00})));
}

TEST(Segments, NewSegmentsHaveTheirTypesAndDefaults)
{
    EXPECT_EQ(CPds().segmentType, 0x14);
    EXPECT_EQ(COds().segmentType, 0x15);
    EXPECT_EQ(CPcs().segmentType, 0x16);
    EXPECT_EQ(CWds().segmentType, 0x17);
    EXPECT_EQ(CEs().segmentType, 0x80);
    EXPECT_TRUE(COds().firstInSequence && COds().lastInSequence);
    EXPECT_EQ(SPaletteEntry{}, (SPaletteEntry{255, 255, 255, 255, 255}));
}

TEST(Segments, PayloadsTooShortForTheirFieldsAreRefused)
{
    struct Case {
        const char* name;
        std::unique_ptr<CSegmentBase> segment;
        std::vector<uint8_t> payload;
    };
    Case cases[] = {
        {"pcs header", std::make_unique<CPcs>(), Bytes({0x07, 0x80, 0x04})},
        {"pcs object missing", std::make_unique<CPcs>(),
         Bytes({0x07, 0x80, 0x04, 0x38, 0x10, 0, 0, 0x80, 0, 0, 1, 0, 1, 0})},
        {"pcs crop missing", std::make_unique<CPcs>(),
         Bytes({0x07, 0x80, 0x04, 0x38, 0x10, 0, 0, 0x80, 0, 0, 1, 0, 1, 0, 0x80, 0, 0, 0, 0})},
        {"wds windows missing", std::make_unique<CWds>(), Bytes({2, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"wds empty", std::make_unique<CWds>(), {}},
        {"pds id only", std::make_unique<CPds>(), Bytes({0})},
        {"pds half entry", std::make_unique<CPds>(), Bytes({0, 0, 1, 2, 3})},
        {"ods header", std::make_unique<COds>(), Bytes({0, 1, 0})},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.segment->segmentLength = 60000; // a length that promises more than the payload has
        EXPECT_EQ(c.segment->Parse(c.payload), std::nullopt);
    }
}

TEST(Segments, CopyFromCopiesTheWholeSegmentOfTheSameKind)
{
    CPcs source = SamplePcs();
    source.pts = 90000;
    source.dts = 84168;
    source.AddCompositionObject(4, 0, true, 10, 20);
    CPcs copy;
    copy.CopyFrom(source);
    EXPECT_TRUE(SameBytes(Written(copy), Written(source)));
    EXPECT_EQ(copy.pts, 90000u);
    EXPECT_EQ(copy.dts, 84168u);

    CEs end;
    end.CopyFrom(source); // another kind: only the common fields
    EXPECT_EQ(end.segmentType, 0x16);
    EXPECT_EQ(end.pts, 90000u);
}

TEST(FrameRate, CodesOfBuildRates)
{
    struct Case {
        double fps;
        int code;
    };
    for (const Case c :
         {Case{24000.0 / 1001, 1}, Case{24, 2}, Case{25, 3}, Case{30000.0 / 1001, 4}, Case{50, 6},
          Case{60000.0 / 1001, 7}, Case{30, -1}, Case{0, -1}, Case{23.96, -1}}) {
        SCOPED_TRACE(c.fps);
        EXPECT_EQ(FrameRateCode(c.fps), c.code);
    }
    EXPECT_STREQ(FrameRateName(5), "Reserved");
    EXPECT_STREQ(FrameRateName(7), "59.94");
}

} // namespace
} // namespace quillary::pgs
