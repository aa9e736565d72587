// STSStyle: equality without shear, and the font description.
#include "scripts/sts_style.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace quillary::scripts {
namespace {

auto Fields(const STSStyle& s)
{
    return std::tie(s.margins, s.alignment, s.borderStyle, s.outlineWidthX, s.outlineWidthY,
                    s.shadowDepthX, s.shadowDepthY, s.colors, s.alpha, s.charSet, s.fontName,
                    s.fontSize, s.fontScaleX, s.fontScaleY, s.fontSpacing, s.fontWeight, s.italic,
                    s.underline, s.strikeOut, s.edgeBlur, s.gaussianBlur, s.angleZ, s.angleX,
                    s.angleY, s.relativeTo);
}

} // namespace

bool STSStyle::operator==(const STSStyle& other) const
{
    return Fields(*this) == Fields(other);
}

SFontDescription STSStyle::ToFontDescription() const
{
    SFontDescription font;
    font.charSet = charSet;
    font.faceName = fontName.substr(0, 31);
    // Sizes come from script text: keep the conversion defined for any value.
    const double height = fontSize + 0.5;
    font.height = std::isfinite(height) ? static_cast<int32_t>(std::clamp(height, -1e9, 1e9)) : 0;
    font.weight = fontWeight;
    font.italic = italic;
    font.underline = underline;
    font.strikeOut = strikeOut;
    return font;
}

} // namespace quillary::scripts
