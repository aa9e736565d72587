// End to end: image lines on two tracks (overlapping, one faded) built into a .sup that FFmpeg
// decodes to the intended pictures at the intended times and places; and the .pes + .mui of the
// same build.
#include "build/sub_builder.h"
#include "pgs/stream_writer.h"
#include "pgs/sup_reader.h"
#include "sources/sub_base.h"
#include "support/ffmpeg_decode.h"
#include "support/pes_index_check.h"
#include "support/recording_sink.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace quillary::build {
namespace {

namespace fs = std::filesystem;

class CImageSource final : public sources::CSubBase {
public:
    using CSubBase::CSubBase;
    bool Load(const QString&) override { return false; }
};

// A picture with a transparent margin, bands of colour and a few grey steps: fewer than 255
// colours, so the colour reduction keeps them exactly.
QImage Picture(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(0);
    for (int y = 3; y < h - 3; ++y) {
        for (int x = 3; x < w - 3; ++x) {
            QRgb p = colour;
            if (y < 8)
                p = 0xFF000000;
            else if ((x / 10) % 3 == 0)
                p = qRgb(40 + (x / 30) % 8 * 20, 40 + (x / 30) % 8 * 20, 40 + (x / 30) % 8 * 20);
            image.setPixel(x, y, p);
        }
    }
    return image;
}

struct SLineSpec {
    int track;
    int32_t start, end;
    QSize size;
    QRgb colour;
    bool faded;
};

// Dialogue on track 1 at the bottom, a sign on track 0 at the top overlapping the first line,
// a lone line, and a faded line (20 % in and out) in an epoch of its own. Rate 25.
const SLineSpec kLines[] = {
    {1, 1000, 3000, {400, 60}, 0xFFFFFF00, false},
    {1, 4000, 6000, {640, 80}, 0xFFFFFFFF, false},
    {1, 8000, 10000, {500, 70}, 0xFF20E020, true},
    {0, 1500, 2500, {300, 50}, 0xFFFF4040, false},
};

struct SBuilt {
    QTemporaryDir dir;
    QImage pictures[4];
    QRect rects[4];
};

class BuildDecodeTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (int t = 0; t < 2; ++t)
            m_tracks[t].source = &m_sources[t];
        for (size_t i = 0; i < std::size(kLines); ++i) {
            const SLineSpec& planned = kLines[i];
            m_pictures[i] = Picture(planned.size.width(), planned.size.height(), planned.colour);
            const QString path = m_dir.filePath(QString("line%1.png").arg(i));
            ASSERT_TRUE(m_pictures[i].save(path));
            CImageSource& source = m_sources[planned.track];
            const int index = source.InsertImageLine(path, {0, 0}, -1);
            source.lines[size_t(index)].start = planned.start;
            source.lines[size_t(index)].end = planned.end;
            source.lines[size_t(index)].faded = planned.faded;
            // Automatic placement: centred, 90 pixels from the top or the bottom.
            const int x = (1920 - planned.size.width()) / 2;
            const int y = planned.track == 0 ? 90 : 1080 - planned.size.height() - 90;
            m_rects[i] = QRect(QPoint(x, y), planned.size);
        }
        for (CImageSource& source : m_sources)
            ASSERT_EQ(source.ValidateTiming(), 0);
    }

    BuildResult Build(const std::string& path, int kind)
    {
        SBuildOptions options;
        options.outputPath = path;
        options.outputKind = kind;
        options.frameSizeIndex = 0;
        options.frameRateIndex = 2;
        options.fade = {1, 20, 20};
        options.messages = &m_sink;
        return CSubBuilder::Build(options, m_tracks);
    }

    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }

    QTemporaryDir m_dir;
    test::CRecordingSink m_sink;
    CImageSource m_sources[2] = {CImageSource(m_sink), CImageSource(m_sink)};
    SBuildTrack m_tracks[2];
    QImage m_pictures[4];
    QRect m_rects[4];
};

