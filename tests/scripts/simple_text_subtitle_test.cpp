// CSimpleTextSubtitle: adding entries and styles, unknown styles, syntax errors, side files and
// the Unicode text of entries.
#include "script_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillary::scripts {
namespace {

using test::CRecordingMessageSink;
using test::OpenScript;

std::unique_ptr<STSStyle> StyleWithSize(double size)
{
    auto style = std::make_unique<STSStyle>();
    style->fontSize = size;
    return style;
}

TEST(SimpleTextSubtitleTest, AddNormalisesTextAndStyleName)
{
    CSimpleTextSubtitle script;
    script.Add(QStringLiteral("  a\r\nb\n "), true, 10, 20, "**Main");
    script.Add(QStringLiteral(" \t "), true, 0, 1);
    script.Add(QStringLiteral("x"), true, 5, 4);
    script.Add(QStringLiteral("same"), false, 7, 7, "");
    ASSERT_EQ(script.GetCount(), 2u);
    EXPECT_EQ(script.entries[0].text, "a\\Nb");
    EXPECT_EQ(script.entries[0].styleName, "Main");
    EXPECT_EQ(script.entries[0].readOrder, 0);
    EXPECT_TRUE(script.entries[0].isUnicode);
    EXPECT_EQ(script.entries[1].styleName, "Default");
    EXPECT_EQ(script.entries[1].readOrder, 1);
    EXPECT_FALSE(script.entries[1].isUnicode);
}

TEST(SimpleTextSubtitleTest, StyleEqualityIgnoresOnlyShear)
{
    const STSStyle base;
    STSStyle sheared = base;
    sheared.shearX = 0.5;
    sheared.shearY = -1;
    EXPECT_TRUE(sheared == base);
    std::vector<std::pair<const char*, void (*)(STSStyle&)>> changes{
        {"font name", [](STSStyle& s) { s.fontName = "arial"; }},
        {"margin", [](STSStyle& s) { s.margins.bottom = 21; }},
        {"alpha", [](STSStyle& s) { s.alpha[3] = 0; }},
        {"relative to", [](STSStyle& s) { s.relativeTo = 0; }},
        {"angle", [](STSStyle& s) { s.angleY = 1e-9; }},
    };
    for (const auto& [name, change] : changes) {
        STSStyle other = base;
        change(other);
        EXPECT_FALSE(other == base) << name;
    }
    const SFontDescription font = base.ToFontDescription();
    EXPECT_EQ(font.height, 24);
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.faceName, "Arial");
}

TEST(SimpleTextSubtitleTest, AddStyleMovesAClashingStyleToANumberedName)
{
    CSimpleTextSubtitle script;
    script.AddStyle("Main", StyleWithSize(10));
    script.Add(QStringLiteral("first"), true, 0, 1, "Main");
    script.AddStyle("Main", StyleWithSize(20));
    script.Add(QStringLiteral("second"), true, 0, 1, "Main");
    script.AddStyle("Main", StyleWithSize(20)); // identical: nothing changes
    script.AddStyle("Main", StyleWithSize(30));
    EXPECT_EQ(script.styles.Lookup("Main2")->fontSize, 10);
    EXPECT_EQ(script.styles.Lookup("Main3")->fontSize, 20);
    EXPECT_EQ(script.styles.Lookup("Main")->fontSize, 30);
    EXPECT_EQ(script.styles.GetCount(), 3u);
    EXPECT_EQ(script.entries[0].styleName, "Main2");
    EXPECT_EQ(script.entries[1].styleName, "Main3");

    script.AddStyle("Title9", StyleWithSize(1));
    script.AddStyle("Title9", StyleWithSize(2));
    EXPECT_EQ(script.styles.Lookup("Title10")->fontSize, 1);
    EXPECT_EQ(script.styles.Lookup("Title9")->fontSize, 2);

    script.AddStyle("", StyleWithSize(5));
    EXPECT_EQ(script.styles.Lookup("Default")->fontSize, 5);
}

