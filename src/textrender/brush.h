// CreateBrush: the fill brush of the template (solid, hatch, tiled linear gradient or tiled
// texture), in the coordinates of the text bitmap.
#pragma once

#include "textrender/text_tmp.h"

#include <QBrush>

#include <optional>

namespace quillary::textrender {

// A new brush for the template's "BrushType", or none when it cannot be made: an unknown brush
// type, hatch style or gradient mode, a gradient rectangle of zero or negative width or height,
// or a texture file that does not load (any more). Without a brush the text body stays
// unfilled. Hatch and texture tiles start at the origin of the painter's coordinates, which is
// the text bitmap's origin when the renderer draws without a brush origin.
std::optional<QBrush> CreateBrush(const CTextTmp& tmp);

// The pieces of CreateBrush, for callers that have the values without a template.
QBrush HatchBrush(int style, uint32_t foreground, uint32_t background); // style 0-52
std::optional<QBrush> LinearGradientBrush(const SLgRect& rect, ELgMode mode, uint32_t start,
                                          uint32_t end);
std::optional<QBrush> TextureBrush(const QString& path);

} // namespace quillary::textrender