// Compares a decoded frame with the lines that should show, at full opacity.
int CountMismatches(const test::SRgbaFrame& frame, const QImage* pictures, const QRect* rects,
                    std::initializer_list<int> shown)
{
    int mismatches = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            QRgb want = 0;
            for (int i : shown) {
                if (rects[i].contains(x, y))
                    want = pictures[i].pixel(x - rects[i].left(), y - rects[i].top());
            }
            const uint8_t* p = frame.At(x, y);
            const test::SRgba shownColour =
                test::ShownColour(qRed(want), qGreen(want), qBlue(want), qAlpha(want));
            bool same = std::abs(p[3] - qAlpha(want)) <= 1;
            if (same && qAlpha(want) != 0) {
                same = std::abs(p[0] - shownColour.r) <= 3 && std::abs(p[1] - shownColour.g) <= 3 &&
                       std::abs(p[2] - shownColour.b) <= 3;
            }
            if (!same && ++mismatches <= 3) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): got " << int(p[0]) << ","
                              << int(p[1]) << "," << int(p[2]) << "," << int(p[3]);
            }
        }
    }
    return mismatches;
}

TEST_F(BuildDecodeTest, FfmpegShowsEveryLineAtItsTimeAndPlace)
{
    QUILLARY_REQUIRE_FFMPEG_OR_SKIP();
    const std::string sup = Path("film.sup");
    ASSERT_EQ(Build(sup, 0), BuildResult::Written);
    EXPECT_TRUE(m_sink.messages.empty());
    const test::SDecoded decoded = test::DecodeSup(sup, m_dir.path().toStdString(), 1920, 1080);
    ASSERT_TRUE(decoded.ran);
    EXPECT_TRUE(decoded.complaints.empty()) << decoded.complaints;

    // Still epochs: line 0 alone, with the sign, alone again, cleared; line 1, cleared.
    struct SStill {
        long ticks;
        std::initializer_list<int> shown;
    };
    const SStill stills[] = {{25 * 3600, {0}},  {38 * 3600, {0, 3}}, {63 * 3600, {0}},
                             {75 * 3600, {}},   {100 * 3600, {1}},   {150 * 3600, {}},
                             {212 * 3600, {2}}, {250 * 3600, {}}};
    for (const SStill& still : stills) {
        SCOPED_TRACE(still.ticks);
        ASSERT_TRUE(decoded.frames.count(still.ticks)) << "no frame";
        EXPECT_EQ(CountMismatches(decoded.frames.at(still.ticks), m_pictures, m_rects, still.shown),
                  0);
    }

    // The faded line: 50 frames, fade-in over 10 frames from alpha 0, fade-out from frame 40.
    const QRect& faded = m_rects[2];
    const QPoint inside = faded.topLeft() + QPoint(20, 20);
    auto alphaAt = [&](long frame) {
        const auto it = decoded.frames.find(frame * 3600);
        return it == decoded.frames.end() ? -1 : int(it->second.At(inside.x(), inside.y())[3]);
    };
    EXPECT_EQ(alphaAt(200), 0);
    int previous = 0;
    for (long frame = 202; frame <= 210; frame += 2) {
        SCOPED_TRACE(frame);
        EXPECT_GT(alphaAt(frame), previous);
        previous = alphaAt(frame);
    }
    EXPECT_EQ(alphaAt(210), 255);
    for (long frame = 242; frame <= 248; frame += 2) {
        SCOPED_TRACE(frame);
        EXPECT_LT(alphaAt(frame), alphaAt(frame - 2));
        EXPECT_GT(alphaAt(frame), 0);
    }
    // FFmpeg's decoder saw exactly our display sets: the still ones above and the fade steps.
    std::vector<test::SEvent> expected;
    for (const SStill& still : stills)
        expected.push_back({still.ticks, int(still.shown.size())});
    for (long frame : {200, 202, 204, 206, 208, 210, 240, 242, 244, 246, 248})
        expected.push_back({frame * 3600, 1});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(decoded.events, expected);
}

TEST_F(BuildDecodeTest, PesAndIndexCarryTheSameSegmentsAsTheSup)
{
    ASSERT_EQ(Build(Path("film.sup"), 0), BuildResult::Written);
    ASSERT_EQ(Build(Path("film.pes"), 2), BuildResult::Written);
    EXPECT_GT(test::CheckPesAgainstSup(Path("film.sup"), Path("film.pes")), 50);
}

} // namespace
} // namespace quillary::build
