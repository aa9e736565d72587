// CRenderedTextSubtitle: events laid out into rows of runs, the entry effect, scaling, margins,
// the cache and the frame set by Init.
#include "layout/rendered_text_subtitle.h"
#include "layout/text_rows.h"
#include "layout_test_support.h"

#include <gtest/gtest.h>

namespace quillary::layout {
namespace {

using test::Describe;

// A script with the fixture's styles at 1920x1080; entries are added by the tests.
class RenderedTextSubtitleTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::OpenFixture(m_script, "default_and_note_styles.ass"));
        m_script.Init(1920, 1080, 0, 0, 1920, 1080);
    }

    size_t Add(const char* text, const char* effect = "", const char* style = "Default")
    {
        m_script.Add(QString::fromUtf8(text), true, 0, 1000, style, {}, effect);
        return m_script.GetCount() - 1;
    }

    std::string Layout(const char* text, const char* effect = "")
    {
        const CSubtitle* sub = m_script.GetSubtitle(Add(text, effect));
        return sub ? Describe(*sub) : "(none)";
    }

    // A text far wider than the frame.
    static std::string LongText()
    {
        std::string text;
        for (int i = 0; i < 80; ++i) {
            text += "wrapping ";
        }
        return text;
    }

    CRenderedTextSubtitle m_script;
};

TEST_F(RenderedTextSubtitleTest, LaysTextOutIntoRowsOfRuns)
{
    struct Case {
        const char* text;
        const char* rows;
    };
    const Case cases[] = {
        {"{comment}Hello", "Hello:400"},
        {"Hello world", "Hello world:400"},
        {"Hello {\\b1}World{\\b0} again", "Hello :400|World:700| again:400"},
        {"{\\b700}bold{\\b600}semi{\\b2}back", "bold:700|semi:600|back:400"},
        {"{\\i1}it{\\u1}un{\\s1}st", "it:400i|un:400iu|st:400ius"},
        {"{\\rNote}note{\\r}plain", "note:700i|plain:400"},
        {"{\\b1\\rMissing}plain", "plain:400"},
        {"one\\N\\Ntwo", "one:400 /  / two:400"},
        {"  spaced  ", "spaced:400"},
        {"a\\hb", "a\u00a0b:400"},
        // A syllable starts a run; one of no duration joins the one before, another type does not.
        {"{\\k10}ka {\\k20}ra {\\k30}o{\\k0}ke", "ka :400|ra :400|oke:400"},
        {"{\\k10}o{\\K5}ke", "o:400|ke:400"},
        {"{\\b1", "{\\b1:400"},
        {"a {\\b1}<b>c", "a :400|<b>c:700"},
        {"{\\p1}m 0 0 l 10 0 10 10{\\p0}text", "text:400"},
        {"{\\fs40}big {\\fs20}small", "big :400|small:400"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Layout(c.text), c.rows);
    }
}

TEST_F(RenderedTextSubtitleTest, WrapStyleTagAppliesToTheWholeEvent)
{
    struct Case {
        const char* name;
        std::string text;
        const char* effect;
        size_t rows;
    };
    const Case cases[] = {
        {"wraps by default", LongText(), "", 2},
        {"\\q2 after the text", LongText() + "{\\q2}end", "", 1},
        {"banner", LongText(), "Banner;5", 1},
        {"banner in lower case", LongText(), "banner;5;1", 1},
        {"banner without a number", LongText(), "Banner;", 2},
        {"banner without a semicolon", LongText(), "Banner 5", 2},
        {"scroll does not stop wrapping", LongText(), "Scroll up;0;100;5", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CSubtitle* sub = m_script.GetSubtitle(Add(c.text.c_str(), c.effect));
        ASSERT_NE(sub, nullptr);
        EXPECT_GE(sub->lines.size(), c.rows);
        if (c.rows == 1) {
            EXPECT_EQ(sub->lines.size(), 1u);
            EXPECT_EQ(sub->wrapStyle, 2);
        }
    }
}

// Twelve equal words measured unwrapped, then laid out where the available width is the total
// divided by 1.5 or by 2.
TEST_F(RenderedTextSubtitleTest, WrapStylesShareTheTextOutAmongLines)
{
    const std::string words = "word word word word word word word word word word word word";
    const CSubtitle* probe = m_script.GetSubtitle(Add(("{\\q2}" + words).c_str()));
    ASSERT_TRUE(probe && probe->lines.size() == 1);
    const int32_t total = probe->lines[0].width;
    const int32_t word = probe->words[0]->width + probe->words[1]->width; // "word" and a space

    struct Case {
        const char* tag;
        double share; // the available width is total / share
        size_t lines;
        bool even; // lines of about equal width (else the first is the widest)
    };
    const Case cases[] = {
        {"{\\q0}", 1.5, 2, true},  {"{\\q0}", 2.0, 3, true},  {"{\\q3}", 1.5, 2, true},
        {"{\\q1}", 1.5, 2, false}, {"{\\q1}", 2.0, 3, false}, {"{\\q2}", 2.0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tag) + " " + std::to_string(c.share));
        const auto available = static_cast<int32_t>(total / c.share / 8);
        const int32_t left = (1920 - available) / 2;
        const int32_t right = 1920 - available - left;
        m_script.Add(QString::fromStdString(c.tag + words), true, 0, 1000, "Default", {}, {},
                     {left, 0, right, 0});
        const CSubtitle* sub = m_script.GetSubtitle(m_script.GetCount() - 1);
        ASSERT_NE(sub, nullptr);
        ASSERT_EQ(sub->lines.size(), c.lines);
        const int32_t first = sub->lines.front().width;
        const int32_t last = sub->lines.back().width;
        if (c.even) {
            EXPECT_LE(std::abs(first - last), word);
        } else {
            EXPECT_GT(first, last + word);
        }
    }
}

