// SubRip (.srt): counter line, "h:m:s,ms --> h:m:s,ms" line, text lines.
#include "scripts/formatted_scan.h"
#include "scripts/multibyte_text.h"
#include "scripts/parsers.h"

#include <array>

namespace quillary::scripts {

bool OpenSubRip(CTextFile& file, CSimpleTextSubtitle& ret, int charSet)
{
    const bool unicode = file.IsUnicode();
    QString line;
    while (ReadNonBlankLine(file, line)) {
        // h1 sep m1 sep s1 sep ms1 h2 sep m2 sep s2 sep ms2: any separators are accepted.
        std::array<int32_t, 14> t{};
        const int fields = ScanFormat(line, "%d%c%d%c%d%c%d --> %d%c%d%c%d%c%d\n", t);
        if (fields == 1) {
            continue; // a counter
        }
        if (fields != 14) {
            return false;
        }
        // The block ends at a line holding only a number after an empty line (the next counter,
        // consumed here), or at the end of the file.
        QString text;
        bool sawEmptyLine = false;
        while (file.ReadString(line)) {
            line = TrimSpace(line);
            if (line.isEmpty()) {
                sawEmptyLine = true;
            }
            std::array<int32_t, 2> counter{};
            if (ScanFormat(line, "%d%c", counter) == 1 && sawEmptyLine) {
                break;
            }
            // A "|" byte may be the trail byte of a double-byte character; only real ones break.
            ReplaceChar(line, u'|', u"\n", charSet, unicode);
            text += line;
            text += QLatin1Char('\n');
        }
        text.replace(QLatin1String("<i>"), QLatin1String("{\\i1}"));
        text.replace(QLatin1String("</i>"), QLatin1String("{\\i}"));
        text.replace(QLatin1String("<b>"), QLatin1String("{\\b1}"));
        text.replace(QLatin1String("</b>"), QLatin1String("{\\b}"));
        text.replace(QLatin1String("<u>"), QLatin1String("{\\u1}"));
        text.replace(QLatin1String("</u>"), QLatin1String("{\\u}"));
        ret.Add(std::move(text), unicode, ClockToMs(t[0], t[2], t[4], t[6]),
                ClockToMs(t[7], t[9], t[11], t[13]));
    }
    return !ret.entries.empty();
}

} // namespace quillary::scripts
