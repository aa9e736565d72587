// SSubLine: one timed subtitle line, a script entry or an image file.
#pragma once

#include <QString>

#include <cstdint>

namespace quillary::sources {

class CSubBase;

struct SSubLine {
    CSubBase* source = nullptr; // the source holding the line; not owned
    QString imagePath;          // non-empty for an image line
    int32_t entryIndex = 0;     // the script entry shown by a script line
    int32_t start = 0;          // milliseconds
    int32_t end = 0;
    int32_t x = 0; // explicit left position on the frame; 0 = automatic
    int32_t y = 0; // explicit top position; 0 = automatic
    bool timingValid = true;
    bool faded = false;

    bool IsImageLine() const { return !imagePath.isEmpty(); }
};

} // namespace quillary::sources