TEST_F(RenderedTextSubtitleTest, LineFeedBreaksOnlyAfterWrapStyleTwo)
{
    EXPECT_EQ(Layout("one\\ntwo {\\q2}three\\nfour"), "one two three:400 / four:400");
    EXPECT_EQ(Layout("{\\q2}one\\ntwo"), "one:400 / two:400");
    EXPECT_EQ(Layout("{\\q1}one\\ntwo"), "one two:400");
}

TEST_F(RenderedTextSubtitleTest, EffectRecords)
{
    const CSubtitle* banner = m_script.GetSubtitle(Add("x", "  Banner;5;1;20 "));
    ASSERT_TRUE(banner && banner->banner);
    EXPECT_EQ(banner->banner->delay, 5);
    EXPECT_TRUE(banner->banner->leftToRight);
    EXPECT_EQ(banner->banner->fadeAwayWidth, 20);

    const CSubtitle* scroll = m_script.GetSubtitle(Add("x", "Scroll down;300;100;2"));
    ASSERT_TRUE(scroll && scroll->scroll);
    EXPECT_FALSE(scroll->scroll->up);
    EXPECT_EQ(scroll->scroll->top, 100);
    EXPECT_EQ(scroll->scroll->bottom, 300);

    const CSubtitle* short_ = m_script.GetSubtitle(Add("x", "Scroll up;1;2"));
    ASSERT_TRUE(short_);
    EXPECT_FALSE(short_->scroll);
}

TEST_F(RenderedTextSubtitleTest, AlignmentFromTheStyleOrTheFirstTag)
{
    EXPECT_EQ(m_script.GetSubtitle(Add("x"))->scrAlignment, 2);
    EXPECT_EQ(m_script.GetSubtitle(Add("x", "", "Note"))->scrAlignment, 8);
    EXPECT_EQ(m_script.GetSubtitle(Add("{\\an7}x{\\an3}"))->scrAlignment, 7);
}

TEST_F(RenderedTextSubtitleTest, GivesTheStyleAfterTheFirstBlock)
{
    std::unique_ptr<scripts::STSStyle> style;
    ASSERT_NE(m_script.GetSubtitle(Add("{\\fs+2\\b1}x{\\fs40}y"), &style), nullptr);
    ASSERT_TRUE(style);
    EXPECT_EQ(style->fontSize, 24);
    EXPECT_EQ(style->fontWeight, 700);

    std::unique_ptr<scripts::STSStyle> none;
    ASSERT_NE(m_script.GetSubtitle(Add("x{\\b1}y"), &none), nullptr);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->fontWeight, 700);

    std::unique_ptr<scripts::STSStyle> noBlock;
    ASSERT_NE(m_script.GetSubtitle(Add("plain"), &noBlock), nullptr);
    EXPECT_FALSE(noBlock);
}

