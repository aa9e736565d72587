// quillary-cli build: its errors and exit statuses, and whole builds of real scripts that FFmpeg
// decodes to a picture at every line's time; the .pes + .mui of the same build.
#include "build/frame_clock.h"
#include "sources/text_sub.h"
#include "support/ffmpeg_decode.h"
#include "support/pes_index_check.h"
#include "support/recording_sink.h"
#include "textrender/text_tmp.h"

#include "run_cli.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <array>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using quillary::test::RunCli;
using quillary::test::SRun;

using namespace quillary;

const std::string kScripts = QUILLARY_TEST_DATA_DIR "/scripts/";
const std::string kExamples = QUILLARY_SOURCE_DIR "/examples/";
// A font of the test data, so that every machine draws the same pictures.
const std::string kFont = " --defaults --font 'DejaVu Sans'";

class BuildCommandTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }

    QTemporaryDir m_dir;
};

TEST_F(BuildCommandTest, ErrorsAndUsage)
{
    const std::string srt = kScripts + "two_digit_fraction_after_dot.srt";
    const std::string out = " -o '" + Path("out.sup") + "'";
    struct Case {
        std::string arguments;
        int status;
        std::string err; // expected in stderr
    };
    const Case cases[] = {
        {"build", 2, "usage: quillary-cli build INPUT -o OUTPUT"},
        {"build '" + srt + "'", 2, "usage:"},
        {"build '" + srt + "' -o '" + Path("out.xml") + "'", 2, "Output format is not supported!"},
        {"build '" + srt + "' -o '" + Path("out.mkv") + "'", 2, "must be a .sup or .pes file"},
        {"build '" + kScripts + "gbk_without_final_newline.parse.txt'" + out, 2,
         "Unknown subtitle format!"},
        {"build '" + Path("missing.srt") + "'" + out, 2, "read error!"},
        {"build '" + srt + "'" + out + " --size 800x600", 2, "--size takes"},
        {"build '" + srt + "'" + out + " --fps 30", 2, "--fps takes"},
        {"build '" + srt + "'" + out + " --frobnicate", 2, "unknown option --frobnicate"},
        {"build '" + srt + "'" + out + " --color nocolour", 2, "cannot use 'nocolour' for --color"},
        {"build '" + srt + "'" + out + " --fade-in 140", 2, "cannot use '140' for --fade-in"},
        {"build '" + srt + "'" + out + " --hatch Nonsense", 2, "for --hatch"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const SRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("out.sup")));

    const SRun help = RunCli("build --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--top FILE"), std::string::npos);
}

TEST_F(BuildCommandTest, CtrlCCancelsAndRemovesThePartialFiles)
{
    // A script long enough that the build is still running when the interrupt comes.
    const std::string srt = Path("long.srt");
    {
        std::ofstream out(srt);
        for (int i = 0; i < 20000; ++i) {
            const int start = 1000 + i * 2000;
            auto stamp = [](int ms) {
                char text[32];
                std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", ms / 3600000,
                              ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
                return std::string(text);
            };
            out << i + 1 << "\n"
                << stamp(start) << " --> " << stamp(start + 1500) << "\nLine number " << i + 1
                << " of a long film\n\n";
        }
    }
    const std::string pes = Path("long.pes");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        execl(QUILLARY_CLI, QUILLARY_CLI, "build", srt.c_str(), "-o", pes.c_str(), "--defaults",
              "--quiet", static_cast<char*>(nullptr));
        _exit(127);
    }
    // The output exists once the build runs, and the interrupt handler is in place by then.
    for (int i = 0; i < 600 && !std::filesystem::exists(pes + ".mui"); ++i)
        usleep(50000);
    ASSERT_TRUE(std::filesystem::exists(pes + ".mui"));
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(std::filesystem::exists(pes));
    EXPECT_FALSE(std::filesystem::exists(pes + ".mui"));
}

TEST_F(BuildCommandTest, InvalidTimingIsRefusedWithTheLine)
{
    const std::string overlapping = Path("overlap.srt");
    std::ofstream(overlapping) << "1\n00:00:01,000 --> 00:00:04,000\nFirst\n\n"
                                  "2\n00:00:02,000 --> 00:00:05,000\nSecond\n\n";
    const SRun run = RunCli("build '" + overlapping + "' -o '" + Path("out.sup") + "'" + kFont);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("line 2 has invalid timing"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(Path("out.sup")));
}

TEST_F(BuildCommandTest, SuccessMessageQuietAndReproducibleOutput)
{
    const std::string srt = "'" + kExamples + "quillary-tour.srt'";
    const SRun first = RunCli("build " + srt + " -o '" + Path("a.sup") + "'" + kFont);
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, Path("a.sup") + "\nwas bulit sucessfully!\n");
    const SRun second = RunCli("build " + srt + " -o '" + Path("b.sup") + "' --quiet" + kFont);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(test::ReadBytes(Path("a.sup")), test::ReadBytes(Path("b.sup")));
}

