// The build driver: results, progress and cancel, removal of the output on cancel and failure,
// write failures, cropping to the frame.
#include "build/sub_builder.h"
#include "sources/sub_base.h"
#include "support/recording_sink.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <functional>

namespace quillary::build {
namespace {

namespace fs = std::filesystem;

// A source whose lines render as plain boxes; line `failAt` fails.
class CBoxSource final : public sources::CSubBase {
public:
    explicit CBoxSource(IMessageSink& messages) : CSubBase(messages) {}
    bool Load(const QString&) override { return false; }
    bool Render(int lineIndex, sources::SRenderRequest& request) override
    {
        ++renders;
        if (lineIndex == failAt)
            return false;
        request.bitmap = QImage(size, QImage::Format_ARGB32);
        request.bitmap.fill(0xFFFFFFFF);
        request.explicitX = lines[size_t(lineIndex)].x;
        request.explicitY = lines[size_t(lineIndex)].y;
        return true;
    }

    void AddLines(int count, int32_t length = 1000, int32_t pause = 1000)
    {
        for (int i = 0; i < count; ++i) {
            sources::SSubLine line;
            line.source = this;
            line.start = i * (length + pause) + 1000;
            line.end = line.start + length;
            lines.push_back(line);
        }
    }

    QSize size{300, 60};
    int failAt = -1;
    int renders = 0;
};

class SubBuilderTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }

    SBuildOptions Options(const std::string& output, int kind = 0)
    {
        SBuildOptions options;
        options.outputPath = output;
        options.outputKind = kind;
        options.frameSizeIndex = 0;
        options.frameRateIndex = 2; // 25
        options.messages = &m_sink;
        return options;
    }

    QTemporaryDir m_dir;
    test::CRecordingSink m_sink;
};

TEST_F(SubBuilderTest, NothingToBuildFails)
{
    CBoxSource source(m_sink);
    const SBuildTrack none[2] = {};
    EXPECT_EQ(CSubBuilder::Build(Options(Path("a.sup")), none), BuildResult::Failed);
    SBuildTrack tracks[2];
    tracks[1].source = &source;
    EXPECT_EQ(CSubBuilder::Build(Options(""), tracks), BuildResult::Failed);
    EXPECT_FALSE(fs::exists(Path("a.sup")));
}

TEST_F(SubBuilderTest, UnsupportedOutputKindIsRefused)
{
    CBoxSource source(m_sink);
    source.AddLines(1);
    SBuildTrack tracks[2];
    tracks[1].source = &source;
    EXPECT_EQ(CSubBuilder::Build(Options(Path("a.xml"), 1), tracks), BuildResult::Failed);
    ASSERT_EQ(m_sink.messages.size(), 1u);
    EXPECT_EQ(m_sink.messages[0].text, "Output format is not supported!");
    EXPECT_FALSE(fs::exists(Path("a.xml")));
}

TEST_F(SubBuilderTest, ProgressIsReportedBeforeLinesAndEndsAt100)
{
    CBoxSource source(m_sink);
    source.AddLines(200, 1000, 40); // one epoch: pauses of one frame
    SBuildTrack tracks[2];
    tracks[1].source = &source;
    SBuildOptions options = Options(Path("progress.sup"));
    std::vector<SProgressInfo> calls;
    options.progress = [&](const SProgressInfo& info) {
        calls.push_back(info);
        return true;
    };
    ASSERT_EQ(CSubBuilder::Build(options, tracks), BuildResult::Written);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().command, SProgressInfo::SetText);
    EXPECT_EQ(calls.front().text, Path("progress.sup"));
    EXPECT_EQ(calls.back().command, SProgressInfo::SetPosition);
    EXPECT_EQ(calls.back().position, 100);

    // The expected calls: before line `done`, when the percentage moved or done % 5 == 0.
    std::vector<int> expected;
    int last = 0;
    for (int done = 0; done < 200; ++done) {
        const int position = done * 100 / 200;
        if (position != last || done % 5 == 0) {
            expected.push_back(position);
            last = position;
        }
    }
    expected.push_back(100);
    std::vector<int> positions;
    for (size_t i = 1; i < calls.size(); ++i)
        positions.push_back(calls[i].position);
    EXPECT_EQ(positions, expected);
}

TEST_F(SubBuilderTest, CancelDuringAPesBuildLeavesNeitherFile)
{
    CBoxSource source(m_sink);
    source.AddLines(20); // twenty epochs
    SBuildTrack tracks[2];
    tracks[1].source = &source;
    SBuildOptions options = Options(Path("movie.pes"), 2);
    int positions = 0;
    options.progress = [&](const SProgressInfo& info) {
        if (info.command == SProgressInfo::SetPosition)
            ++positions;
        // Cancel once several epochs have been written.
        return positions < 10;
    };
    EXPECT_EQ(CSubBuilder::Build(options, tracks), BuildResult::Cancelled);
    EXPECT_LT(source.renders, 20);
    EXPECT_FALSE(fs::exists(Path("movie.pes")));
    EXPECT_FALSE(fs::exists(Path("movie.pes.mui")));
}

TEST_F(SubBuilderTest, FailedRenderLeavesNeitherFile)
{
    CBoxSource source(m_sink);
    source.AddLines(10);
    source.failAt = 6;
    SBuildTrack tracks[2];
    tracks[1].source = &source;
    EXPECT_EQ(CSubBuilder::Build(Options(Path("movie.pes"), 2), tracks), BuildResult::Failed);
    EXPECT_EQ(source.renders, 7);
    EXPECT_FALSE(fs::exists(Path("movie.pes")));
    EXPECT_FALSE(fs::exists(Path("movie.pes.mui")));
}

TEST_F(SubBuilderTest, OutputThatCannotBeCreatedFailsWithTheReason)
{
    CBoxSource source(m_sink);
    source.AddLines(1);
    SBuildTrack tracks[2];
    tracks[1].source = &source;
    const std::string path = Path("missing/out.sup");
    EXPECT_EQ(CSubBuilder::Build(Options(path), tracks), BuildResult::Failed);
    ASSERT_EQ(m_sink.messages.size(), 1u);
    EXPECT_NE(m_sink.messages[0].text.find(path), std::string::npos);
}

TEST_F(SubBuilderTest, FullDiskFailsTheBuildAndSaysWhy)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CBoxSource source(m_sink);
    source.size = QSize(1900, 120);
    source.AddLines(40);
    SBuildTrack tracks[2];
    tracks[1].source = &source;
    EXPECT_EQ(CSubBuilder::Build(Options("/dev/full"), tracks), BuildResult::Failed);
    ASSERT_FALSE(m_sink.messages.empty());
    EXPECT_NE(m_sink.messages.back().text.find("/dev/full"), std::string::npos);
    EXPECT_TRUE(fs::exists("/dev/full")); // devices are never removed
}

TEST_F(SubBuilderTest, LinesOutsideTheFrameAreCutAtItsEdges)
{
    CBoxSource source(m_sink);
    source.AddLines(3);
    source.lines[0].x = 1800; // sticks out on the right
    source.lines[0].y = 500;
    source.lines[1].x = 3000; // entirely outside
    source.lines[1].y = 500;
    SBuildTrack tracks[2];
    tracks[1].source = &source;
    ASSERT_EQ(CSubBuilder::Build(Options(Path("cropped.sup")), tracks), BuildResult::Written);
    ASSERT_EQ(m_sink.messages.size(), 1u);
    EXPECT_EQ(m_sink.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(m_sink.messages[0].text, "2 line(s) did not fit in the video frame and were cut at "
                                       "its edges (the first is line 1).");
}

} // namespace
} // namespace quillary::build
