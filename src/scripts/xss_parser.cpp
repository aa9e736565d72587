// XSS scripts: "key=value" lines with "style" and "line" records.
#include "scripts/embedded_fonts.h"
#include "scripts/multibyte_text.h"
#include "scripts/parsers.h"
#include "scripts/ssa_fields.h"

#include <algorithm>

namespace quillary::scripts {
namespace {

// Reads fields in order into the given targets; false at the first failed reader.
template <typename T> bool Read(QString& line, T& target)
{
    if constexpr (std::is_same_v<T, double>) {
        const auto value = GetFloat(line);
        if (value) {
            target = *value;
        }
        return value.has_value();
    } else {
        const auto value = GetInt(line);
        if (value) {
            target = static_cast<T>(*value);
        }
        return value.has_value();
    }
}

template <typename... T> bool ReadAll(QString& line, T&... targets)
{
    return (Read(line, targets) && ...);
}

std::optional<std::string> ReadPairName(QString& line, bool unicode)
{
    const auto first = GetStr(line);
    const auto second = GetStr(line);
    if (!first || !second) {
        return std::nullopt;
    }
    return Narrow(*first, unicode) + "_" + Narrow(*second, unicode);
}

bool ReadStyle(QString& line, bool unicode, CSimpleTextSubtitle& ret)
{
    auto style = std::make_unique<STSStyle>();
    STSStyle& s = *style;
    const auto name = ReadPairName(line, unicode);
    const auto fontName = GetStr(line);
    if (!name || !fontName) {
        return false;
    }
    s.fontName = Narrow(*fontName, unicode);
    int32_t bold = 0;
    int32_t italic = 0;
    int32_t underline = 0;
    int32_t strikeOut = 0;
    int32_t edgeBlur = 0;
    double outline = 0;
    double shadow = 0;
    int32_t left = 0;
    int32_t right = 0;
    int32_t vertical = 0;
    if (!ReadAll(line, s.fontSize, s.colors[0], s.colors[1], s.colors[2], s.colors[3], s.alpha[0],
                 s.alpha[1], s.alpha[2], s.alpha[3], bold, italic, underline, strikeOut, edgeBlur,
                 s.fontScaleX, s.fontScaleY, s.fontSpacing, s.angleX, s.angleY, s.angleZ,
                 s.borderStyle, outline, shadow, s.alignment, left, right, vertical, s.charSet)) {
        return false;
    }
    s.fontWeight = bold != 0 ? 700 : 400;
    s.italic = italic != 0;
    s.underline = underline != 0;
    s.strikeOut = strikeOut != 0;
    s.edgeBlur = edgeBlur != 0 ? 1 : 0;
    s.outlineWidthX = s.outlineWidthY = std::max(outline, 0.0);
    s.shadowDepthX = s.shadowDepthY = std::max(shadow, 0.0);
    s.margins = {left, vertical, right, vertical};
    s.fontScaleX = std::max(s.fontScaleX, 0.0);
    s.fontScaleY = std::max(s.fontScaleY, 0.0);
    s.fontSpacing = std::max(s.fontSpacing, 0.0);
    s.borderStyle = s.borderStyle == 3 ? 1 : 0;
    ret.AddStyle(*name, std::move(style));
    return true;
}

std::optional<int32_t> ReadTime(QString& line)
{
    const auto hours = GetInt(line, u':');
    const auto minutes = GetInt(line, u':');
    const auto seconds = GetInt(line, u'.');
    const auto ms = GetInt(line, u',');
    if (!hours || !minutes || !seconds || !ms) {
        return std::nullopt;
    }
    return ClockToMs(*hours, *minutes, *seconds, *ms);
}

// Returns false on a failed reader; a line whose first field is not "D" is skipped.
bool ReadLine(QString& line, bool unicode, CSimpleTextSubtitle& ret)
{
    const auto kind = GetStr(line);
    if (!kind) {
        return false;
    }
    if (*kind != QLatin1String("D")) {
        return true;
    }
    const auto id = GetStr(line);
    const auto layer = GetInt(line);
    const auto start = ReadTime(line);
    const auto end = ReadTime(line);
    auto styleName = ReadPairName(line, unicode);
    const auto actor = GetStr(line);
    const auto left = GetInt(line);
    const auto right = GetInt(line);
    const auto vertical = GetInt(line);
    if (!id || !layer || !start || !end || !styleName || !actor || !left || !right || !vertical) {
        return false;
    }
    styleName->erase(0, styleName->find_first_not_of('*'));
    if (QString::fromStdString(*styleName).compare(QLatin1String("Default"), Qt::CaseInsensitive) ==
        0) {
        *styleName = CSimpleTextSubtitle::kDefaultStyle;
    }
    ret.Add(line, unicode, *start, *end, std::move(*styleName), Narrow(*actor, unicode), {},
            {*left, *vertical, *right, *vertical}, *layer);
    return true;
}

} // namespace

bool OpenXss(CTextFile& file, CSimpleTextSubtitle& ret, int)
{
    const bool unicode = file.IsUnicode();
    QString line;
    while (file.ReadString(line)) {
        line = TrimSpace(line);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        const QString key = GetStr(line, u'=').value_or(QString()).toLower();
        if (key == QLatin1String("version")) {
            // A version that is not a number fails the file, like a bad screen size.
            if (!GetFloat(line)) {
                return false;
            }
        } else if (key == QLatin1String("screenhorizontal")) {
            const auto value = GetInt(line);
            if (!value) {
                ret.playResX = ret.playResY = 0;
                return false;
            }
            ret.playResX = *value;
            if (ret.playResY < 1) {
                ret.playResY = ret.playResX == 1280
                                   ? 1024
                                   : static_cast<int32_t>(int64_t{ret.playResX} * 3 / 4);
            }
        } else if (key == QLatin1String("screenvertical")) {
            const auto value = GetInt(line);
            if (!value) {
                ret.playResX = ret.playResY = 0;
                return false;
            }
            ret.playResY = *value;
            if (ret.playResX < 1) {
                ret.playResX = ret.playResY == 1024
                                   ? 1280
                                   : static_cast<int32_t>(int64_t{ret.playResY} * 4 / 3);
            }
        } else if (key == QLatin1String("style")) {
            if (!ReadStyle(line, unicode, ret)) {
                return false;
            }
        } else if (key == QLatin1String("line")) {
            if (!ReadLine(line, unicode, ret)) {
                return false;
            }
        } else if (key == QLatin1String("fontname")) {
            const QStringList families = ReadEmbeddedFonts(file);
            ret.embeddedFontFamilies.insert(ret.embeddedFontFamilies.end(), families.begin(),
                                            families.end());
        }
    }
    return !ret.entries.empty();
}

} // namespace quillary::scripts