// The frame-exact time in 90 kHz ticks at which a line starting at `ms` is shown (23.976 fps).
long ShownAt(int32_t ms)
{
    return static_cast<long>(
        build::TicksOfFrame(build::FrameOfMs(static_cast<uint32_t>(ms), 23.976), 23.976));
}

// The box of the visible pixels of a decoded frame.
QRect VisibleBox(const test::SRgbaFrame& frame)
{
    QRect box;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (frame.At(x, y)[3] != 0)
                box = box.united(QRect(x, y, 1, 1));
        }
    }
    return box;
}

TEST_F(BuildCommandTest, FfmpegShowsEveryLineOfARealSubRipFile)
{
    QUILLARY_REQUIRE_FFMPEG_OR_SKIP();
    const std::string srt = kScripts + "two_digit_fraction_after_dot.srt";
    const std::string sup = Path("real.sup");
    const SRun run = RunCli("build '" + srt + "' -o '" + sup + "'" + kFont);
    ASSERT_EQ(run.status, 0) << run.err;

    // The lines as the engine reads them, times normalised.
    test::CRecordingSink sink;
    const textrender::CTextTmp style = textrender::CTextTmp::StoreDefaults();
    const auto source = sources::OpenSubtitleFile(QString::fromStdString(srt), style, sink);
    ASSERT_NE(source, nullptr);
    ASSERT_GT(source->lines.size(), 20u);

    const test::SDecoded decoded = test::DecodeSup(sup, m_dir.path().toStdString(), 1920, 1080);
    ASSERT_TRUE(decoded.ran);
    EXPECT_TRUE(decoded.complaints.empty()) << decoded.complaints;
    for (size_t i = 0; i < source->lines.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        const long at = ShownAt(source->lines[i].start);
        bool shown = false;
        for (const test::SEvent& event : decoded.events)
            shown = shown || (event.ticks == at && event.rects >= 1);
        EXPECT_TRUE(shown) << "no picture at " << at;
        const auto frame = decoded.frames.find(at);
        ASSERT_NE(frame, decoded.frames.end());
        // Text at the bottom of the frame, 100 pixels up ("Location"), centred.
        const QRect box = VisibleBox(frame->second);
        EXPECT_GT(box.width(), 20);
        EXPECT_GT(box.top(), 540);
        EXPECT_LE(box.bottom(), 1080 - 100 + 4);
        EXPECT_NEAR(box.center().x(), 960, 40);
    }
    ASSERT_FALSE(decoded.events.empty());
    EXPECT_EQ(decoded.events.back().rects, 0) << "the last line is never cleared";
}

TEST_F(BuildCommandTest, SubStationAlphaWithSignsAtTheTopInTheirOwnWindow)
{
    QUILLARY_REQUIRE_FFMPEG_OR_SKIP();
    const std::string sup = Path("signs.sup");
    const SRun run = RunCli("build '" + kExamples + "quillary-tour.srt' --top '" + kExamples +
                            "quillary-signs.ass' -o '" + sup + "'" + kFont);
    ASSERT_EQ(run.status, 0) << run.err;
    const test::SDecoded decoded = test::DecodeSup(sup, m_dir.path().toStdString(), 1920, 1080);
    ASSERT_TRUE(decoded.ran);
    EXPECT_TRUE(decoded.complaints.empty()) << decoded.complaints;
    // At 1.5 s only the sign shows (the dialogue started at 1.0 s, so both do).
    const auto frame = decoded.frames.find(ShownAt(1500));
    ASSERT_NE(frame, decoded.frames.end());
    int top = 0, bottom = 0;
    for (int y = 0; y < 1080; ++y) {
        for (int x = 0; x < 1920; ++x) {
            if (frame->second.At(x, y)[3] != 0)
                ++(y < 540 ? top : bottom);
        }
    }
    EXPECT_GT(top, 100);
    EXPECT_GT(bottom, 100);

    const SRun ssa = RunCli("build '" + kScripts + "ssa_v4_mixed_colours.ssa' -o '" +
                            Path("ssa.sup") + "'" + kFont);
    EXPECT_EQ(ssa.status, 0) << ssa.err;
}

TEST_F(BuildCommandTest, PesBuildHasAMatchingIndex)
{
    const std::string srt = "'" + kScripts + "two_digit_fraction_after_dot.srt'";
    ASSERT_EQ(RunCli("build " + srt + " -o '" + Path("x.sup") + "' -q" + kFont).status, 0);
    ASSERT_EQ(RunCli("build " + srt + " -o '" + Path("x.pes") + "' -q" + kFont).status, 0);
    EXPECT_GT(test::CheckPesAgainstSup(Path("x.sup"), Path("x.pes")), 50);
}

} // namespace
