// SubStation Alpha and XSS scripts: header keys, style and event layouts, failures.
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillary::scripts {
namespace {

using test::OpenScript;

const QByteArray kV4PlusStyles =
    "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
    "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, "
    "Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n";

QByteArray Events(const QByteArray& dialogue)
{
    return "[Events]\nDialogue: " + dialogue + "\n";
}

TEST(SsaParserTest, CompletesThePlayResolution)
{
    struct Case {
        const char* header;
        int32_t x;
        int32_t y;
    };
    const std::vector<Case> cases{
        {"PlayResX: 640\n", 640, 480},
        {"PlayResY: 1024\n", 1280, 1024},
        {"PlayResX: 1280\n", 1280, 1024},
        {"PlayResY: 480\n", 640, 480},
        {"PlayResX: 704\nPlayResY: 400\n", 704, 400},
        {"PlayResX: 0x280\n", 640, 480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        CSimpleTextSubtitle script;
        ASSERT_TRUE(OpenScript(script, QByteArray("[Script Info]\n") + c.header));
        EXPECT_EQ(script.format, ScriptFormat::SubStationAlpha);
        EXPECT_EQ(script.playResX, c.x);
        EXPECT_EQ(script.playResY, c.y);
    }
}

TEST(SsaParserTest, ReadsHeaderKeys)
{
    CSimpleTextSubtitle script;
    ASSERT_TRUE(OpenScript(script, "[Script Info]\n; a comment\nWrapStyle: 2\n"
                                   "Collisions: Reverse\nScaledBorderAndShadow: Yes\n"
                                   "Video File: movie.avi,rate:23.976:size:1920,h:1080\n"));
    EXPECT_EQ(script.wrapStyle, 2);
    EXPECT_EQ(script.collisions, 1);
    EXPECT_TRUE(script.scaledBorderAndShadow);
    EXPECT_FLOAT_EQ(script.frameRate, 23.976f);
    EXPECT_EQ(script.videoWidth, 1920);
    EXPECT_EQ(script.videoHeight, 1080);
    EXPECT_EQ(script.GetCount(), 0u);
}

TEST(SsaParserTest, RejectsBadValues)
{
    const std::vector<const char*> cases{
        "[Script Info]\nPlayResX:\n",
        "[Script Info]\nPlayResY: tall\n",
        "[Script Info]\nWrapStyle: x\n",
        "[Events]\n[Script Info]\n",
        // Values that fail a field reader fail the file like a bad play resolution.
        "[Script Info]\nCollisions:\n",
        "[Script Info]\nScaledBorderAndShadow:\n",
        "[Script Info]\nVideo File: movie.avi,rate:fast:size:1920,h:1080\n",
        "[Script Info]\nVideo File: movie.avi,rate:25::1920,h:1080\n",
        "[Script Info]\n[V4+ Styles]\nStyle: Main,Arial,big\n",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        CSimpleTextSubtitle script;
        EXPECT_FALSE(OpenScript(script, text));
        EXPECT_EQ(script.playResX, 0);
    }
}

TEST(SsaParserTest, V4PlusStylesSplitAlphaAndNormalise)
{
    CSimpleTextSubtitle script;
    ASSERT_TRUE(OpenScript(
        script, "[Script Info]\nScriptType: v4.00+\n" + kV4PlusStyles +
                    "Style: *Main,Tahoma,36.5,&H80FF0000,&H000000FF,&HFF00FF00,-2147483640,-1,1,"
                    "1,0,-5,110,-2,15,3,-1,2.5,7,11,12,13,128\n"));
    const STSStyle* s = script.styles.Lookup("Main");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->fontName, "Tahoma");
    EXPECT_EQ(s->fontSize, 36.5);
    EXPECT_EQ(s->colors, (std::array<uint32_t, 4>{0xFF0000, 0x0000FF, 0x00FF00, 0x000008}));
    EXPECT_EQ(s->alpha, (std::array<uint8_t, 4>{0x80, 0, 0xFF, 0x80}));
    EXPECT_EQ(s->fontWeight, 700);
    EXPECT_TRUE(s->italic);
    EXPECT_TRUE(s->underline);
    EXPECT_FALSE(s->strikeOut);
    EXPECT_EQ(s->fontScaleX, 0.0);
    EXPECT_EQ(s->fontScaleY, 110.0);
    EXPECT_EQ(s->fontSpacing, 0.0);
    EXPECT_EQ(s->angleZ, 15.0);
    EXPECT_EQ(s->borderStyle, 1);
    EXPECT_EQ(s->outlineWidthX, 0.0);
    EXPECT_EQ(s->shadowDepthY, 2.5);
    EXPECT_EQ(s->alignment, 7);
    EXPECT_EQ(s->margins, (SMargins{11, 13, 12, 13}));
    EXPECT_EQ(s->charSet, 128);
    EXPECT_EQ(s->relativeTo, 2);
}

TEST(SsaParserTest, V4StylesUseTheOldAlignmentAndOneAlphaLevel)
{
    struct Case {
        int oldAlignment;
        int alphaLevel;
        int32_t alignment;
        uint8_t alpha;
    };
    const std::vector<Case> cases{
        {6, 300, 8, 255}, {10, -4, 5, 0}, {9, 64, 4, 64}, {2, 0, 2, 0}, {5, 0, 7, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oldAlignment);
        CSimpleTextSubtitle script;
        const QByteArray style = QByteArray("Style: Old,Arial,20,16777215,65535,255,12345,0,0,1,") +
                                 "2,1," + QByteArray::number(c.oldAlignment) + ",30,40,50," +
                                 QByteArray::number(c.alphaLevel) + ",0\n";
        ASSERT_TRUE(OpenScript(script, "[Script Info]\nScriptType: v4.00\n[V4 Styles]\n" + style));
        const STSStyle* s = script.styles.Lookup("Old");
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->alignment, c.alignment);
        EXPECT_EQ(s->alpha, (std::array<uint8_t, 4>{c.alpha, c.alpha, c.alpha, 0x80}));
        EXPECT_EQ(s->colors[2], 12345u);
        EXPECT_EQ(s->colors[3], 12345u);
        EXPECT_EQ(s->borderStyle, 0);
        EXPECT_EQ(s->outlineWidthX, 2.0);
        EXPECT_EQ(s->margins, (SMargins{30, 50, 40, 50}));
        EXPECT_EQ(s->charSet, 0);
    }
}

TEST(SsaParserTest, V4PlusPlusHasBottomMarginAndRelativeTo)
{
    CSimpleTextSubtitle script;
    ASSERT_TRUE(OpenScript(
        script, "[Script Info]\nScriptType: v4.00++\n[V4++ Styles]\n"
                "Style: P,Arial,20,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,"
                "0,0,1,2,2,2,10,20,30,40,1,1\n" +
                    Events("3,0:00:01.00,0:00:02.00,P,Bob,1,2,3,4,Scroll up;,Hi")));
    const STSStyle* s = script.styles.Lookup("P");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->margins, (SMargins{10, 30, 20, 40}));
    EXPECT_EQ(s->charSet, 1);
    EXPECT_EQ(s->relativeTo, 1);
    ASSERT_EQ(script.GetCount(), 1u);
    const STSEntry& e = script.entries[0];
    EXPECT_EQ(e.layer, 3);
    EXPECT_EQ(e.margins, (SMargins{1, 3, 2, 4}));
    EXPECT_EQ(e.actor, "Bob");
    EXPECT_EQ(e.effect, "Scroll up;");
    EXPECT_EQ(e.text, "Hi");
}

