// Formatting of 90 kHz time stamps.
#include "pgs/timestamp.h"

#include <cstdio>

namespace quillary::pgs {

std::string FormatTimestamp(uint32_t ticks)
{
    const uint64_t ms = uint64_t(ticks) / 90;
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", unsigned(ms / 3600000),
                  unsigned(ms / 60000 % 60), unsigned(ms / 1000 % 60), unsigned(ms % 1000));
    return text;
}

} // namespace quillary::pgs
