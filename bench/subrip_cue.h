// Writing generated SubRip cues for the benchmarks' synthetic films.
#pragma once

#include <QByteArray>

#include <cstdio>

namespace quillary::bench {

// "h:m:s,ms" of a time in milliseconds.
inline QByteArray SubRipTime(int ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60,
                  ms / 1000 % 60, ms % 1000);
    return text;
}

// The counter and time lines of cue `number`, each ended with `newline`; the caller adds the text
// rows and the empty line after them.
inline QByteArray SubRipCueHead(int number, int startMs, int endMs, const char* newline)
{
    return QByteArray::number(number) + newline + SubRipTime(startMs) + " --> " +
           SubRipTime(endMs) + newline;
}

} // namespace quillary::bench