struct DialogueCase {
    const char* name;
    QByteArray header; // script type and styles
    QByteArray dialogue;
    bool added;
    QString text;
    std::string effect;
    int32_t layer = 0;
    std::string style = "Default";
    int32_t start = 1500;
};

TEST(SsaParserTest, DialogueLines)
{
    const QByteArray plus = "ScriptType: v4.00+\n";
    const std::vector<DialogueCase> cases{
        {"commas stay in the text", plus, "0,0:00:01.50,0:00:02.00,Default,,0,0,0,,a, b,, c", true,
         "a, b,, c", ""},
        {"banner effect with nothing after it adds nothing", plus,
         "0,0:00:01.50,0:00:02.00,Default,,0,0,0,Banner;5,", false, "", ""},
        {"effect and text", plus, "2,0:00:01.50,0:00:02.00,Default,,0,0,0,Banner;5,Text", true,
         "Text", "Banner;5", 2},
        {"an effect field with no comma is the text", plus,
         "0,0:00:01.50,0:00:02.00,Default,,0,0,0,Hello", true, "Hello", ""},
        {"style name case and stars", plus, "0,0:00:01.50,0:00:02.00,*dEfAuLt,,0,0,0,,x", true, "x",
         ""},
        {"4.00 layout has a Marked field", "ScriptType: v4.00\n",
         "Marked=0,0:00:01.50,0:00:02.00,Default,,0,0,0,,x", true, "x", ""},
        {"4.00+ styles without a script type drop the layer", "",
         "7,0:00:01.50,0:00:02.00,Default,,0,0,0,,x", true, "x", "", 0},
        {"hours and hundredths", plus, "0,1:02:03.45,1:02:04.00,Default,,0,0,0,,x", true, "x", "",
         0, "Default", 3723450},
    };
    for (const DialogueCase& c : cases) {
        SCOPED_TRACE(c.name);
        CSimpleTextSubtitle script;
        ASSERT_TRUE(
            OpenScript(script, "[Script Info]\n" + c.header + kV4PlusStyles + Events(c.dialogue)));
        ASSERT_EQ(script.GetCount(), c.added ? 1u : 0u);
        if (c.added) {
            const STSEntry& e = script.entries[0];
            EXPECT_EQ(e.text, c.text);
            EXPECT_EQ(e.effect, c.effect);
            EXPECT_EQ(e.layer, c.layer);
            EXPECT_EQ(e.styleName, c.style);
            EXPECT_EQ(e.start, c.start);
        }
    }
}

