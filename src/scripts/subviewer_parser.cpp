// SubViewer 2.0: "[TAG]param" formatting lines, "h:m:s.cc,h:m:s.cc" time lines, one text line.
#include "scripts/formatted_scan.h"
#include "scripts/parsers.h"

#include <array>

namespace quillary::scripts {
namespace {

// Formatting set by tag lines; applies to every entry read after it.
struct SSubViewerFormat {
    QString font;
    QString colour;
    QString size;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// Trims the characters space, backslash, "t" and comma from both ends: the tab was always spelt
// as a backslash and a "t", so a parameter loses a lower-case t at either end, and stays so.
QString TrimParameter(QStringView text)
{
    const auto strip = [](QChar c) { return c == u' ' || c == u'\\' || c == u't' || c == u','; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && strip(text[begin])) {
        ++begin;
    }
    while (end > begin && strip(text[end - 1])) {
        --end;
    }
    return text.mid(begin, end - begin).toString();
}

void ReadTags(QStringView line, SSubViewerFormat& format)
{
    const STSStyle defaultStyle;
    qsizetype i = 0;
    while (i < line.size() && line[i] == u'[') {
        const qsizetype close = line.indexOf(QLatin1Char(']'), i);
        if (close < 0) {
            break;
        }
        const QString tag = TrimSpace(line.mid(i + 1, close - i - 1)).toLower();
        qsizetype next = line.indexOf(QLatin1Char('['), close + 1);
        if (next < 0) {
            next = line.size();
        }
        const QString parameter = TrimParameter(line.mid(close + 1, next - close - 1));
        if (tag == QLatin1String("font")) {
            format.font = parameter.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0
                              ? QString()
                              : parameter;
        } else if (tag == QLatin1String("colf")) {
            format.colour =
                ScanHex(QStringView(parameter).mid(2)) == 0xFFFFFFu ? QString() : parameter;
        } else if (tag == QLatin1String("size")) {
            format.size = ScanDecimal(parameter) == 24 ? QString() : parameter;
        } else if (tag == QLatin1String("style")) {
            if (parameter.contains(QLatin1String("no"))) {
                format.bold = format.italic = format.underline = format.strikeOut = false;
            } else {
                // Only attributes the default style already has can be switched on, and the
                // default style has none of them but bold.
                format.bold =
                    defaultStyle.fontWeight < 700 && parameter.contains(QLatin1String("bd"));
                format.italic = defaultStyle.italic && parameter.contains(QLatin1String("it"));
                format.strikeOut =
                    defaultStyle.strikeOut && parameter.contains(QLatin1String("st"));
                format.underline =
                    defaultStyle.underline && parameter.contains(QLatin1String("ud"));
            }
        }
        i = next;
    }
}

QString Prefix(const SSubViewerFormat& format)
{
    QString prefix;
    if (!format.font.isEmpty()) {
        prefix += QLatin1String("\\fn") + format.font;
    }
    if (!format.colour.isEmpty()) {
        prefix += QLatin1String("\\c") + format.colour;
    }
    if (!format.size.isEmpty()) {
        prefix += QLatin1String("\\fs") + format.size;
    }
    if (format.bold) {
        prefix += QLatin1String("\\b1");
    }
    if (format.italic) {
        prefix += QLatin1String("\\i1");
    }
    if (format.strikeOut) {
        prefix += QLatin1String("\\s1");
    }
    if (format.underline) {
        prefix += QLatin1String("\\u1");
    }
    return prefix;
}

} // namespace

bool OpenSubViewer(CTextFile& file, CSimpleTextSubtitle& ret, int)
{
    const bool unicode = file.IsUnicode();
    SSubViewerFormat format;
    QString line;
    while (ReadNonBlankLine(file, line)) {
        if (line.startsWith(QLatin1Char('['))) {
            ReadTags(line, format);
            continue;
        }
        std::array<int32_t, 10> t{}; // h1 m1 s1 sep cc1 h2 m2 s2 sep cc2; cc = hundredths
        if (ScanFormat(line, "%d:%d:%d%c%d,%d:%d:%d%c%d\n", t) != 10) {
            return false;
        }
        QString text;
        (void)file.ReadString(text);
        text.replace(QLatin1String("[br]"), QLatin1String("\\N"));
        const QString prefix = Prefix(format);
        if (!prefix.isEmpty()) {
            text = QLatin1Char('{') + prefix + QLatin1Char('}') + text;
        }
        ret.Add(std::move(text), unicode, ClockToMs(t[0], t[1], t[2], int64_t{t[4]} * 10),
                ClockToMs(t[5], t[6], t[7], int64_t{t[9]} * 10));
    }
    return !ret.entries.empty();
}

} // namespace quillary::scripts
