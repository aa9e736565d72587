// CTextSub: opening scripts by extension, load failures, line kinds and texts, rendering with the
// template (the frame-size refusal, the anamorphic squeeze, lines without text), and the template
// as the default style of SubRip scripts.
#include "layout/rendered_text_subtitle.h"
#include "sources/text_sub.h"
#include "support/recording_sink.h"
#include "textrender/text_tmp.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace quillary::sources {
namespace {

class TextSubTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_style = textrender::CTextTmp::StoreDefaults();
        m_style.fontName = "DejaVu Sans";
        m_style.fontSize = 40;
    }

    QString Write(const QString& name, const QByteArray& content)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    std::unique_ptr<CTextSub> Open(const QString& path)
    {
        return OpenSubtitleFile(path, m_style, m_sink);
    }

    QTemporaryDir m_dir;
    textrender::CTextTmp m_style;
    test::CRecordingSink m_sink;
};

const QByteArray kThreeLines =
    "1\n00:00:01,000 --> 00:00:03,000\nOne row\n\n"
    "2\n00:00:04,000 --> 00:00:06,000\nFirst row\nSecond row\nThird row\n\n"
    "3\n00:00:07,000 --> 00:00:09,000\n<i></i>\n\n";

TEST_F(TextSubTest, ExtensionsDecideWhatOpens)
{
    struct Case {
        const char* name;
        bool opens;
    };
    for (const Case c : {Case{"lines.srt", true}, Case{"LINES.SRT", true}, Case{"lines.ass", true},
                         Case{"lines.ssa", true}, Case{"lines.sst", false},
                         Case{"lines.xml", false}, Case{"lines.txt", false}}) {
        SCOPED_TRACE(c.name);
        m_sink.messages.clear();
        const QString path = Write(c.name, kThreeLines);
        const auto source = Open(path);
        EXPECT_EQ(source != nullptr, c.opens);
        if (!c.opens) {
            ASSERT_EQ(m_sink.messages.size(), 1u);
            EXPECT_EQ(m_sink.messages[0].text,
                      (path + "\r\nUnknown subtitle format! ").toStdString());
        }
    }
    EXPECT_TRUE(Open(Write("upper.SRT", kThreeLines))->IsSubRip());
    EXPECT_FALSE(Open(Write("subrip-inside.ass", kThreeLines))->IsSubRip());
}

TEST_F(TextSubTest, LoadFailuresSayWhy)
{
    const QString missing = m_dir.filePath("missing.srt");
    EXPECT_EQ(Open(missing), nullptr);
    ASSERT_EQ(m_sink.messages.size(), 1u);
    EXPECT_EQ(m_sink.messages[0].text, (missing + "\n\rread error! ").toStdString());

    m_sink.messages.clear();
    const QString empty = Write("empty.ass", "[Script Info]\nScriptType: v4.00+\n\n[Events]\n"
                                             "Format: Layer, Start, End, Style, Name, MarginL, "
                                             "MarginR, MarginV, Effect, Text\n");
    EXPECT_EQ(Open(empty), nullptr);
    ASSERT_EQ(m_sink.messages.size(), 1u);
    EXPECT_EQ(m_sink.messages[0].text, (empty + "\n\rSubtitle is empty! ").toStdString());
}

TEST_F(TextSubTest, LinesKindsAndTexts)
{
    const auto source = Open(Write("lines.srt", kThreeLines));
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->lines.size(), 3u);
    EXPECT_EQ(source->kind, 0);
    EXPECT_EQ(source->lines[1].start, 4000);
    EXPECT_EQ(source->lines[1].entryIndex, 1);
    EXPECT_EQ(source->LineKind(0), 1);
    EXPECT_EQ(source->LineKind(1), 3);
    EXPECT_EQ(source->LineText(1), "First row\\NSecond row\\NThird row");
    source->InsertImageLine("/tmp/picture.png", {0, 0}, -1);
    EXPECT_EQ(source->LineKind(3), 2);
    EXPECT_EQ(source->LineText(3), "/tmp/picture.png");
}

TEST_F(TextSubTest, SubRipTakesTheTemplateAsItsDefaultStyle)
{
    m_style.fontStyle = textrender::kFontStyleBold | textrender::kFontStyleItalic;
    const auto source = Open(Write("lines.srt", kThreeLines));
    ASSERT_NE(source, nullptr);
    const scripts::STSStyle* style = source->Script()->styles.Lookup("Default");
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->fontName, "DejaVu Sans");
    EXPECT_EQ(style->fontSize, 40);
    EXPECT_EQ(style->fontWeight, 700);
    EXPECT_TRUE(style->italic);
    EXPECT_FALSE(style->underline);
    EXPECT_FALSE(source->Script()->usingAutoDefaultStyle);
    EXPECT_EQ(source->Script()->playResX, 1920);
    EXPECT_EQ(source->Script()->playResY, 1080);
}

TEST_F(TextSubTest, RenderingAtFrameSizes)
{
    const auto source = Open(Write("lines.srt", kThreeLines));
    ASSERT_NE(source, nullptr);
    SRenderRequest request;
    request.frameSizeIndex = 0;
    ASSERT_TRUE(source->Render(0, request));
    ASSERT_FALSE(request.bitmap.isNull());
    EXPECT_EQ(request.bitmap.format(), QImage::Format_ARGB32);
    const int fullWidth = request.bitmap.width();
    const int height = request.bitmap.height();

    // 1440 x 1080 stores lines three quarters as wide; so do the SD sizes when asked.
    struct Case {
        int sizeIndex;
        bool flag;
        int width;
    };
    for (const Case c :
         {Case{1, false, fullWidth * 3 / 4}, Case{2, false, fullWidth}, Case{3, false, fullWidth},
          Case{3, true, fullWidth * 3 / 4}, Case{4, true, fullWidth * 3 / 4}}) {
        SCOPED_TRACE(c.sizeIndex);
        request.Reset();
        request.frameSizeIndex = c.sizeIndex;
        request.renderFlag = c.flag;
        ASSERT_TRUE(source->Render(0, request));
        EXPECT_EQ(request.bitmap.width(), c.width);
        EXPECT_EQ(request.bitmap.height(), height);
    }

    // A line with nothing to draw shows nothing, without failing.
    request.Reset();
    EXPECT_TRUE(source->Render(2, request));
    EXPECT_TRUE(request.bitmap.isNull());
    EXPECT_TRUE(m_sink.messages.empty());
}

TEST_F(TextSubTest, LinesLargerThanTheFrameAreRefused)
{
    m_style.fontSize = 400;
    const auto source = Open(Write("lines.srt", kThreeLines));
    ASSERT_NE(source, nullptr);
    SRenderRequest request;
    request.frameSizeIndex = 3; // 720 x 480
    EXPECT_FALSE(source->Render(1, request));
    EXPECT_TRUE(request.bitmap.isNull());
    ASSERT_EQ(m_sink.messages.size(), 1u);
    EXPECT_EQ(m_sink.messages[0].text,
              "Font is too big. Subtitle cannot be fully shown! \nLine: 2");
}

TEST_F(TextSubTest, ExplicitPositionsOfLinesReachTheRequest)
{
    const auto source = Open(Write("lines.srt", kThreeLines));
    ASSERT_NE(source, nullptr);
    source->lines[0].x = 12;
    source->lines[0].y = 34;
    SRenderRequest request;
    ASSERT_TRUE(source->Render(0, request));
    EXPECT_EQ(request.explicitX, 12);
    EXPECT_EQ(request.explicitY, 34);
}

} // namespace
} // namespace quillary::sources
