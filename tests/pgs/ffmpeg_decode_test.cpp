// A hand-built epoch written as .sup and decoded by FFmpeg: the decoded frames must show our
// bitmap at its place, in its colours, at its times.
#include "pgs/ergb_palette.h"
#include "pgs/object_coder.h"
#include "pgs/stream_file.h"
#include "support/ffmpeg_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace quillary::pgs {
namespace {

namespace fs = std::filesystem;

constexpr int kFrameWidth = 1920;
constexpr int kFrameHeight = 1080;
constexpr int kLeft = 300;
constexpr int kTop = 900;
constexpr int kWidth = 64;
constexpr int kHeight = 32;
constexpr uint8_t kTransparent = 4;

// The palette in RGB: red, green, white, half-transparent yellow, transparent.
const ERGBQUAD kPalette[] = {{0, 0, 0, 255, 255},
                             {1, 0, 255, 0, 255},
                             {2, 255, 255, 255, 255},
                             {3, 0, 255, 255, 128},
                             {kTransparent, 0, 0, 0, 0}};

uint8_t PixelAt(int x, int y)
{
    if (x < 2 || y < 2 || x >= kWidth - 2 || y >= kHeight - 2)
        return kTransparent;
    if (y < 10)
        return 0;
    if (y < 18)
        return x < kWidth / 2 ? 1 : 2;
    return (x / 4) % 2 ? 3 : 0;
}

test::SRgba ShownColour(const ERGBQUAD& entry)
{
    return test::ShownColour(entry.red, entry.green, entry.blue, entry.alpha);
}

class FfmpegDecodeTest : public testing::Test {
protected:
    void SetUp() override
    {
        QUILLARY_REQUIRE_FFMPEG_OR_SKIP();
        m_dir = fs::temp_directory_path() / ("quillary_ffmpeg_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        if (!m_dir.empty())
            fs::remove_all(m_dir);
    }

    fs::path m_dir;
};

void WriteEpoch(const fs::path& path)
{
    CErgbPalette palette;
    palette.entries.assign(std::begin(kPalette), std::end(kPalette));
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[size_t(y) * kWidth + x] = PixelAt(x, y);

    CEpochData epoch;
    CDsData& show = epoch.AddDisplaySet();
    show.pcs = std::make_unique<CPcs>();
    show.pcs->videoDescriptor = {kFrameWidth, kFrameHeight, 1, 0};
    show.pcs->compositionNumber = 0;
    show.pcs->AddCompositionObject(0, 0, false, kLeft, kTop);
    show.wds = std::make_unique<CWds>();
    show.wds->AddWindow(0, kLeft, kTop, kLeft + kWidth, kTop + kHeight);
    show.AddPaletteSegment().SetFromPalette(palette);
    ASSERT_TRUE(CreateObjectSegments(show, {kWidth, kHeight, kWidth, pixels.data()}, 0, 0));
    show.ForEachSegment([](CSegmentBase& s) { s.pts = 90000; });
    show.pcs->dts = 90000 - 5832;

    CDsData& clear = epoch.AddDisplaySet();
    clear.compositionState = 0;
    clear.pcs = std::make_unique<CPcs>();
    clear.pcs->videoDescriptor = {kFrameWidth, kFrameHeight, 1, 0};
    clear.pcs->compositionNumber = 1;
    clear.wds = std::make_unique<CWds>();
    clear.wds->AddWindow(0, kLeft, kTop, kLeft + kWidth, kTop + kHeight);
    clear.GetEndSegment();
    clear.ForEachSegment([](CSegmentBase& s) { s.pts = 270000; });

    CStreamFile file;
    ASSERT_TRUE(file.Open(path.string(), OutputKind::Sup));
    ASSERT_EQ(file.WriteEpoch(epoch), WriteStatus::Written);
    ASSERT_TRUE(file.Close());
}

TEST_F(FfmpegDecodeTest, DecodedFramesShowTheBitmapAtItsTimes)
{
    const fs::path sup = m_dir / "epoch.sup";
    WriteEpoch(sup);
    if (HasFatalFailure())
        return;

    const test::SDecoded decoded = test::DecodeSup(sup, m_dir, kFrameWidth, kFrameHeight);
    ASSERT_TRUE(decoded.ran);
    EXPECT_TRUE(decoded.complaints.empty()) << "ffmpeg complained:\n" << decoded.complaints;
    ASSERT_TRUE(decoded.frames.count(90000)) << "no frame at the epoch start";
    ASSERT_TRUE(decoded.frames.count(270000)) << "no frame at the clearing display set";

    const test::SRgbaFrame& shown = decoded.frames.at(90000);
    ASSERT_EQ(shown.width, kFrameWidth);
    ASSERT_EQ(shown.height, kFrameHeight);
    int mismatches = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const uint8_t* p = shown.At(x, y);
            const bool inside = x >= kLeft && x < kLeft + kWidth && y >= kTop && y < kTop + kHeight;
            const uint8_t index = inside ? PixelAt(x - kLeft, y - kTop) : kTransparent;
            const test::SRgba want = ShownColour(kPalette[index]);
            bool same = std::abs(p[3] - want.a) <= 1;
            if (same && want.a != 0) {
                same = std::abs(p[0] - want.r) <= 3 && std::abs(p[1] - want.g) <= 3 &&
                       std::abs(p[2] - want.b) <= 3;
            }
            if (!same && ++mismatches <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") index " << int(index) << ": got "
                              << int(p[0]) << "," << int(p[1]) << "," << int(p[2]) << ","
                              << int(p[3]) << " want " << want.r << "," << want.g << "," << want.b
                              << "," << want.a;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);

    const std::vector<uint8_t>& cleared = decoded.frames.at(270000).rgba;
    EXPECT_TRUE(std::all_of(cleared.begin(), cleared.end(), [](uint8_t v) { return v == 0; }))
        << "the clearing display set leaves something on screen";
}

} // namespace
} // namespace quillary::pgs
