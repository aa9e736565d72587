// SStringFormat and SetupStringFormat: how the renderer lays a word's glyphs out.
#pragma once

#include "textrender/text_tmp.h"

namespace quillary::textrender {

enum class EStringAlignment : uint8_t { kNear = 0, kCenter = 1, kFar = 2 };

struct SStringFormat {
    bool lineLimit = false;                               // only whole lines of text are laid out
    bool noFitBlackBox = false;                           // glyphs may reach outside the layout box
    bool vertical = false;                                // glyphs run top to bottom
    bool rightToLeft = false;                             // reading order right to left
    EStringAlignment alignment = EStringAlignment::kNear; // along the reading direction
    EStringAlignment lineAlignment = EStringAlignment::kNear; // across it

    bool operator==(const SStringFormat&) const = default;
};

// The format every word of the template is drawn with: line limit and no-fit-black-box; for a
// vertical font (a "FontName" beginning with "@") also vertical, and right-to-left when
// "LeftToRight" is false; both alignments near. "LeftToRight" leaves horizontal text alone.
SStringFormat SetupStringFormat(const CTextTmp& tmp);

} // namespace quillary::textrender