TEST(SsaParserTest, Utf8NamesStayReadable)
{
    CSimpleTextSubtitle script;
    ASSERT_TRUE(
        OpenScript(script, "[Script Info]\nScriptType: v4.00+\n" + kV4PlusStyles +
                               "Style: 字幕,ＭＳ ゴシック,20,0,0,0,0,0,0,0,0,100,100,0,0,1,2,"
                               "2,2,10,10,10,128\n" +
                               Events("0,0:00:01.00,0:00:02.00,字幕,,0,0,0,,日本語")));
    const STSStyle* s = script.styles.Lookup("字幕");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->fontName, "ＭＳ ゴシック");
    ASSERT_EQ(script.GetCount(), 1u);
    EXPECT_EQ(script.entries[0].styleName, "字幕");
    EXPECT_EQ(script.GetText(0), QStringLiteral(u"日本語"));
}

TEST(SsaParserTest, XssScripts)
{
    const QByteArray xss =
        "version=1.0\nscreenhorizontal=640\n"
        "style=Main,Sub,Verdana,20,16777215,65535,0,0,0,0,0,128,1,0,1,0,1,-100,100,-1,0,0,5,3,"
        "-2,1,2,10,20,30,1\n"
        "line=C,ignored\n"
        "line=D,1,4,0:00:01.250,0:00:02.500,Main,Sub,Bob,1,2,3,Hello, world\n";
    CSimpleTextSubtitle script;
    ASSERT_TRUE(OpenScript(script, xss));
    EXPECT_EQ(script.format, ScriptFormat::Xss);
    EXPECT_EQ(script.playResX, 640);
    EXPECT_EQ(script.playResY, 480);
    const STSStyle* s = script.styles.Lookup("Main_Sub");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->fontName, "Verdana");
    EXPECT_EQ(s->alpha, (std::array<uint8_t, 4>{0, 0, 0, 128}));
    EXPECT_EQ(s->fontWeight, 700);
    EXPECT_TRUE(s->underline);
    EXPECT_EQ(s->edgeBlur, 1);
    EXPECT_EQ(s->fontScaleX, 0.0);
    EXPECT_EQ(s->fontSpacing, 0.0);
    EXPECT_EQ(s->angleZ, 5.0);
    EXPECT_EQ(s->borderStyle, 1);
    EXPECT_EQ(s->outlineWidthX, 0.0);
    EXPECT_EQ(s->shadowDepthX, 1.0);
    EXPECT_EQ(s->alignment, 2);
    EXPECT_EQ(s->margins, (SMargins{10, 30, 20, 30}));
    ASSERT_EQ(script.GetCount(), 1u);
    const STSEntry& e = script.entries[0];
    EXPECT_EQ(e.start, 1250);
    EXPECT_EQ(e.end, 2500);
    EXPECT_EQ(e.styleName, "Main_Sub");
    EXPECT_EQ(e.actor, "Bob");
    EXPECT_EQ(e.layer, 4);
    EXPECT_EQ(e.margins, (SMargins{1, 3, 2, 3}));
    EXPECT_EQ(e.text, "Hello, world");

    for (const char* bad :
         {"version=one\nline=D,1,0,0:00:01.000,0:00:02.000,a,b,c,0,0,0,x\n", "screenvertical=\n"}) {
        SCOPED_TRACE(bad);
        CSimpleTextSubtitle rejected;
        EXPECT_FALSE(OpenScript(rejected, bad));
    }
}

} // namespace
} // namespace quillary::scripts
