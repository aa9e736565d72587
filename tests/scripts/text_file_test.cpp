// CTextFile: encoding detection, the four line readers and positions after the mark.
#include "scripts/text_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillary::scripts {
namespace {

using Encoding = CTextFile::Encoding;

QByteArray Bytes(std::string_view s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::vector<QString> ReadAll(CTextFile& file)
{
    std::vector<QString> lines;
    QString line;
    while (file.ReadString(line)) {
        lines.push_back(line);
    }
    return lines;
}

struct ReadCase {
    const char* name;
    QByteArray bytes;
    Encoding encoding;
    int32_t offset;
    std::vector<QString> lines;
};

TEST(TextFileTest, DetectsEncodingAndReadsLines)
{
    using namespace std::string_view_literals;
    const std::vector<ReadCase> cases{
        {"empty file", Bytes(""), Encoding::Ascii, 0, {}},
        {"one byte", Bytes("A"), Encoding::Ascii, 0, {"A"}},
        {"last line without LF", Bytes("a\nb"), Encoding::Ascii, 0, {"a", "b"}},
        {"final LF adds no line", Bytes("a\n"), Encoding::Ascii, 0, {"a"}},
        {"empty lines are lines", Bytes("\n\nx\n"), Encoding::Ascii, 0, {"", "", "x"}},
        {"ascii: CR LF reads as LF, a lone CR stays",
         Bytes("a\rb\r\nc"),
         Encoding::Ascii,
         0,
         {QStringLiteral("a\rb"), "c"}},
        {"ascii: bytes become the same code points",
         Bytes("caf\xE9\n"),
         Encoding::Ascii,
         0,
         {QStringLiteral(u"caf\u00E9")}},
        {"EF BB without BF is no mark",
         Bytes("\xEF\xBB"
               "A\n"),
         Encoding::Ascii,
         0,
         {QStringLiteral(u"\u00EF\u00BB"
                         "A")}},
        {"EF BB alone", Bytes("\xEF\xBB"), Encoding::Ascii, 0, {QStringLiteral(u"\u00EF\u00BB")}},
        {"utf-8 mark", Bytes("\xEF\xBB\xBFx\r\ny"), Encoding::Utf8, 3, {"x", "y"}},
        {"utf-8: CR dropped anywhere",
         Bytes("\xEF\xBB\xBF"
               "a\rb\n"),
         Encoding::Utf8,
         3,
         {"ab"}},
        {"utf-8: two- and three-byte sequences",
         Bytes("\xEF\xBB\xBF\xC3\xA9\xE6\x97\xA5\n"),
         Encoding::Utf8,
         3,
         {QStringLiteral(u"\u00E9\u65E5")}},
        {"utf-8: four-byte sequence gives four ?",
         Bytes("\xEF\xBB\xBF"
               "a\xF0\x9F\x98\x80z"),
         Encoding::Utf8,
         3,
         {"a????z"}},
        {"utf-8: stray continuation byte", Bytes("\xEF\xBB\xBF\x80\n"), Encoding::Utf8, 3, {"?"}},
        {"utf-8: file ends inside a sequence",
         Bytes("\xEF\xBB\xBF"
               "ab\xE6\x97"),
         Encoding::Utf8,
         3,
         {"ab"}},
        {"utf-8 without mark is detected",
         Bytes("caf\xC3\xA9\nx"),
         Encoding::Utf8,
         0,
         {QStringLiteral(u"caf\u00E9"), "x"}},
        {"overlong utf-8 is not utf-8",
         Bytes("\xC0\xAF\n"),
         Encoding::Ascii,
         0,
         {QStringLiteral(u"\u00C0\u00AF")}},
        {"utf-16 le",
         Bytes("\xFF\xFE"
               "A\0\n\0B\0"sv),
         Encoding::Utf16Le,
         2,
         {"A", "B"}},
        {"utf-16 be", Bytes("\xFE\xFF\0A\0\n\0B"sv), Encoding::Utf16Be, 2, {"A", "B"}},
        {"utf-16: CR LF and lone CR disappear",
         Bytes("\xFF\xFE"
               "a\0\r\0\n\0b\0\r\0c\0"sv),
         Encoding::Utf16Le,
         2,
         {"a", "bc"}},
        {"utf-16: surrogate pairs pass through",
         Bytes("\xFF\xFE\x3D\xD8\x00\xDE"sv),
         Encoding::Utf16Le,
         2,
         {QStringLiteral(u"\U0001F600")}},
        {"utf-16: odd last byte ends the file",
         Bytes("\xFF\xFE"
               "A\0B"sv),
         Encoding::Utf16Le,
         2,
         {"A"}},
        {"utf-16 mark alone", Bytes("\xFF\xFE"), Encoding::Utf16Le, 2, {}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        CTextFile file;
        ASSERT_TRUE(file.OpenBytes(c.bytes));
        EXPECT_EQ(file.GetEncoding(), c.encoding);
        EXPECT_EQ(file.GetOffset(), c.offset);
        EXPECT_EQ(file.IsUnicode(), c.encoding != Encoding::Ascii);
        EXPECT_EQ(file.GetPosition(), 0u);
        EXPECT_EQ(file.GetLength(), static_cast<uint64_t>(c.bytes.size() - c.offset));
        EXPECT_EQ(ReadAll(file), c.lines);
        QString line = QStringLiteral("stale");
        EXPECT_FALSE(file.ReadString(line));
        EXPECT_TRUE(line.isEmpty());
    }
}

TEST(TextFileTest, PositionsAndSeekCountFromAfterTheMark)
{
    const std::vector<QByteArray> files{Bytes("\xEF\xBB\xBF"
                                              "ab\ncd\n"),
                                        QByteArray("\xFF\xFE"
                                                   "a\0b\0\n\0c\0d\0\n\0",
                                                   14),
                                        Bytes("ab\r\ncd\r\n")};
    for (const QByteArray& bytes : files) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        CTextFile file;
        ASSERT_TRUE(file.OpenBytes(bytes));
        const uint64_t length = file.GetLength();
        QString line;
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, "ab");
        const uint64_t second = file.GetPosition();
        EXPECT_EQ(second, length / 2);
        EXPECT_EQ(file.Seek(0), 0u);
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, "ab");
        EXPECT_EQ(file.Seek(second), second);
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, "cd");
        EXPECT_EQ(file.GetPosition(), length);
        EXPECT_EQ(file.Seek(length + 100), length);
        EXPECT_FALSE(file.ReadString(line));
    }
}

TEST(TextFileTest, OpensLocalFilesAndFailsOnMissingOnes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("a.srt"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("\xEF\xBB\xBFline\n");
    out.close();

    CTextFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(file.GetFilePath(), path);
    EXPECT_EQ(file.GetEncoding(), Encoding::Utf8);
    QString line;
    EXPECT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "line");
    file.Close();
    EXPECT_FALSE(file.ReadString(line));

    EXPECT_FALSE(file.Open(dir.filePath(QStringLiteral("missing.srt"))));
    EXPECT_FALSE(file.Open(dir.path())); // a directory
}

} // namespace
} // namespace quillary::scripts
