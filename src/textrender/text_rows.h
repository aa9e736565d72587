// STextRun and STextRow: the rows of word runs that the layout hands to the renderer.
#pragma once

#include "layout/text_rows.h"

namespace quillary::textrender {

using layout::STextRow;
using layout::STextRun;

} // namespace quillary::textrender
