// Bracketed-hours lines: "{h:m:s}{h:m:s}text".
#include "scripts/formatted_scan.h"
#include "scripts/multibyte_text.h"
#include "scripts/parsers.h"

#include <array>

namespace quillary::scripts {

bool OpenBracketedHours(CTextFile& file, CSimpleTextSubtitle& ret, int charSet)
{
    const bool unicode = file.IsUnicode();
    QString line;
    while (ReadNonBlankLine(file, line)) {
        ReplaceChar(line, u'|', u"\n", charSet, unicode);
        std::array<int32_t, 6> t{};
        if (ScanFormat(line, "{%d:%d:%d}{%d:%d:%d}", t) != 6) {
            return false;
        }
        // The scan matched two brace pairs holding only numbers, colons and white space.
        const qsizetype second = line.indexOf(QLatin1Char('}'), line.indexOf(QLatin1Char('}')) + 1);
        ret.Add(line.mid(second + 1), unicode, ClockToMs(t[0], t[1], t[2], 0),
                ClockToMs(t[3], t[4], t[5], 0));
    }
    return !ret.entries.empty();
}

} // namespace quillary::scripts
