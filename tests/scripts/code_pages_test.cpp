// Character sets, code pages, lead bytes and the conversion of multibyte text.
#include "scripts/code_pages.h"
#include "scripts/multibyte_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillary::scripts {
namespace {

TEST(CodePagesTest, MapsCharacterSetsToCodePages)
{
    const std::vector<std::pair<int, int>> cases{
        {0, 1252},
        {128, 932},
        {129, 949},
        {134, 936},
        {136, 950},
        {161, 1253},
        {162, 1254},
        {163, 1258},
        {177, 1255},
        {178, 1256},
        {186, 1257},
        {204, 1251},
        {222, 874},
        {238, 1250},
        {1, kDefaultAnsiCodePage},
        {2, kDefaultAnsiCodePage},
        {255, kDefaultAnsiCodePage},
        {77, kDefaultAnsiCodePage},
    };
    for (const auto& [charSet, codePage] : cases) {
        EXPECT_EQ(CodePageFromCharSet(charSet), codePage) << "charset " << charSet;
    }
}

TEST(CodePagesTest, RecognisesLeadBytes)
{
    EXPECT_TRUE(IsLeadByte(932, 0x83));
    EXPECT_TRUE(IsLeadByte(932, 0xE0));
    EXPECT_FALSE(IsLeadByte(932, 0xA0)); // half-width katakana stand alone
    EXPECT_TRUE(IsLeadByte(936, 0xFE));
    EXPECT_TRUE(IsLeadByte(950, 0xA5));
    EXPECT_FALSE(IsLeadByte(950, 0x7C));
    EXPECT_FALSE(IsLeadByte(1252, 0x83));
    EXPECT_FALSE(IsLeadByte(kDefaultAnsiCodePage, 0x83)); // windows-1252 by default
}

struct ConvertCase {
    const char* name;
    QString text; // one byte per character
    int charSet;
    QString expected;
};

TEST(CodePagesTest, ConvertsMultiByteTextWithFeSwitching)
{
    const std::vector<ConvertCase> cases{
        {"windows-1252", QString::fromLatin1("caf\xE9 \x93q\x94"), 0,
         QStringLiteral(u"caf\u00E9 \u201Cq\u201D")},
        {"default ANSI code page", QString::fromLatin1("\xE9"), 1, QStringLiteral(u"\u00E9")},
        {"shift-jis with a { trail byte", QString::fromLatin1("\x83\x7B\x83\x7C"), 128,
         QStringLiteral(u"\u30DC\u30DD")},
        {"\\fe switches outside the block", QString::fromLatin1("{\\fe128}\x83\x7C{\\fe}\xE9"), 0,
         QStringLiteral(u"{\\fe128}\u30DD{\\fe}\u00E9")},
        {"block without end uses the base set", QString::fromLatin1("a{\\fe204}\xCF"), 204,
         QStringLiteral(u"a{\\fe204}\u041F")},
        {"gbk", QString::fromLatin1("\xD6\xD0\xCE\xC4"), 134, QStringLiteral(u"\u4E2D\u6587")},
        {"big5 with a | trail byte", QString::fromLatin1("\xA5\x7C"), 136,
         QStringLiteral(u"\u56DB")},
    };
    for (const ConvertCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MultiByteToUnicode(c.text, c.charSet), c.expected);
    }
}

TEST(CodePagesTest, FindsCharactersOutsideDoubleByteCharacters)
{
    const QString sjis = QString::fromLatin1("\x83\x7C|a");
    EXPECT_EQ(FindChar(sjis, u'|', 0, 128, false), 2);
    EXPECT_EQ(FindChar(sjis, u'|', 0, 0, false), 1);
    EXPECT_EQ(FindChar(sjis, u'|', 3, 128, false), -1);
    // Inside a block "\fe128" makes the rest Shift-JIS for the search.
    const QString switched = QString::fromLatin1("{\\fe128}\x83|");
    EXPECT_EQ(FindChar(switched, u'|', 0, 0, false), -1);
    EXPECT_EQ(FindChar(switched, u'|', 0, 0, true), 9);

    QString text = QString::fromLatin1("\x83\x7C|b");
    ReplaceChar(text, u'|', u"\n", 128, false);
    EXPECT_EQ(text, QString::fromLatin1("\x83\x7C\nb"));
}

TEST(CodePagesTest, DefaultAnsiCodePageIsASetting)
{
    ASSERT_EQ(DefaultAnsiCodePageName(), "windows-1252");
    ASSERT_TRUE(SetDefaultAnsiCodePage("1251"));
    EXPECT_EQ(MultiByteToUnicode(QString::fromLatin1("\xCF\xF0\xE8"), 1),
              QStringLiteral(u"\u041F\u0440\u0438"));
    ASSERT_TRUE(SetDefaultAnsiCodePage("Shift_JIS"));
    EXPECT_TRUE(IsLeadByte(kDefaultAnsiCodePage, 0x83));
    EXPECT_FALSE(SetDefaultAnsiCodePage("no-such-encoding"));
    EXPECT_EQ(DefaultAnsiCodePageName(), "Shift_JIS");
    ASSERT_TRUE(SetDefaultAnsiCodePage("windows-1252"));
    EXPECT_FALSE(IsLeadByte(kDefaultAnsiCodePage, 0x83));
}

} // namespace
} // namespace quillary::scripts