TEST(SimpleTextSubtitleTest, UnknownStylesWarnOncePerNameUntilCancelled)
{
    const QByteArray ssa = "[Script Info]\nScriptType: v4.00+\n[V4+ Styles]\n"
                           "Style: Main,Arial,20,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,"
                           "0,100,100,0,0,1,2,2,2,10,10,10,1\n[Events]\n"
                           "Dialogue: 0,0:00:01.00,0:00:02.00,main,,0,0,0,,a\n"
                           "Dialogue: 0,0:00:01.00,0:00:02.00,main,,0,0,0,,b\n"
                           "Dialogue: 0,0:00:01.00,0:00:02.00,Other,,0,0,0,,c\n"
                           "Dialogue: 0,0:00:01.00,0:00:02.00,DEFAULT,,0,0,0,,d\n"
                           "Dialogue: 0,0:00:01.00,0:00:02.00,Main,,0,0,0,,e\n";
    struct Case {
        MessageAnswer answer;
        size_t warnings;
    };
    for (const Case c : {Case{MessageAnswer::Ok, 2}, Case{MessageAnswer::Cancel, 1}}) {
        SCOPED_TRACE(c.warnings);
        CRecordingMessageSink sink(c.answer);
        CSimpleTextSubtitle script(&sink);
        ASSERT_TRUE(OpenScript(script, ssa));
        ASSERT_EQ(sink.messages.size(), c.warnings);
        EXPECT_EQ(sink.messages[0].text, "Unknown style found: \"main\", changed to \"Default\"!"
                                         "\n\nPress Cancel to ignore further warnings.");
        EXPECT_EQ(sink.messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(sink.messages[0].buttons, MessageButtons::OkCancel);
        std::vector<std::string> styles;
        for (const auto& entry : script.entries) {
            styles.push_back(entry.styleName);
        }
        EXPECT_EQ(styles,
                  (std::vector<std::string>{"Default", "Default", "Default", "Default", "Main"}));
        EXPECT_TRUE(script.usingAutoDefaultStyle);
    }
}

TEST(SimpleTextSubtitleTest, SyntaxErrorNamesTheLineAndEmptiesTheScript)
{
    struct Case {
        const char* name;
        QByteArray script;
        const char* message;
    };
    const std::vector<Case> cases{
        {"bad second time line",
         "1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:03,000 -> 00:00:04,000\nB\n",
         "Syntax error at line 6!\t"},
        {"counted after the mark, with CR LF",
         "\xEF\xBB\xBF"
         "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n2\r\nnot a time\r\n",
         "Syntax error at line 6!\t"},
        {"bracketed hours", "{0:00:01}{0:00:03}A\n\n{0:00:04}0:00:05}B\n",
         "Syntax error at line 3!\t"},
        {"subviewer", "00:00:01.00,00:00:02.00\nA\n\nbad\n", "Syntax error at line 4!\t"},
        {"microdvd", "{1}{2}A\nB\n", "Syntax error at line 2!\t"},
        {"hours first", "0:00:01:A\nnope\n", "Syntax error at line 2!\t"},
        {"xss", "line=D,1,0,0:00:01.000,0:00:02.000,a,b,c,0,0,0,x\nscreenvertical=\n",
         "Syntax error at line 2!\t"},
        {"bad dialogue after good ones",
         "[Script Info]\n[Events]\nDialogue: Marked=0,0:00:01.00,0:00:02.00,Default,,0,0,0,,a\n"
         "; comment\nDialogue: Marked=0,x\n",
         "Syntax error at line 5!\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRecordingMessageSink sink;
        CSimpleTextSubtitle script(&sink);
        EXPECT_FALSE(OpenScript(script, c.script));
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].text, c.message);
        EXPECT_EQ(sink.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(script.GetCount(), 0u);
        EXPECT_EQ(script.styles.GetCount(), 0u);
    }
}

TEST(SimpleTextSubtitleTest, OpensByNameWithSideStyleFileAndAutoDefault)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(QStringLiteral("movie.en.srt"), "1\n00:00:01,000 --> 00:00:02,000\nA\n");
    write(QStringLiteral("plain.srt"), "1\n00:00:01,000 --> 00:00:02,000\nA\n");
    write(QStringLiteral("movie.en.srt.style"),
          "[V4+ Styles]\nStyle: Main,Tahoma,30,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,"
          "0,0,100,100,0,0,1,2,2,2,10,10,10,1\n");

    CSimpleTextSubtitle script;
    ASSERT_TRUE(script.Open(dir.filePath(QStringLiteral("movie.en.srt")), 204));
    EXPECT_EQ(script.name, "en");
    EXPECT_EQ(script.mode, 0);
    EXPECT_EQ(script.encoding, CTextFile::Encoding::Ascii);
    EXPECT_EQ(script.path, dir.filePath(QStringLiteral("movie.en.srt")).toStdString());
    ASSERT_NE(script.styles.Lookup("Main"), nullptr);
    EXPECT_EQ(script.styles.Lookup("Main")->fontName, "Tahoma");
    ASSERT_NE(script.styles.Lookup("Default"), nullptr);
    EXPECT_EQ(script.styles.Lookup("Default")->charSet, 204);
    EXPECT_TRUE(script.usingAutoDefaultStyle);

    ASSERT_TRUE(script.Open(dir.filePath(QStringLiteral("plain.srt")), 1, "given"));
    EXPECT_EQ(script.name, "given");
    EXPECT_EQ(script.styles.GetCount(), 1u);

    EXPECT_FALSE(script.Open(dir.filePath(QStringLiteral("missing.srt")), 1));
}

