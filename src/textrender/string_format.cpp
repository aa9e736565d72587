// SetupStringFormat.
#include "textrender/string_format.h"

namespace quillary::textrender {

SStringFormat SetupStringFormat(const CTextTmp& tmp)
{
    SStringFormat format;
    format.lineLimit = true;
    format.noFitBlackBox = true;
    if (tmp.IsVertical()) {
        format.vertical = true;
        format.rightToLeft = !tmp.leftToRight;
    }
    format.alignment = EStringAlignment::kNear;
    format.lineAlignment = EStringAlignment::kNear;
    return format;
}

} // namespace quillary::textrender
