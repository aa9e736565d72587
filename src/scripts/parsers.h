// The seven script parsers. Each reads lines from `file`, fills `ret` through Add and AddStyle
// and returns true when it accepted the file; `charSet` is the one given to Open.
#pragma once

#include "scripts/simple_text_subtitle.h"
#include "scripts/text_file.h"

namespace quillary::scripts {

[[nodiscard]] bool OpenSubRip(CTextFile& file, CSimpleTextSubtitle& ret, int charSet);
[[nodiscard]] bool OpenBracketedHours(CTextFile& file, CSimpleTextSubtitle& ret, int charSet);
[[nodiscard]] bool OpenSubViewer(CTextFile& file, CSimpleTextSubtitle& ret, int charSet);
[[nodiscard]] bool OpenMicroDvd(CTextFile& file, CSimpleTextSubtitle& ret, int charSet);
[[nodiscard]] bool OpenHoursFirst(CTextFile& file, CSimpleTextSubtitle& ret, int charSet);
[[nodiscard]] bool OpenSubStationAlpha(CTextFile& file, CSimpleTextSubtitle& ret, int charSet);
[[nodiscard]] bool OpenXss(CTextFile& file, CSimpleTextSubtitle& ret, int charSet);

// White space at both ends as the parsers trim it (the C library's isspace set).
[[nodiscard]] QString TrimSpace(QStringView text);
// Reads the next line that holds more than white space, trimmed; false at the end of the file.
[[nodiscard]] bool ReadNonBlankLine(CTextFile& file, QString& line);

// Milliseconds from clock fields, computed in 64 bits and wrapped to 32 bits like the original
// arithmetic, so hostile numbers cannot overflow.
[[nodiscard]] int32_t ClockToMs(int64_t hours, int64_t minutes, int64_t seconds, int64_t ms);

} // namespace quillary::scripts
