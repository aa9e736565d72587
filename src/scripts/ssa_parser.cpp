// SubStation Alpha (.ssa "4.00", .ass "4.00+", "4.00++"): header keys, styles, Dialogue events
// and embedded fonts.
#include "scripts/embedded_fonts.h"
#include "scripts/multibyte_text.h"
#include "scripts/parsers.h"
#include "scripts/ssa_fields.h"

#include <algorithm>

namespace quillary::scripts {
namespace {

// Script and style versions: 3 or 4 read the "4.00" layout, 5 "4.00+", 6 "4.00++".
struct SVersions {
    int script = 3;
    int style = 3;
};

// The other side of the play resolution when only one is given: 1280 <-> 1024, else 4:3.
int32_t CompleteHeight(int32_t width)
{
    return width == 1280 ? 1024 : static_cast<int32_t>(int64_t{width} * 3 / 4);
}

int32_t CompleteWidth(int32_t height)
{
    return height == 1024 ? 1280 : static_cast<int32_t>(int64_t{height} * 4 / 3);
}

bool EndsWith(QStringView text, QLatin1String suffix)
{
    return text.size() >= suffix.size() && text.endsWith(suffix, Qt::CaseInsensitive);
}

void RemoveLeadingStars(std::string& name)
{
    name.erase(0, name.find_first_not_of('*'));
}

// Old "4.00" alignments: 1-3 bottom, +8 top (9-11), +4 middle (5-7).
int32_t AlignmentFromOld(int32_t a)
{
    return (a & 3) + ((a & 4) ? 6 : ((a & 8) ? 3 : 0));
}

bool ReadStyle(QString& line, int version, bool unicode, CSimpleTextSubtitle& ret)
{
    auto style = std::make_unique<STSStyle>();
    STSStyle& s = *style;
    const auto name = GetStr(line);
    const auto fontName = GetStr(line);
    const auto fontSize = GetFloat(line);
    if (!name || !fontName || !fontSize) {
        return false;
    }
    std::string styleName = Narrow(*name, unicode);
    s.fontName = Narrow(*fontName, unicode);
    s.fontSize = *fontSize;
    for (uint32_t& colour : s.colors) {
        const auto value = GetInt(line);
        if (!value) {
            return false;
        }
        colour = static_cast<uint32_t>(*value);
    }
    const auto bold = GetInt(line);
    const auto italic = GetInt(line);
    if (!bold || !italic) {
        return false;
    }
    s.fontWeight = *bold != 0 ? 700 : 400;
    s.italic = *italic != 0;
    if (version >= 5) {
        const auto underline = GetInt(line);
        const auto strikeOut = GetInt(line);
        const auto scaleX = GetFloat(line);
        const auto scaleY = GetFloat(line);
        const auto spacing = GetFloat(line);
        const auto angleZ = GetFloat(line);
        if (!underline || !strikeOut || !scaleX || !scaleY || !spacing || !angleZ) {
            return false;
        }
        s.underline = *underline != 0;
        s.strikeOut = *strikeOut != 0;
        s.fontScaleX = *scaleX;
        s.fontScaleY = *scaleY;
        s.fontSpacing = *spacing;
        s.angleZ = *angleZ;
    }
    if (version >= 4) {
        const auto borderStyle = GetInt(line);
        if (!borderStyle) {
            return false;
        }
        s.borderStyle = *borderStyle;
    }
    const auto outline = GetFloat(line);
    const auto shadow = GetFloat(line);
    const auto alignment = GetInt(line);
    const auto left = GetInt(line);
    const auto right = GetInt(line);
    const auto vertical = GetInt(line);
    if (!outline || !shadow || !alignment || !left || !right || !vertical) {
        return false;
    }
    s.outlineWidthX = s.outlineWidthY = *outline;
    s.shadowDepthX = s.shadowDepthY = *shadow;
    s.alignment = *alignment;
    s.margins = {*left, *vertical, *right, *vertical};
    if (version >= 6) {
        const auto bottom = GetInt(line);
        if (!bottom) {
            return false;
        }
        s.margins.bottom = *bottom;
    }
    int32_t alphaLevel = 0;
    if (version <= 4) {
        const auto value = GetInt(line);
        if (!value) {
            return false;
        }
        alphaLevel = *value;
    }
    const auto charSet = GetInt(line);
    if (!charSet) {
        return false;
    }
    s.charSet = *charSet;
    if (version >= 6) {
        const auto relativeTo = GetInt(line);
        if (!relativeTo) {
            return false;
        }
        s.relativeTo = *relativeTo;
    }

    if (version <= 4) {
        s.colors[2] = s.colors[3];
        const auto alpha = static_cast<uint8_t>(std::clamp(alphaLevel, 0, 255));
        s.alpha = {alpha, alpha, alpha, 0x80};
        s.alignment = AlignmentFromOld(s.alignment);
    } else {
        // "4.00+" colours are &HAABBGGRR: the top byte is the transparency.
        for (size_t i = 0; i < s.colors.size(); ++i) {
            s.alpha[i] = static_cast<uint8_t>(s.colors[i] >> 24);
            s.colors[i] &= 0xFFFFFFu;
        }
        s.fontScaleX = std::max(s.fontScaleX, 0.0);
        s.fontScaleY = std::max(s.fontScaleY, 0.0);
        s.fontSpacing = std::max(s.fontSpacing, 0.0);
    }
    s.angleX = s.angleY = 0;
    s.borderStyle = s.borderStyle == 3 ? 1 : 0;
    s.outlineWidthX = std::max(s.outlineWidthX, 0.0);
    s.outlineWidthY = std::max(s.outlineWidthY, 0.0);
    s.shadowDepthX = std::max(s.shadowDepthX, 0.0);
    s.shadowDepthY = std::max(s.shadowDepthY, 0.0);
    RemoveLeadingStars(styleName);
    ret.AddStyle(std::move(styleName), std::move(style));
    return true;
}

std::optional<int32_t> ReadTime(QString& line)
{
    const auto hours = GetInt(line, u':');
    const auto minutes = GetInt(line, u':');
    const auto seconds = GetInt(line, u'.');
    const auto hundredths = GetInt(line, u',');
    if (!hours || !minutes || !seconds || !hundredths) {
        return std::nullopt;
    }
    return ClockToMs(*hours, *minutes, *seconds, int64_t{*hundredths} * 10);
}

bool ReadDialogue(QString& line, int version, bool unicode, CSimpleTextSubtitle& ret)
{
    int32_t layer = 0;
    if (version <= 4) {
        // The "Marked=0" field of "4.00"; in a "4.00+" file without a script type this reads and
        // drops the layer, so such events still load.
        if (!GetStr(line, u'=') || !GetInt(line)) {
            return false;
        }
    } else {
        const auto value = GetInt(line);
        if (!value) {
            return false;
        }
        layer = *value;
    }
    const auto start = ReadTime(line);
    const auto end = ReadTime(line);
    const auto style = GetStr(line);
    const auto actor = GetStr(line);
    const auto left = GetInt(line);
    const auto right = GetInt(line);
    const auto vertical = GetInt(line);
    if (!start || !end || !style || !actor || !left || !right || !vertical) {
        return false;
    }
    SMargins margins{*left, *vertical, *right, *vertical};
    if (version >= 6) {
        const auto bottom = GetInt(line);
        if (!bottom) {
            return false;
        }
        margins.bottom = *bottom;
    }
    const auto effectField = GetStr(line);
    if (!effectField) {
        return false;
    }
    // An effect that the rest of the line begins with was not followed by a comma (or the line
    // ends after it): it is no effect.
    std::string effect = Narrow(*effectField, unicode);
    const qsizetype n = std::min(effectField->size(), line.size());
    if (QStringView(*effectField).left(n) == QStringView(line).left(n)) {
        effect.clear();
    }
    std::string styleName = Narrow(*style, unicode);
    RemoveLeadingStars(styleName);
    if (QString::fromStdString(styleName).compare(QLatin1String("Default"), Qt::CaseInsensitive) ==
        0) {
        styleName = CSimpleTextSubtitle::kDefaultStyle;
    }
    ret.Add(line, unicode, *start, *end, std::move(styleName), Narrow(*actor, unicode),
            std::move(effect), margins, layer);
    return true;
}

} // namespace

bool OpenSubStationAlpha(CTextFile& file, CSimpleTextSubtitle& ret, int)
{
    const bool unicode = file.IsUnicode();
    SVersions versions;
    bool accepted = false;
    bool firstLine = true;
    QString line;
    while (file.ReadString(line)) {
        line = TrimSpace(line);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        const bool wasFirstLine = firstLine;
        firstLine = false;
        const QString key = GetStr(line, u':').value_or(QString()).toLower();

        if (key == QLatin1String("[script info]")) {
            if (!wasFirstLine) {
                return false;
            }
            accepted = true;
        } else if (key == QLatin1String("playresx")) {
            const auto value = GetInt(line);
            if (!value) {
                ret.playResX = ret.playResY = 0;
                return false;
            }
            ret.playResX = *value;
            if (ret.playResY <= 0) {
                ret.playResY = CompleteHeight(ret.playResX);
            }
        } else if (key == QLatin1String("playresy")) {
            const auto value = GetInt(line);
            if (!value) {
                ret.playResX = ret.playResY = 0;
                return false;
            }
            ret.playResY = *value;
            if (ret.playResX <= 0) {
                ret.playResX = CompleteWidth(ret.playResY);
            }
        } else if (key == QLatin1String("video file")) {
            // "name,label:rate:label:width,label:height"; a missing or non-numeric value fails
            // the file like a bad play resolution.
            if (!GetStr(line, u',') || !GetStr(line, u':')) {
                return false;
            }
            const auto rate = GetFloat(line, u':');
            const auto widthLabel = GetStr(line, u':');
            if (!rate || !widthLabel || widthLabel->isEmpty()) {
                return false;
            }
            const auto width = GetInt(line, u',');
            const auto heightLabel = GetStr(line, u':');
            if (!width || !heightLabel || heightLabel->isEmpty()) {
                return false;
            }
            const auto height = GetInt(line, u',');
            if (!height) {
                return false;
            }
            ret.frameRate = static_cast<float>(*rate);
            ret.videoWidth = *width;
            ret.videoHeight = *height;
        } else if (key == QLatin1String("wrapstyle")) {
            const auto value = GetInt(line);
            if (!value) {
                ret.wrapStyle = 1;
                return false;
            }
            ret.wrapStyle = *value;
        } else if (key == QLatin1String("scripttype")) {
            if (EndsWith(line, QLatin1String("4.00"))) {
                versions = {4, 4};
            } else if (EndsWith(line, QLatin1String("4.00+"))) {
                versions = {5, 5};
            } else if (EndsWith(line, QLatin1String("4.00++"))) {
                versions = {6, 6};
            }
        } else if (key == QLatin1String("collisions")) {
            const auto value = GetStr(line);
            if (!value) {
                return false;
            }
            ret.collisions = value->toLower().contains(QLatin1String("reverse")) ? 1 : 0;
        } else if (key == QLatin1String("scaledborderandshadow")) {
            const auto value = GetStr(line);
            if (!value) {
                return false;
            }
            ret.scaledBorderAndShadow = value->toLower().contains(QLatin1String("yes"));
        } else if (key == QLatin1String("[v4 styles]")) {
            accepted = true;
            versions.style = 4;
        } else if (key == QLatin1String("[v4+ styles]")) {
            accepted = true;
            versions.style = 5;
        } else if (key == QLatin1String("[v4++ styles]")) {
            accepted = true;
            versions.style = 6;
        } else if (key == QLatin1String("style")) {
            if (!ReadStyle(line, versions.style, unicode, ret)) {
                return false;
            }
        } else if (key == QLatin1String("[events]")) {
            accepted = true;
        } else if (key == QLatin1String("dialogue")) {
            if (!ReadDialogue(line, versions.script, unicode, ret)) {
                return false;
            }
        } else if (key == QLatin1String("fontname")) {
            const QStringList families = ReadEmbeddedFonts(file);
            ret.embeddedFontFamilies.insert(ret.embeddedFontFamilies.end(), families.begin(),
                                            families.end());
        }
    }
    return accepted;
}

} // namespace quillary::scripts
