// A hand-built epoch written as .sup and decoded by FFmpeg: the decoded frames must show our
// bitmap at its place, in its colours, at its times.
#include "pgs/ergb_palette.h"
#include "pgs/object_coder.h"
#include "pgs/stream_file.h"
#include "pgs/ycrcb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
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

struct SRgba {
    int r, g, b, a;
};

// The palette in RGB: red, green, white, half-transparent yellow, transparent.
const ERGBQUAD kPalette[] = {{0, 0, 0, 255, 255},
                             {1, 0, 255, 0, 255},
                             {2, 255, 255, 255, 255},
                             {3, 0, 255, 255, 128},
                             {kTransparent, 0, 0, 0, 0}};

uint8_t PixelAt(int x, int y) {
    if (x < 2 || y < 2 || x >= kWidth - 2 || y >= kHeight - 2)
        return kTransparent;
    if (y < 10)
        return 0;
    if (y < 18)
        return x < kWidth / 2 ? 1 : 2;
    return (x / 4) % 2 ? 3 : 0;
}

bool ProgramExists(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Reads a PAM image (as FFmpeg's pam encoder writes it) as RGBA.
bool ReadPam(const fs::path& path, int& width, int& height, std::vector<uint8_t>& rgba) {
    std::ifstream in(path, std::ios::binary);
    std::string word;
    int depth = 0, maxval = 0;
    in >> word;
    if (word != "P7")
        return false;
    while (in >> word && word != "ENDHDR") {
        if (word == "WIDTH")
            in >> width;
        else if (word == "HEIGHT")
            in >> height;
        else if (word == "DEPTH")
            in >> depth;
        else if (word == "MAXVAL")
            in >> maxval;
        else if (word == "TUPLTYPE")
            in >> word;
    }
    in.get(); // the newline after ENDHDR
    if (depth != 4 || maxval != 255 || width <= 0 || height <= 0)
        return false;
    rgba.resize(size_t(width) * height * 4);
    in.read(reinterpret_cast<char*>(rgba.data()), static_cast<std::streamsize>(rgba.size()));
    return in.gcount() == static_cast<std::streamsize>(rgba.size());
}

// FFmpeg shows HD palettes through BT.709 studio-range equations: what it should show for one
// of our entries, from the Y/Cr/Cb we wrote.
SRgba ShownColour(const ERGBQUAD& entry) {
    const SYCrCb ycc = RgbToYCrCb(entry.red, entry.green, entry.blue);
    const double y = 1.164 * (ycc.y - 16);
    const double cr = ycc.cr - 128.0;
    const double cb = ycc.cb - 128.0;
    auto clamp = [](double v) { return int(std::clamp(std::lround(v), 0L, 255L)); };
    return {clamp(y + 1.793 * cr), clamp(y - 0.213 * cb - 0.533 * cr), clamp(y + 2.112 * cb),
            entry.alpha};
}

class FfmpegDecodeTest : public testing::Test {
protected:
    void SetUp() override {
        if (!ProgramExists("ffmpeg")) {
            if (std::getenv("QUILLARY_REQUIRE_FFMPEG") != nullptr)
                FAIL() << "ffmpeg is required (QUILLARY_REQUIRE_FFMPEG is set) but not found";
            GTEST_SKIP() << "ffmpeg not installed";
        }
        m_dir = fs::temp_directory_path() / ("quillary_ffmpeg_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "frames");
    }
    void TearDown() override {
        if (!m_dir.empty())
            fs::remove_all(m_dir);
    }

    fs::path m_dir;
};

void WriteEpoch(const fs::path& path) {
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

TEST_F(FfmpegDecodeTest, DecodedFramesShowTheBitmapAtItsTimes) {
    const fs::path sup = m_dir / "epoch.sup";
    WriteEpoch(sup);
    if (HasFatalFailure())
        return;

    // sub2video renders the subtitle stream as video, one frame per change, named by its PTS
    // in 90 kHz ticks; -copyts keeps our own time stamps.
    const std::string command =
        "ffmpeg -hide_banner -nostdin -v error -copyts -canvas_size 1920x1080 -i '" + sup.string() +
        "' -filter_complex '[0:s]format=rgba[v]' -map '[v]' -fps_mode passthrough "
        "-enc_time_base 1:90000 -frame_pts 1 -c:v pam '" +
        (m_dir / "frames" / "f_%010d.pam").string() + "' 2>'" + (m_dir / "log.txt").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    // The image2 muxer's "non monotonically increasing dts" comes from sub2video's frame one
    // tick before each change, not from the stream; everything else is a complaint about it.
    std::ifstream logFile(m_dir / "log.txt");
    std::string complaints, line;
    while (std::getline(logFile, line)) {
        if (line.find("image2 @") == std::string::npos &&
            line.find("Last message repeated") == std::string::npos)
            complaints += line + "\n";
    }
    EXPECT_TRUE(complaints.empty()) << "ffmpeg complained:\n" << complaints;

    std::map<long, fs::path> frames;
    for (const auto& entry : fs::directory_iterator(m_dir / "frames"))
        frames[std::stol(entry.path().stem().string().substr(2))] = entry.path();
    ASSERT_TRUE(frames.count(90000)) << "no frame at the epoch start";
    ASSERT_TRUE(frames.count(270000)) << "no frame at the clearing display set";

    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(ReadPam(frames[90000], width, height, rgba));
    ASSERT_EQ(width, kFrameWidth);
    ASSERT_EQ(height, kFrameHeight);
    int mismatches = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const uint8_t* p = &rgba[(size_t(y) * kFrameWidth + x) * 4];
            const bool inside = x >= kLeft && x < kLeft + kWidth && y >= kTop && y < kTop + kHeight;
            const uint8_t index = inside ? PixelAt(x - kLeft, y - kTop) : kTransparent;
            const SRgba want = ShownColour(kPalette[index]);
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

    ASSERT_TRUE(ReadPam(frames[270000], width, height, rgba));
    EXPECT_TRUE(std::all_of(rgba.begin(), rgba.end(), [](uint8_t v) { return v == 0; }))
        << "the clearing display set leaves something on screen";
}

} // namespace
} // namespace quillary::pgs