TEST_F(RenderedTextSubtitleTest, ScalesScriptPixelsToTheFrame)
{
    struct Case {
        const char* name;
        int32_t playResX, playResY;
        int32_t videoTop, videoBottom;
        int32_t relativeTo;
        double scaleX, scaleY;
    };
    const Case cases[] = {
        {"same size", 1920, 1080, 0, 1080, 0, 1.0, 1.0},
        {"a third of the frame", 640, 360, 0, 1080, 0, 3.0, 3.0},
        {"no play resolution", 0, 0, 0, 1080, 0, 1.0, 1.0},
        {"relative to the video", 640, 360, 140, 940, 1, 3.0, 800.0 / 360},
        {"video ignored for the window", 640, 360, 140, 940, 0, 3.0, 3.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_script.playResX = c.playResX;
        m_script.playResY = c.playResY;
        m_script.styles.Lookup("Default")->relativeTo = c.relativeTo;
        m_script.Init(1920, 1080, 0, c.videoTop, 1920, c.videoBottom);
        const CSubtitle* sub = m_script.GetSubtitle(Add("{\\fsp2}x"));
        ASSERT_NE(sub, nullptr);
        EXPECT_DOUBLE_EQ(sub->scaleX, c.scaleX);
        EXPECT_DOUBLE_EQ(sub->scaleY, c.scaleY);
        ASSERT_EQ(sub->words.size(), 1u);
        // Fonts measure at 64 times their frame size; borders are kept in eighths.
        EXPECT_DOUBLE_EQ(sub->words[0]->style.fontSize, 20 * c.scaleY * 64);
        EXPECT_DOUBLE_EQ(sub->words[0]->style.fontSpacing, 2 * c.scaleX * 64);
        EXPECT_DOUBLE_EQ(sub->words[0]->style.outlineWidthX, 2 * 8);
    }
}

TEST_F(RenderedTextSubtitleTest, BordersScaleWhenTheScriptSaysSo)
{
    m_script.playResX = 640;
    m_script.playResY = 360;
    m_script.scaledBorderAndShadow = true;
    m_script.Init(1920, 1080, 0, 0, 1920, 1080);
    const CSubtitle* sub = m_script.GetSubtitle(Add("x"));
    ASSERT_NE(sub, nullptr);
    EXPECT_DOUBLE_EQ(sub->words[0]->style.outlineWidthY, 2 * 8 * 3);
    EXPECT_DOUBLE_EQ(sub->words[0]->style.shadowDepthX, 3 * 8 * 3);
}

TEST_F(RenderedTextSubtitleTest, DrawingSizeFollowsTheScale)
{
    m_script.playResX = 640;
    m_script.playResY = 360;
    m_script.Init(1920, 1080, 0, 0, 1920, 1080);
    const CSubtitle* sub = m_script.GetSubtitle(Add("{\\p2}m 0 0 l 100 0 100 100 0 100"));
    ASSERT_TRUE(sub && sub->words.size() == 1);
    // Level 2 halves, the script scale triples: 150 pixels.
    EXPECT_EQ(sub->words[0]->width, 150 * 8);
    EXPECT_EQ(sub->words[0]->ascent, 150 * 8);
    ASSERT_EQ(sub->lines.size(), 1u);
    EXPECT_EQ(sub->lines[0].width, 150 * 8);
    EXPECT_TRUE(RowsOf(*sub)[0].empty());
}

// The margins decide the width available: the text fits exactly, or one pixel short.
TEST_F(RenderedTextSubtitleTest, MarginsNarrowTheLine)
{
    const CSubtitle* probe = m_script.GetSubtitle(Add("{\\q1}Margins decide"));
    ASSERT_TRUE(probe && probe->lines.size() == 1);
    const int32_t textPixels = (probe->lines[0].width + 7) / 8;
    const int32_t left = 100;
    for (const int32_t shortBy : {0, 1}) {
        SCOPED_TRACE(shortBy);
        const int32_t right = 1920 - left - textPixels + shortBy;
        m_script.Add(QStringLiteral("{\\q1}Margins decide"), true, 0, 1000, "Default", {}, {},
                     {left, 0, right, 0});
        const CSubtitle* sub = m_script.GetSubtitle(m_script.GetCount() - 1);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->lines.size(), shortBy ? 2u : 1u);
    }
    // A zero margin takes the style's (20 pixels): the left one alone leaves room.
    m_script.Add(QStringLiteral("{\\q1}Margins decide"), true, 0, 1000, "Default", {}, {},
                 {1920 - 20 - textPixels, 0, 0, 0});
    EXPECT_EQ(m_script.GetSubtitle(m_script.GetCount() - 1)->lines.size(), 1u);
}

