// Hours-first lines: "h:m:s:text"; each entry lasts one second plus 50 ms per character.
#include "scripts/formatted_scan.h"
#include "scripts/multibyte_text.h"
#include "scripts/parsers.h"

#include <array>

namespace quillary::scripts {

bool OpenHoursFirst(CTextFile& file, CSimpleTextSubtitle& ret, int charSet)
{
    const bool unicode = file.IsUnicode();
    QString line;
    while (ReadNonBlankLine(file, line)) {
        ReplaceChar(line, u'|', u"\n", charSet, unicode);
        std::array<int32_t, 3> t{};
        if (ScanFormat(line, "%d:%d:%d:", t) != 3) {
            return false;
        }
        qsizetype colon = -1;
        for (int i = 0; i < 3; ++i) {
            colon = line.indexOf(QLatin1Char(':'), colon + 1);
        }
        QString text = line.mid(colon + 1);
        const int32_t start = ClockToMs(t[0], t[1], t[2], 0);
        const int32_t end = ClockToMs(0, 0, 1, int64_t{start} + 50 * text.size());
        ret.Add(std::move(text), unicode, start, end);
    }
    return !ret.entries.empty();
}

} // namespace quillary::scripts
