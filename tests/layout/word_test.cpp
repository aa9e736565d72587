// Words: measuring text and drawings, the fallback font, and joining words into runs.
#include "layout/line.h"
#include "layout/my_font.h"
#include "layout/word.h"
#include "layout_test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace quillary::layout {
namespace {

using scripts::STSStyle;

// A style as layout hands it to words: 20 pixels high at 64 times the size.
STSStyle MeasuringStyle()
{
    STSStyle style;
    style.fontName = test::kTestFamily;
    style.fontSize = 20 * 64;
    style.fontWeight = 400;
    return style;
}

TEST(Words, TextFlags)
{
    struct Case {
        const char* text;
        bool isWhiteSpace;
        bool isLineBreak;
    };
    const Case cases[] = {
        {" ", true, false},   {"", true, true},         {"a", false, false},
        {"  ", false, false}, {"\u00a0", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CText word(QString::fromUtf8(c.text), MeasuringStyle(), {});
        EXPECT_EQ(word.isWhiteSpace, c.isWhiteSpace);
        EXPECT_EQ(word.isLineBreak, c.isLineBreak);
    }
}

// Characters the face has no glyph for are measured through Qt's font matching.
TEST(Words, CharactersTheFaceLacksStillMeasure)
{
    for (const char* text : {"\u6f22\u5b57", "\U0001F600", "a\u6f22"}) {
        SCOPED_TRACE(text);
        EXPECT_GT(CText(QString::fromUtf8(text), MeasuringStyle(), {}).width, 0);
    }
}

TEST(Words, FontSizeIsTheCellHeight)
{
    const STSStyle style = MeasuringStyle();
    const CMyFont& font = CMyFont::Get(style);
    EXPECT_EQ(font.FamilyName(), QString::fromLatin1(test::kTestFamily));
    // Ascent plus descent is the size: 20 pixels, 160 eighths (each rounded on its own).
    EXPECT_NEAR(font.Ascent() + font.Descent(), 160, 1);
    const CText word(QStringLiteral("Hg"), style, {});
    EXPECT_EQ(word.ascent, font.Ascent());
    EXPECT_EQ(word.descent, font.Descent());
}

TEST(Words, ScalesAndSpacing)
{
    const STSStyle style = MeasuringStyle();
    const int32_t plain = CText(QStringLiteral("lil"), style, {}).width;
    ASSERT_GT(plain, 0);

    STSStyle spaced = style;
    spaced.fontSpacing = 2 * 64; // 2 pixels after each character
    EXPECT_NEAR(CText(QStringLiteral("lil"), spaced, {}).width - plain, 3 * 2 * 8, 1);

    STSStyle wide = style;
    wide.fontScaleX = 200;
    wide.fontScaleY = 50;
    const CText scaled(QStringLiteral("lil"), wide, {});
    EXPECT_NEAR(scaled.width, 2 * plain, 1);
    EXPECT_EQ(scaled.ascent, static_cast<int32_t>(0.5 * CMyFont::Get(style).Ascent()));

    STSStyle squeezed = style;
    squeezed.fontScaleX = 0;
    EXPECT_EQ(CText(QStringLiteral("lil"), squeezed, {}).width, 0);

    // Twice the size, twice the width.
    STSStyle big = style;
    big.fontSize *= 2;
    EXPECT_NEAR(CText(QStringLiteral("lil"), big, {}).width, 2 * plain, 1);
}

TEST(Words, UnknownFaceFallsBackToArial)
{
    STSStyle unknown = MeasuringStyle();
    unknown.fontName = "No Such Face At All";
    STSStyle arial = MeasuringStyle();
    arial.fontName = "Arial";
    EXPECT_EQ(CMyFont::Get(unknown).FamilyName(), QStringLiteral("Arial"));
    EXPECT_EQ(CText(QStringLiteral("Fallback"), unknown, {}).width,
              CText(QStringLiteral("Fallback"), arial, {}).width);
}

TEST(Words, DrawingSizes)
{
    struct Case {
        const char* name;
        const char* drawing;
        double scale; // drawing units to pixels
        int32_t baseline;
        double fontScaleX;
        int32_t width;
        int32_t ascent;
        int32_t descent;
    };
    const Case cases[] = {
        {"square", "m 0 0 l 100 0 100 100 0 100", 1.0, 0, 100, 800, 800, 0},
        {"level 2 halves", "m 0 0 l 100 0 100 100 0 100", 0.5, 0, 100, 400, 400, 0},
        {"baseline offset", "m 0 0 l 100 0 100 100 0 100", 1.0, 20, 100, 800, 640, 160},
        {"horizontal scale", "m 0 0 l 100 0 100 100 0 100", 1.0, 0, 200, 1600, 800, 0},
        {"negative coordinates", "m -10 -10 l 10 10", 1.0, 0, 100, 160, 160, 0},
        {"first command is a line", "l 0 0 100 100", 1.0, 0, 100, 0, 0, 0},
        {"first points from n", "n 0 0 m 10 10 l 100 100", 1.0, 0, 100, 0, 0, 0},
        {"incomplete pair is dropped", "m 0 0 l 50 50 80", 1.0, 0, 100, 400, 400, 0},
        {"bezier cut to whole curves", "m 0 0 b 10 10 20 20 30 30 90 90", 1.0, 0, 100, 240, 240, 0},
        {"short b-spline is dropped", "m 0 0 s 90 90 10 10", 1.0, 0, 100, 0, 0, 0},
        {"b-spline closed", "m 0 0 s 10 0 10 10 0 10 p 5 20 c", 1.0, 0, 100, 80, 160, 0},
        {"no separators", "m0 0l100 0 100 50", 1.0, 0, 100, 800, 400, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        STSStyle style = MeasuringStyle();
        style.fontScaleX = c.fontScaleX;
        const CPolygon drawing(QString::fromUtf8(c.drawing), style, {}, c.scale, c.scale,
                               c.baseline);
        EXPECT_EQ(drawing.width, c.width);
        EXPECT_EQ(drawing.ascent, c.ascent);
        EXPECT_EQ(drawing.descent, c.descent);
    }
}

// Outlines are in font units (1/64 pixel) with the origin at the left end of the baseline.
TEST(Words, Outlines)
{
    const CPolygon square(QStringLiteral("m 0 0 l 100 0 100 100 0 100"), MeasuringStyle(), {}, 1.0,
                          1.0, 10);
    EXPECT_EQ(square.Outline().boundingRect(), QRectF(0, -90 * 64, 100 * 64, 100 * 64));

    const CText text(QStringLiteral("Hg"), MeasuringStyle(), {});
    const QRectF box = text.Outline().boundingRect();
    EXPECT_LT(box.top(), 0);    // H stands on the baseline
    EXPECT_GT(box.bottom(), 0); // g descends below it
    EXPECT_NEAR(box.right() / 8, text.width, text.width / 4);
}

TEST(Words, JoinIntoRuns)
{
    struct Case {
        const char* name;
        std::function<void(STSStyle&, SKaraoke&)> second; // changes the second word
        bool joins;
        bool lineBreak = false;
    };
    const Case cases[] = {
        {"same style", [](STSStyle&, SKaraoke&) {}, true},
        {"other weight", [](STSStyle& s, SKaraoke&) { s.fontWeight = 700; }, false},
        {"other colour", [](STSStyle& s, SKaraoke&) { s.colors[0] = 0xFF; }, false},
        {"shear is ignored", [](STSStyle& s, SKaraoke&) { s.shearX = 0.5; }, true},
        {"karaoke syllable starts", [](STSStyle&, SKaraoke& k) { k.end = 100; }, false},
        {"karaoke type differs", [](STSStyle&, SKaraoke& k) { k.type = 1; }, false},
        {"line break", [](STSStyle&, SKaraoke&) {}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        STSStyle style = MeasuringStyle();
        SKaraoke karaoke;
        CText first(QStringLiteral("Hello"), style, {});
        c.second(style, karaoke);
        const CText second(c.lineBreak ? QString() : QStringLiteral(" "), style, karaoke);
        const int32_t width = first.width + second.width;
        EXPECT_EQ(first.Append(second), c.joins);
        EXPECT_EQ(first.text, c.joins ? QStringLiteral("Hello ") : QStringLiteral("Hello"));
        if (c.joins) {
            EXPECT_EQ(first.width, width);
            EXPECT_FALSE(first.isWhiteSpace);
        }
    }
}

TEST(Words, SpacesJoinAsWhiteSpaceAndDrawingsNever)
{
    const STSStyle style = MeasuringStyle();
    CText space(QStringLiteral(" "), style, {});
    EXPECT_TRUE(space.Append(CText(QStringLiteral(" "), style, {})));
    EXPECT_TRUE(space.isWhiteSpace);

    const CPolygon drawing(QStringLiteral("m 0 0 l 10 10"), style, {}, 1.0, 1.0, 0);
    EXPECT_FALSE(space.Append(drawing));
    CLine line;
    line.AppendRun(drawing);
    line.AppendRun(drawing);
    line.AppendRun(space);
    EXPECT_EQ(line.words.size(), 3u);
    EXPECT_EQ(line.width, 2 * drawing.width + space.width);
}

TEST(Words, CopyKeepsTheMeasurement)
{
    const CText text(QStringLiteral("Copy"), MeasuringStyle(), {1, 10, 20});
    const auto copy = text.Copy();
    EXPECT_EQ(copy->text, text.text);
    EXPECT_EQ(copy->width, text.width);
    EXPECT_EQ(copy->karaokeEnd, 20);
    EXPECT_NE(dynamic_cast<CText*>(copy.get()), nullptr);
}

} // namespace
} // namespace quillary::layout