TEST(SimpleTextSubtitleTest, DerivesTheScriptName)
{
    EXPECT_EQ(ScriptNameFromFileName(QStringLiteral("C:\\subs\\movie.en.srt")), "en");
    EXPECT_EQ(ScriptNameFromFileName(QStringLiteral("/a/b/film.srt")), "film");
    EXPECT_EQ(ScriptNameFromFileName(QStringLiteral("noext")), "noext");
}

TEST(SimpleTextSubtitleTest, GetStyleFallsBackToDefaultAndItsRelativeTo)
{
    CSimpleTextSubtitle script;
    script.Add(QStringLiteral("a"), true, 0, 1, "Missing");
    STSStyle style;
    ASSERT_TRUE(script.GetStyle(0, style));
    EXPECT_EQ(style.charSet, 1);
    EXPECT_TRUE(script.usingAutoDefaultStyle);
    EXPECT_FALSE(script.GetStyle(1, style));

    script.styles.Lookup("Default")->relativeTo = 1;
    auto main = std::make_unique<STSStyle>();
    main->charSet = 128;
    script.AddStyle("Main", std::move(main));
    script.Add(QString::fromLatin1("\x83\x7C"), false, 0, 1, "Main");
    ASSERT_TRUE(script.GetStyle(1, style));
    EXPECT_EQ(style.relativeTo, 1);
    EXPECT_EQ(script.GetCharSet(1), 128);
    EXPECT_EQ(script.GetText(1), QStringLiteral(u"\u30DD"));
}

TEST(SimpleTextSubtitleTest, EmptyKeepsScriptSettings)
{
    CSimpleTextSubtitle script;
    script.playResX = 640;
    script.wrapStyle = 2;
    script.videoWidth = 1920;
    script.frameRate = 25;
    script.Add(QStringLiteral("a"), true, 0, 1);
    script.CreateDefaultStyle(1);
    script.Empty();
    EXPECT_EQ(script.GetCount(), 0u);
    EXPECT_EQ(script.styles.GetCount(), 0u);
    EXPECT_EQ(script.playResX, 640);
    EXPECT_EQ(script.wrapStyle, 2);
    EXPECT_EQ(script.videoWidth, 0);
    EXPECT_EQ(script.frameRate, 0.0f);
}

} // namespace
} // namespace quillary::scripts
