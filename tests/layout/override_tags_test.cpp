// Override tags: splitting blocks into commands, reading numbers, and what each tag does to the
// running style and the event.
#include "layout/override_tags.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quillary::layout {
namespace {

using scripts::STSStyle;

TEST(OverrideTags, SplitsBlocksIntoCommands)
{
    struct Case {
        const char* block;
        std::vector<STagCommand> commands;
    };
    const auto cmd = [](const char* name, std::vector<QString> params) {
        return STagCommand{QString::fromUtf8(name), std::move(params)};
    };
    const Case cases[] = {
        {"a comment", {}},
        {"\\b1", {cmd("b", {"1"})}},
        {"\\fs+2\\fscx-50", {cmd("fs", {"+2"}), cmd("fscx", {"-50"})}},
        {"\\blur2\\bord3\\be1\\b0",
         {cmd("blur", {"2"}), cmd("bord", {"3"}), cmd("be", {"1"}), cmd("b", {"0"})}},
        {"\\c&H00FF00&\\1a&H80&\\alpha&HFF",
         {cmd("c", {"00FF00"}), cmd("1a", {"80"}), cmd("alpha", {"FF"})}},
        {"\\pos( 10 , 20 )", {cmd("pos", {"10", "20"})}},
        {"\\fad(100,200)\\fade(1,2,3,4,5,6,7)",
         {cmd("fad", {"100", "200"}), cmd("fade", {"1", "2", "3", "4", "5", "6", "7"})}},
        // Commas after the first backslash stay with the tags of a "\t".
        {"\\t(0, 500, \\fs30\\bord2,3)", {cmd("t", {"0", "500", "\\fs30\\bord2,3"})}},
        {"\\t(\\frz90)", {cmd("t", {"\\frz90"})}},
        {"\\clip(m 0 0 l 1 1)", {cmd("clip", {"m 0 0 l 1 1"})}},
        {"\\iclip(1,2,3,4)", {cmd("iclip", {"1", "2", "3", "4"})}},
        {"\\pbo5\\p1", {cmd("pbo", {"5"}), cmd("p", {"1"})}},
        {"\\fnDejaVu Sans\\rNote", {cmd("fn", {"DejaVu Sans"}), cmd("r", {"Note"})}},
        {"\\kf20\\K5\\ko3\\kt7\\k",
         {cmd("kf", {"20"}), cmd("K", {"5"}), cmd("ko", {"3"}), cmd("kt", {"7"}), cmd("k", {""})}},
        {"\\frx1\\fr2\\fax3", {cmd("frx", {"1"}), cmd("fr", {"2"}), cmd("fax", {"3"})}},
        {"\\\\  \\ \\i1", {cmd("i", {"1"})}},
        {"\\unknown7", {cmd("u", {"nknown7"})}},
        {"\\zzz", {cmd("zzz", {})}},
        {"\\pos(1,2", {cmd("pos", {"1", "2"})}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        EXPECT_EQ(SplitTags(QString::fromUtf8(c.block)), c.commands);
    }
}

TEST(OverrideTags, ReadsNumbersLikeTheCLibrary)
{
    struct Case {
        const char* text;
        int base;
        int64_t integer;
        double real;
    };
    const Case cases[] = {
        {"12", 10, 12, 12.0},        {"  -7x", 10, -7, -7.0},
        {"+3.75", 10, 3, 3.75},      {"", 10, 0, 0.0},
        {"abc", 10, 0, 0.0},         {"FF", 16, 255, 0.0},
        {"00ff00", 16, 0xFF00, 0.0}, {"0x1A", 16, 26, 0.0},
        {"1e2", 10, 1, 100.0},       {"--1", 10, 0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(ReadInt(text, c.base), c.integer);
        if (c.base == 10) {
            EXPECT_DOUBLE_EQ(ReadReal(text), c.real);
        }
    }
}

// Everything one block changes, with the entry's style 20 pixels high and not bold.
struct SParsed {
    STSStyle style;
    STSStyle eventStyle;
    scripts::CSTSStyleMap styles;
    CSubtitle subtitle;
    SKaraoke karaoke;
    int32_t drawingScale = 0;
    int32_t drawingBaseline = 0;
    SAnimation animation;

    explicit SParsed(const char* block, const char* initial = "")
    {
        eventStyle.fontSize = 20;
        eventStyle.fontWeight = 400;
        auto note = std::make_unique<STSStyle>(eventStyle);
        note->fontSize = 30;
        note->italic = true;
        styles.SetAt("Note", std::move(note));
        style = eventStyle;
        subtitle.scrAlignment = -2;
        subtitle.wrapStyle = 1;
        STagState state{style,        eventStyle,      styles,    subtitle, karaoke,
                        drawingScale, drawingBaseline, animation, 1,        true};
        ApplyTags(QString::fromUtf8(initial), state);
        ApplyTags(QString::fromUtf8(block), state);
    }
};

TEST(OverrideTags, ChangeTheRunningStyle)
{
    struct Case {
        const char* block;
        std::function<void(STSStyle&)> expect; // applied to the entry's style
        const char* initial = "";              // a block parsed before
    };
    const Case cases[] = {
        {"\\b1", [](STSStyle& s) { s.fontWeight = 700; }},
        {"\\b0", [](STSStyle& s) { s.fontWeight = 400; }, "\\b1"},
        {"\\b700", [](STSStyle& s) { s.fontWeight = 700; }},
        {"\\b600", [](STSStyle& s) { s.fontWeight = 600; }},
        {"\\b2", [](STSStyle&) {}, "\\b1"},
        {"\\b", [](STSStyle&) {}, "\\b600"},
        {"\\i1\\u1\\s1", [](STSStyle& s) { s.italic = s.underline = s.strikeOut = true; }},
        {"\\i5", [](STSStyle&) {}, "\\i1"},
        {"\\fs+2", [](STSStyle& s) { s.fontSize = 24; }},
        {"\\fs-5", [](STSStyle& s) { s.fontSize = 10; }},
        {"\\fs-20", [](STSStyle&) {}, "\\fs30"},
        {"\\fs33.7", [](STSStyle& s) { s.fontSize = 33; }},
        {"\\fs0", [](STSStyle&) {}, "\\fs30"},
        {"\\fs", [](STSStyle&) {}, "\\fs30"},
        {"\\fscx-50", [](STSStyle& s) { s.fontScaleX = 0; }},
        {"\\fscx", [](STSStyle&) {}, "\\fscx150"},
        {"\\fscy60\\fscx70", [](STSStyle& s) { s.fontScaleX = 70, s.fontScaleY = 60; }},
        {"\\fsc", [](STSStyle&) {}, "\\fscx50\\fscy60"},
        {"\\fsp2.5", [](STSStyle& s) { s.fontSpacing = 2.5; }},
        {"\\fe128", [](STSStyle& s) { s.charSet = 128; }},
        {"\\fnDejaVu Serif", [](STSStyle& s) { s.fontName = "DejaVu Serif"; }},
        {"\\fn0", [](STSStyle&) {}, "\\fnDejaVu Serif"},
        {"\\c&H0000FF&\\3c&HFF0000&",
         [](STSStyle& s) { s.colors[0] = 0xFF, s.colors[2] = 0xFF0000; }},
        {"\\1c", [](STSStyle&) {}, "\\1c&H123456&"},
        {"\\alpha&H80&",
         [](STSStyle& s) {
             s.alpha = {0x80, 0x80, 0x80, 0x80};
         }},
        {"\\2a&HFF&", [](STSStyle& s) { s.alpha[1] = 0xFF; }},
        {"\\frx10\\fry20\\fr30", [](STSStyle& s) { s.angleX = 10, s.angleY = 20, s.angleZ = 30; }},
        {"\\bord-3", [](STSStyle& s) { s.outlineWidthX = s.outlineWidthY = 0; }},
        {"\\xbord4\\ybord5", [](STSStyle& s) { s.outlineWidthX = 4, s.outlineWidthY = 5; }},
        {"\\shad-2", [](STSStyle& s) { s.shadowDepthX = s.shadowDepthY = 0; }},
        {"\\xshad-2\\yshad1.5", [](STSStyle& s) { s.shadowDepthX = -2, s.shadowDepthY = 1.5; }},
        {"\\be1.6", [](STSStyle& s) { s.edgeBlur = 2; }},
        {"\\blur-1", [](STSStyle& s) { s.gaussianBlur = 0; }},
        {"\\rNote", [](STSStyle& s) { s.fontSize = 30, s.italic = true; }, "\\b1"},
        {"\\rNoSuchStyle", [](STSStyle&) {}, "\\b1\\fs40"},
        {"\\r", [](STSStyle&) {}, "\\rNote"},
        // Animated values stay as at the animation's start.
        {"\\t(0,500,\\fs40\\b1)", [](STSStyle&) {}},
        {"\\pos(1,2)\\an7\\fad(1,2)\\clip(0,0,5,5)\\org(1,1)", [](STSStyle&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        const SParsed parsed(c.block, c.initial);
        STSStyle expected = parsed.eventStyle;
        c.expect(expected);
        EXPECT_TRUE(parsed.style == expected);
        EXPECT_EQ(parsed.style.fontSize, expected.fontSize);
        EXPECT_EQ(parsed.style.fontWeight, expected.fontWeight);
    }
}

TEST(OverrideTags, ShearIsSetThoughStylesIgnoreItWhenCompared)
{
    const SParsed parsed("\\fax0.5\\fay-0.25");
    EXPECT_EQ(parsed.style.shearX, 0.5);
    EXPECT_EQ(parsed.style.shearY, -0.25);
}

TEST(OverrideTags, ChangeTheEvent)
{
    struct Case {
        const char* block;
        int32_t wrapStyle;
        int32_t alignment;
        bool animated;
        SKaraoke karaoke;
        int32_t drawingScale;
        int32_t drawingBaseline;
    };
    const Case cases[] = {
        {"\\q2", 2, -2, false, {}, 0, 0},
        {"\\q0", 0, -2, false, {}, 0, 0},
        {"\\q7", 1, -2, false, {}, 0, 0},
        {"\\q", 1, -2, false, {}, 0, 0},
        {"\\an7\\an3", 1, 7, false, {}, 0, 0},
        {"\\an12", 1, -2, false, {}, 0, 0},
        {"\\a6", 1, 8, false, {}, 0, 0},
        {"\\a10", 1, 5, false, {}, 0, 0},
        {"\\t(\\fs30)", 1, -2, true, {}, 0, 0},
        {"\\k50", 1, -2, false, {0, 0, 500}, 0, 0},
        {"\\k50\\K20", 1, -2, false, {1, 500, 700}, 0, 0},
        {"\\ko10\\k", 1, -2, false, {0, 100, 1100}, 0, 0},
        {"\\k50\\kt20", 1, -2, false, {0, 200, 200}, 0, 0},
        {"\\p2\\pbo-5", 1, -2, false, {}, 2, -5},
        {"\\p-1", 1, -2, false, {}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        const SParsed parsed(c.block);
        EXPECT_EQ(parsed.subtitle.wrapStyle, c.wrapStyle);
        EXPECT_EQ(parsed.subtitle.scrAlignment, c.alignment);
        EXPECT_EQ(parsed.subtitle.animated, c.animated);
        EXPECT_EQ(parsed.karaoke.type, c.karaoke.type);
        EXPECT_EQ(parsed.karaoke.start, c.karaoke.start);
        EXPECT_EQ(parsed.karaoke.end, c.karaoke.end);
        EXPECT_EQ(parsed.drawingScale, c.drawingScale);
        EXPECT_EQ(parsed.drawingBaseline, c.drawingBaseline);
    }
}

TEST(OverrideTags, FillTheEffectsAndTheAnimation)
{
    const SParsed parsed("\\move(1,2,3,4,10,20)\\pos(9,9)\\org(5,6)\\fade(255,0,255,0,10,20,30)"
                         "\\iclip(1,2,3,4)\\t(100,200,0.5,\\fs30)");
    ASSERT_TRUE(parsed.subtitle.move);
    EXPECT_EQ(parsed.subtitle.move->from, QPoint(1, 2));
    EXPECT_EQ(parsed.subtitle.move->to, QPoint(3, 4));
    EXPECT_EQ(parsed.subtitle.move->end, 20);
    EXPECT_EQ(parsed.subtitle.origin, QPoint(5, 6));
    ASSERT_TRUE(parsed.subtitle.fade);
    EXPECT_EQ(parsed.subtitle.fade->times[3], 30);
    EXPECT_TRUE(parsed.subtitle.clip.set && parsed.subtitle.clip.inverse);
    EXPECT_EQ(parsed.animation.start, 100);
    EXPECT_EQ(parsed.animation.end, 200);
    EXPECT_EQ(parsed.animation.acceleration, 0.5);
}

} // namespace
} // namespace quillary::layout
