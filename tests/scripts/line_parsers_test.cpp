// SubRip, bracketed-hours, SubViewer, MicroDVD and hours-first scripts through the format
// detection: which parser takes a file, and the entries it makes.
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillary::scripts {
namespace {

using test::OpenScript;

struct SEntryView {
    int32_t start;
    int32_t end;
    QString text; // as GetText gives it
    std::string style = "Default";

    friend bool operator==(const SEntryView&, const SEntryView&) = default;
};

void PrintTo(const SEntryView& e, std::ostream* os)
{
    *os << e.start << "-" << e.end << " [" << e.style << "] \"" << e.text.toStdString() << "\"";
}

std::vector<SEntryView> Entries(CSimpleTextSubtitle& script)
{
    std::vector<SEntryView> out;
    for (size_t i = 0; i < script.GetCount(); ++i) {
        out.push_back({script.entries[i].start, script.entries[i].end, script.GetText(i),
                       script.entries[i].styleName});
    }
    return out;
}

struct ParseCase {
    const char* name;
    QByteArray script;
    ScriptFormat format; // None: every parser rejects the file
    std::vector<SEntryView> entries;
    int charSet = 1;
};

void RunCases(const std::vector<ParseCase>& cases)
{
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::CRecordingMessageSink sink;
        CSimpleTextSubtitle script(&sink);
        const bool ok = OpenScript(script, c.script, c.charSet);
        EXPECT_EQ(ok, c.format != ScriptFormat::None);
        EXPECT_EQ(script.format, c.format);
        EXPECT_EQ(Entries(script), c.entries);
        EXPECT_TRUE(sink.messages.empty());
    }
}

TEST(LineParsersTest, SubRip)
{
    RunCases({
        {"two blocks with tags",
         "1\n00:00:01,000 --> 00:00:02,500\nHello\nWorld\n\n2\n00:00:03,000 --> 00:00:04,000\n"
         "<i>It</i> <b>is</b> <u>so</u>\n",
         ScriptFormat::SubRip,
         {{1000, 2500, "Hello\\NWorld"},
          {3000, 4000, "{\\i1}It{\\i} {\\b1}is{\\b} {\\u1}so{\\u}"}}},
        {"dot before the milliseconds and CR LF",
         "1\r\n01:02:03.004 --> 01:02:04.500\r\nA\r\n",
         ScriptFormat::SubRip,
         {{3723004, 3724500, "A"}}},
        {"empty line inside a block is kept",
         "1\n00:00:01,000 --> 00:00:02,000\nA\n\nB\n\n\n2\n00:00:03,000 --> 00:00:04,000\nC\n",
         ScriptFormat::SubRip,
         {{1000, 2000, "A\\N\\NB"}, {3000, 4000, "C"}}},
        {"a number right after the time line is text",
         "1\n00:00:01,000 --> 00:00:02,000\n1984\n",
         ScriptFormat::SubRip,
         {{1000, 2000, "1984"}}},
        {"| breaks the line",
         "1\n00:00:01,000 --> 00:00:02,000\nA|B\n",
         ScriptFormat::SubRip,
         {{1000, 2000, "A\\NB"}}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "1\n00:00:01,000 --> 00:00:02,000\nA\n",
         ScriptFormat::SubRip,
         {{1000, 2000, "A"}}},
        {"equal times are kept, reversed and blank ones dropped",
         "1\n00:00:05,000 --> 00:00:05,000\nZ\n\n2\n00:00:05,000 --> 00:00:04,000\nY\n\n"
         "3\n00:00:06,000 --> 00:00:07,000\n   \n",
         ScriptFormat::SubRip,
         {{5000, 5000, "Z"}}},
        {"a title before the first counter",
         "My Movie\n1\n00:00:01,000 --> 00:00:02,000\nA\n",
         ScriptFormat::None,
         {}},
        {"a Shift-JIS trail byte | is no line break",
         "1\n00:00:01,000 --> 00:00:02,000\n\x83\x7C|\x83\x7B\n",
         ScriptFormat::SubRip,
         {{1000, 2000, QStringLiteral(u"\u30DD\\N\u30DC")}},
         128},
    });
}

TEST(LineParsersTest, BracketedHoursAndHoursFirst)
{
    RunCases({
        {"bracketed hours",
         "{0:00:01}{0:00:03}Hello|World\n\n{1:00:04}{1:00:05}X\n",
         ScriptFormat::BracketedHours,
         {{1000, 3000, "Hello\\NWorld"}, {3604000, 3605000, "X"}}},
        {"hours first: one second plus 50 ms a character",
         "0:00:05:Hi\n0:00:10:A|B\n",
         ScriptFormat::HoursFirst,
         {{5000, 6100, "Hi"}, {10000, 11150, "A\\NB"}}},
        {"hours first: a Shift-JIS trail byte | is no line break",
         "0:00:01:\x83\x7C|a\n",
         ScriptFormat::HoursFirst,
         {{1000, 2200, QStringLiteral(u"\u30DD\\Na")}},
         128},
    });
}

TEST(LineParsersTest, SubViewer)
{
    const QByteArray header = "[INFORMATION]\n[TITLE]x\n[END INFORMATION]\n[SUBTITLE]\n";
    RunCases({
        {"default formatting adds no prefix",
         header + "[COLF]&HFFFFFF,[STYLE]bd,[SIZE]24,[FONT]arial\n00:00:01.00,00:00:02.50\n"
                  "A[br]B\n",
         ScriptFormat::SubViewer,
         {{1000, 2500, "A\\NB"}}},
        {"colour, size and font",
         header + "[COLF]&H00FF00,[SIZE]18,[FONT]Sans\n\n00:00:01.00,00:00:02.00\nA\n\n"
                  "00:00:03.00,00:00:04.00\nB\n",
         ScriptFormat::SubViewer,
         {{1000, 2000, "{\\fnSans\\c&H00FF00\\fs18}A"},
          {3000, 4000, "{\\fnSans\\c&H00FF00\\fs18}B"}}},
        {"a later tag line resets",
         "[COLF]&H0000FF\n[COLF]&HFFFFFF\n00:00:01.00,00:00:02.00\nA\n",
         ScriptFormat::SubViewer,
         {{1000, 2000, "A"}}},
        {"parameters lose a lower-case t at either end",
         "[FONT]Bookman Light\n00:00:01.00,00:00:02.00\nA\n",
         ScriptFormat::SubViewer,
         {{1000, 2000, "{\\fnBookman Ligh}A"}}},
        {"a text line that is no time line", "[SUBTITLE]\nhello\n", ScriptFormat::None, {}},
    });
}

TEST(LineParsersTest, MicroDvd)
{
    RunCases({
        {"open end stops at the next start",
         "{10}{}A\n{40}{100}B\n",
         ScriptFormat::MicroDvd,
         {{10, 40, "A"}, {40, 100, "B"}}},
        {"open end lasts 60 frames at most",
         "{10}{}A\n{200}{300}B\n",
         ScriptFormat::MicroDvd,
         {{10, 70, "A"}, {200, 300, "B"}}},
        {"an earlier next start never ends an entry before its start",
         "{10}{}A\n{5}{8}B\n",
         ScriptFormat::MicroDvd,
         {{10, 10, "A"}, {5, 8, "B"}}},
        {"negative frames", "{-164}{-68}A\n", ScriptFormat::MicroDvd, {{-164, -68, "A"}}},
        {"line-local bold is reset at the line end",
         "{1}{2}{y:b}A|B\n",
         ScriptFormat::MicroDvd,
         {{1, 2, "{\\b1}A{\\b}\\NB"}}},
        {"whole-entry bold is not",
         "{1}{2}{Y:b}A|B\n",
         ScriptFormat::MicroDvd,
         {{1, 2, "{\\b1}A\\NB"}}},
        {"codes",
         "{1}{2}{c:$0000FF}{f:Tahoma}{s:20}{h:0}{Y:uis}{o:10,20}X|Y{zz}\n",
         ScriptFormat::MicroDvd,
         {{1, 2,
           "{\\c&Hff&}{\\fnTahoma}{\\fs20.000000}{\\fe0}{\\i1\\u1\\s1}{\\move(10,20,0,0,0,0)}X"
           "{\\c}{\\fn}{\\fs}{\\fe}\\NY{zz"}}},
        {"style lines",
         "{DEFAULT}{f:Verdana}\n{1}{2}A\n{main}{y:b}\n{3}{4}B\n",
         ScriptFormat::MicroDvd,
         {{1, 2, "A"}, {3, 4, "B", "Main"}}},
        {"a Shift-JIS trail byte { is no code",
         "{1}{2}\x83\x7B|a\n",
         ScriptFormat::MicroDvd,
         {{1, 2, QStringLiteral(u"\u30DC\\Na")}},
         128},
    });
}

TEST(LineParsersTest, MicroDvdStyleCodesFillTheStyle)
{
    CSimpleTextSubtitle script;
    ASSERT_TRUE(
        OpenScript(script, "{default}{c:$00FF00}{f:Verdana}{s:30}{y:bi}{p:0}{h:204}\n{1}{2}A\n"));
    EXPECT_EQ(script.mode, 1);
    const STSStyle* style = script.styles.Lookup("Default");
    ASSERT_NE(style, nullptr);
    EXPECT_FALSE(script.usingAutoDefaultStyle);
    EXPECT_EQ(style->colors[0], 0x00FF00u);
    EXPECT_EQ(style->fontName, "Verdana");
    EXPECT_EQ(style->fontSize, 30.0);
    EXPECT_EQ(style->fontWeight, 700);
    EXPECT_TRUE(style->italic);
    EXPECT_FALSE(style->underline);
    EXPECT_EQ(style->alignment, 8);
    EXPECT_EQ(style->charSet, 204);
}

} // namespace
} // namespace quillary::scripts
