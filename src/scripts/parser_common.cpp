// Helpers shared by the script parsers.
#include "scripts/formatted_scan.h"
#include "scripts/parsers.h"

namespace quillary::scripts {

QString TrimSpace(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsCSpace(text[begin].unicode())) {
        ++begin;
    }
    while (end > begin && IsCSpace(text[end - 1].unicode())) {
        --end;
    }
    return text.mid(begin, end - begin).toString();
}

bool ReadNonBlankLine(CTextFile& file, QString& line)
{
    while (file.ReadString(line)) {
        line = TrimSpace(line);
        if (!line.isEmpty())
            return true;
    }
    return false;
}

int32_t ClockToMs(int64_t hours, int64_t minutes, int64_t seconds, int64_t ms)
{
    const int64_t total = hours * 3'600'000 + minutes * 60'000 + seconds * 1'000 + ms;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(total)));
}

} // namespace quillary::scripts
