// Real scripts: the small permissively licensed ones are committed fixtures; the whole shared
// corpus beside the checkout is read when it is there.
#include "script_test_support.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <vector>

namespace quillary::scripts {
namespace {

struct CorpusCase {
    const char* corpusPath; // under the shared corpus
    const char* fixture;    // under tests/data/scripts, when committed
    int charSet;
    ScriptFormat format; // None: rejected, for the reason below
    size_t count;
    int32_t firstStart, firstEnd, lastStart, lastEnd;
    size_t textIndex = 0;
    const char* text = nullptr; // how GetText begins, UTF-8
    const char* reason = nullptr;
};

const std::vector<CorpusCase>& Cases()
{
    using F = ScriptFormat;
    static const std::vector<CorpusCase> cases{
        {"ass/libass-tests-crash-aegisub-format-tests.ass", nullptr, 1, F::SubStationAlpha, 40, 0,
         5000, 62000, 64000},
        {"ass/libass-tests-crash-generic.ass", nullptr, 1, F::SubStationAlpha, 61, 0, 5000, 107000,
         108000},
        {"ass/libass-tests-embedded-font-efont.ass", nullptr, 1, F::SubStationAlpha, 1, 0, 5000, 0,
         5000, 0, "A"},
        {"ass/pyonfx-beginner-in.ass", nullptr, 1, F::SubStationAlpha, 32, 14240, 24230, 76200,
         84480, 0, "{\\k56}su{\\k13}re"},
        {"ass/pysubs2-subtitle_with_attached_images_aegisub.ass",
         "ass_attached_images_empty_event.ass", 1, F::SubStationAlpha, 0, 0, 0, 0, 0, 0, nullptr,
         "accepted by its headers; its one event has no text"},
        {"ass/ssahdrify-shiftjis.ass", nullptr, 1, F::SubStationAlpha, 1, 1000, 5000, 1000, 5000},
        {"hours-first/gaupol-tmplayer-1.txt", nullptr, 1, F::HoursFirst, 10, 7000, 10900, 33000,
         35500},
        {"microdvd/gaupol-microdvd.sub", nullptr, 1, F::MicroDvd, 10, -164, -68, 781, 861},
        {"microdvd/gnome-subtitles-sample.sub", nullptr, 1, F::MicroDvd, 934, 1375, 1565, 150865,
         150972},
        {"srt/aegisub-U+FEFF_U+200E_U+202A_U+200B_U+2060_U+200C_stacked.srt",
         "bom_then_invisible_marks.srt", 1, F::None, 0, 0, 0, 0, 0, 0, nullptr,
         "invisible format characters before the first counter make it no counter line"},
        {"srt/aspasia-gbk.srt", "gbk_without_final_newline.srt", 134, F::SubRip, 3, 0, 1200, 10000,
         11100, 0, "这是中文"},
        {"srt/feature-length/pysrt-utf-8.srt", nullptr, 1, F::SubRip, 1332, 1000, 4000, 5839634,
         5849634, 1, "CE FILM RELATE DES ÉVÉNEMENTS\\N"},
        {"srt/feature-length/subtitle.js-WonderWoman.srt", nullptr, 1, F::SubRip, 1586, 48842,
         51428, 8467711, 8468712, 0, "{\\i1}I used to want"},
        {"srt/feature-length/subtitleedit-auto_detect_windows-1250.srt", nullptr, 238, F::SubRip,
         1132, 74233, 78233, 7370032, 7374032, 1, "Đino!"},
        {"srt/gnome-subtitles-CC_Mayer_and_Bettle_Animation.srt", nullptr, 0, F::SubRip, 92, 610,
         5610, 342580, 348580, 5, "You’re not allowed"},
        {"srt/pysrt-bom-utf-16-be.srt", nullptr, 1, F::SubRip, 7, 6500, 9000, 43000, 50000, 0,
         "About 2 months ago I found myself on\\Nthe"},
        {"srt/pysrt-bom-utf-16-le.srt", nullptr, 1, F::SubRip, 7, 6500, 9000, 43000, 50000, 0,
         "About 2 months ago I found myself on\\Nthe"},
        {"srt/pysrt-capability_tester.srt", nullptr, 1, F::SubRip, 37, 0, 0, 66501, 68500},
        // Two-digit fractions after a dot read as milliseconds: ".05" is 5 ms.
        {"srt/srt-parser-2-Welcome-648062.en.srt", "two_digit_fraction_after_dot.srt", 1, F::SubRip,
         28, 5, 2000, 53007, 55004, 0, "- [Adam] Hello"},
        {"srt/subtitleedit-auto_detect_windows-1251.srt", nullptr, 204, F::SubRip, 595, 32198,
         36198, 5666938, 5670938, 1, "Г О Р Ш Т А К"},
        {"srt/ums-chinese-big5.srt", nullptr, 136, F::SubRip, 50, 1, 12765, 190576, 193575, 0,
         "《瀚神出品》"},
        {"ssa/gaupol-ssa.ssa", nullptr, 1, F::None, 0, 0, 0, 0, 0, 0, nullptr,
         "its PlayResX line has no value"},
        {"ssa/go-astisub-example-in.ssa", "ssa_v4_mixed_colours.ssa", 1, F::SubStationAlpha, 6,
         99000, 101040, 151400, 153440, 0, "{\\pos(400,570)}(deep rumbling)"},
        {"subviewer/gaupol-subviewer2.sub", nullptr, 1, F::SubViewer, 8, 950, 3360, 32560, 35900, 0,
         "{\\fnSans\\fs18}So, one day"},
    };
    return cases;
}

void Check(const CorpusCase& c, const QString& path)
{
    test::CRecordingMessageSink sink;
    CSimpleTextSubtitle script(&sink);
    const bool ok = script.Open(path, c.charSet);
    EXPECT_EQ(ok, c.format != ScriptFormat::None) << (c.reason ? c.reason : "");
    EXPECT_EQ(script.format, c.format);
    ASSERT_EQ(script.GetCount(), c.count);
    for (const auto& message : sink.messages) {
        ADD_FAILURE() << "message: " << message.text;
    }
    if (c.count == 0) {
        return;
    }
    EXPECT_EQ(script.entries.front().start, c.firstStart);
    EXPECT_EQ(script.entries.front().end, c.firstEnd);
    EXPECT_EQ(script.entries.back().start, c.lastStart);
    EXPECT_EQ(script.entries.back().end, c.lastEnd);
    if (c.text) {
        const QString text = script.GetText(c.textIndex);
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(c.text))) << text.toStdString();
    }
}

TEST(CorpusTest, CommittedFixtures)
{
    int checked = 0;
    for (const CorpusCase& c : Cases()) {
        if (!c.fixture) {
            continue;
        }
        SCOPED_TRACE(c.fixture);
        Check(c, QStringLiteral(QUILLARY_TEST_DATA_DIR "/scripts/") + c.fixture);
        ++checked;
    }
    EXPECT_EQ(checked, 5);
}

TEST(CorpusTest, SharedCorpus)
{
    QString dir = qEnvironmentVariable("QUILLARY_CORPUS_DIR", QStringLiteral(QUILLARY_CORPUS_DIR));
    if (!QFileInfo(dir).isDir()) {
        GTEST_SKIP() << "no corpus at " << dir.toStdString();
    }
    for (const CorpusCase& c : Cases()) {
        SCOPED_TRACE(c.corpusPath);
        const QString path = QDir(dir).filePath(QString::fromUtf8(c.corpusPath));
        ASSERT_TRUE(QFileInfo::exists(path));
        Check(c, path);
    }
}

} // namespace
} // namespace quillary::scripts
