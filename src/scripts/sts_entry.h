// STSEntry: one timed event of a script.
#pragma once

#include "scripts/sts_style.h"

#include <QString>

#include <cstdint>
#include <string>

namespace quillary::scripts {

struct STSEntry {
    // The event text with override blocks; line breaks are the two characters "\N". When
    // `isUnicode` is false every character holds one byte of multibyte text in the character set
    // of the entry's style (CSimpleTextSubtitle::GetText converts it).
    QString text;
    bool isUnicode = false;
    std::string styleName = "Default"; // never empty, no leading "*"
    std::string actor;
    std::string effect; // "Banner;", "Scroll up;", "Scroll down;" ...
    SMargins margins;   // 0 takes the style's
    int32_t layer = 0;
    int32_t start = 0; // milliseconds, or frame numbers when the script's mode is 1
    int32_t end = 0;
    int32_t readOrder = 0; // index of the entry when it was added
};

} // namespace quillary::scripts