TEST_F(RenderedTextSubtitleTest, CacheKeepsEventsUnlessAnimated)
{
    struct Case {
        const char* text;
        const char* effect;
        bool animated;
    };
    const Case cases[] = {
        {"still", "", false},
        {"{\\pos(10,10)}positioned", "", false},
        {"{\\org(5,5)}turned", "", false},
        {"{\\pos(10,10)\\org(5,5)}positioned and turned", "", true},
        {"{\\t(\\fs30)}grows", "", true},
        {"{\\move(0,0,10,10)\\org(5,5)}moves", "", true},
        {"{\\org(5,5)}banner", "Banner;5", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const size_t entry = Add(c.text, c.effect);
        CSubtitle* first = m_script.GetSubtitle(entry);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->animated, c.animated);
        first->scaleX = -1; // a mark that survives only in the cached object
        CSubtitle* second = m_script.GetSubtitle(entry);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->scaleX == -1, !c.animated);
    }
}

TEST_F(RenderedTextSubtitleTest, InitAndDeinitDropTheCache)
{
    const size_t entry = Add("cached");
    m_script.Init(1280, 720, 0, 0, 1280, 720);
    EXPECT_EQ(m_script.FrameSize().width, 1280 * 8);
    EXPECT_EQ(m_script.VideoRect().bottom, 720 * 8);
    m_script.GetSubtitle(entry)->scaleX = -1;
    m_script.Init(1920, 1080, 0, 0, 1920, 1080);
    EXPECT_NE(m_script.GetSubtitle(entry)->scaleX, -1);

    m_script.GetSubtitle(entry)->scaleX = -1;
    m_script.Deinit();
    EXPECT_EQ(m_script.FrameSize().width, 0);
    EXPECT_EQ(m_script.VideoRect().right, 0);
    EXPECT_NE(m_script.GetSubtitle(entry)->scaleX, -1);

    m_script.Empty();
    EXPECT_EQ(m_script.GetSubtitle(entry), nullptr);
}

// Sizes, scales and positions far out of range clamp instead of overflowing (the sanitizer
// build checks).
TEST_F(RenderedTextSubtitleTest, HugeValuesStayInRange)
{
    const char* texts[] = {
        "{\\fs99999999999}huge",
        "{\\fs+99999999999}huge",
        "{\\fscx99999999999999999999\\fscy1e300}wide",
        "{\\fsp1e300}spaced",
        "{\\fspnan}spaced",
        "{\\fsp-inf}spaced",
        "{\\k99999999999}a{\\k99999999999}b{\\kt-99999999999}c",
        "{\\be1e300\\bord1e300\\shad-1e300}x",
        "{\\pos(1e300,-1e300)\\move(1e99,2,3,4,5,6)\\clip(1e300,0,1,1)}x",
        "{\\p1}m 2147483647 2147483647 l -2147483648 -2147483648",
        "{\\p99999999999}m 0 0 l 10 10",
        "{\\p1\\pbo2147483647}m 0 0 l 10 10",
        "{\\p1\\fscx1e300}m 0 0 l 100000 100000",
        "{\\t(1e300,-1e300,1e300,\\fs1)}x",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const CSubtitle* sub = m_script.GetSubtitle(Add(text));
        ASSERT_NE(sub, nullptr);
        EXPECT_FALSE(sub->lines.empty());
    }
}

TEST(RenderedTextSubtitle, ResetToAMissingStyleUsesTheEventStyle)
{
    CRenderedTextSubtitle script;
    ASSERT_TRUE(test::OpenFixture(script, "default_style_only.ass"));
    script.Init(1920, 1080, 0, 0, 1920, 1080);
    script.Add(QStringLiteral("{\\b1}a{\\rNote}b"), true, 0, 1000);
    const CSubtitle* sub = script.GetSubtitle(script.GetCount() - 1);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(Describe(*sub), "a:700|b:400");
}

TEST(RenderedTextSubtitle, UnknownEntryGivesNothing)
{
    CRenderedTextSubtitle script;
    EXPECT_EQ(script.GetSubtitle(0), nullptr);
}

} // namespace
} // namespace quillary::layout
