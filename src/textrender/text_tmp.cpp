// CTextTmp: defaults, font description conversions, change-reporting setters and settings.
#include "textrender/text_tmp.h"

#include "imaging/bitmap.h"
#include "textrender/color_ref.h"
#include "textrender/settings_values.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>

namespace quillary::textrender {
namespace {

// The values a template takes for the keys missing from the store. "LgRect" and
// "ShadowOffset" have none: their absence leaves the template's value.
constexpr const char* kMissingFontName = "Arial";
constexpr int32_t kMissingFontSize = 42;
constexpr int32_t kMissingFontStyle = 0;
constexpr int32_t kMissingLeftToRight = 1;
constexpr int32_t kMissingLineAlignment = 1;
constexpr int32_t kMissingBrushType = 0;
constexpr uint32_t kMissingTextColorRef = 0xFFFFFF;
constexpr uint32_t kMissingTextColor2Ref = 0xFFFFFF;
constexpr int32_t kMissingHatchStyle = 4;
constexpr int32_t kMissingLgMode = 0;
constexpr int32_t kMissingOutlineThickness = 4;
constexpr uint32_t kMissingOutlineColorRef = 0;
constexpr int32_t kMissingEnableShadow = 1;
constexpr int32_t kMissingShadowThickness = 3;
constexpr uint32_t kMissingShadowColorRef = 0;

uint8_t LowByte(int32_t value)
{
    return static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFFu);
}

uint32_t ReadColor(const QSettings& settings, const char* name, uint32_t fallbackColorRef)
{
    const auto colorRef = ReadInt(settings, name);
    return ArgbFromColorRef(colorRef ? static_cast<uint32_t>(*colorRef) : fallbackColorRef);
}

// Binary values hold signed 32-bit little-endian integers; a value of another length counts as
// missing.
template <size_t N>
std::optional<std::array<int32_t, N>> ReadInts(const QSettings& settings, const char* name)
{
    const QVariant value = settings.value(QLatin1String(name));
    if (!value.isValid()) {
        return std::nullopt;
    }
    const QByteArray bytes = value.toByteArray();
    if (bytes.size() != qsizetype(N * 4)) {
        return std::nullopt;
    }
    std::array<int32_t, N> ints{};
    for (size_t i = 0; i < N; ++i) {
        uint32_t v = 0;
        for (size_t b = 0; b < 4; ++b) {
            v |= uint32_t(uint8_t(bytes[qsizetype(i * 4 + b)])) << (8 * b);
        }
        ints[i] = static_cast<int32_t>(v);
    }
    return ints;
}

template <size_t N>
void WriteInts(QSettings& settings, const char* name, const std::array<int32_t, N>& ints)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(N * 4));
    for (const int32_t value : ints) {
        const auto v = static_cast<uint32_t>(value);
        for (size_t b = 0; b < 4; ++b) {
            bytes.append(static_cast<char>((v >> (8 * b)) & 0xFFu));
        }
    }
    settings.setValue(QLatin1String(name), bytes);
}

// Truncation toward zero, saturated to the 32-bit range (NaN gives 0).
int32_t TruncToInt32(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    value = std::clamp(value, double(INT32_MIN), double(INT32_MAX));
    return static_cast<int32_t>(value);
}

int32_t RoundHalfUp(double value)
{
    return TruncToInt32(value + 0.5);
}

// The family that font matching falls back to for a name it does not know.
QString GenericSansSerifFamily()
{
    return QFontInfo(QFont(QStringLiteral("sans-serif"))).family();
}

// Whether the font matching knows `family`: by name, or by an alias (such as "Arial" for a
// metric twin) that leads elsewhere than an unknown name does.
bool IsKnownFamily(const QString& family)
{
    if (QFontDatabase::hasFamily(family)) {
        return true;
    }
    const QString resolved = QFontInfo(QFont(family)).family();
    return resolved.compare(GenericSansSerifFamily(), Qt::CaseInsensitive) != 0;
}

} // namespace

double ScreenDpiY()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            return screen->logicalDotsPerInchY();
        }
    }
    return 96.0;
}

CTextTmp CTextTmp::StoreDefaults()
{
    CTextTmp tmp;
    tmp.fontName = QLatin1String(kMissingFontName);
    tmp.fontSize = float(kMissingFontSize);
    tmp.fontStyle = LowByte(kMissingFontStyle);
    tmp.leftToRight = kMissingLeftToRight != 0;
    tmp.lineAlignment = ELineAlignment(kMissingLineAlignment);
    tmp.brushType = EBrushType(kMissingBrushType);
    tmp.textColor = ArgbFromColorRef(kMissingTextColorRef);
    tmp.textColor2 = ArgbFromColorRef(kMissingTextColor2Ref);
    tmp.hatchStyle = LowByte(kMissingHatchStyle);
    tmp.lgMode = ELgMode(kMissingLgMode);
    tmp.outlineThickness = LowByte(kMissingOutlineThickness);
    tmp.outlineColor = ArgbFromColorRef(kMissingOutlineColorRef);
    tmp.enableShadow = kMissingEnableShadow != 0;
    tmp.shadowThickness = LowByte(kMissingShadowThickness);
    tmp.shadowColor = ArgbFromColorRef(kMissingShadowColorRef);
    return tmp;
}

QString CTextTmp::FontFamilyName() const
{
    return IsVertical() ? fontName.mid(1) : fontName;
}

bool CTextTmp::IsVertical() const
{
    return fontName.startsWith(QLatin1Char('@'));
}

SFontDescription CTextTmp::ToFontDescription(double dpiY) const
{
    SFontDescription description;
    QString face = fontName;
    // Font matching needs the font database, which only a QGuiApplication provides.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr &&
        !IsKnownFamily(FontFamilyName())) {
        face = (IsVertical() ? QStringLiteral("@") : QString()) + GenericSansSerifFamily();
    }
    description.faceName = face.left(kMaxFaceNameLength);
    const double sizeInteger = TruncToInt32(double(fontSize));
    description.height = -RoundHalfUp(sizeInteger * dpiY / 72.0);
    description.weight = (fontStyle & kFontStyleBold) != 0 ? 700 : 400;
    description.italic = (fontStyle & kFontStyleItalic) != 0;
    description.underline = (fontStyle & kFontStyleUnderline) != 0;
    description.strikeOut = (fontStyle & kFontStyleStrikeOut) != 0;
    description.charSet = 1;
    return description;
}

void CTextTmp::FromFontDescription(const SFontDescription& description, double dpiY)
{
    fontName = description.faceName;
    // A positive height is a cell height in the platform's terms; its magnitude is taken alike.
    const double pixels = std::abs(double(description.height));
    fontSize = float(RoundHalfUp(72.0 * pixels / dpiY));
    uint8_t style = 0;
    if (description.weight >= 700) {
        style |= kFontStyleBold;
    }
    if (description.italic) {
        style |= kFontStyleItalic;
    }
    if (description.underline) {
        style |= kFontStyleUnderline;
    }
    if (description.strikeOut) {
        style |= kFontStyleStrikeOut;
    }
    fontStyle = style;
    fontUnit = EFontUnit::kPoint;
}

bool CTextTmp::SetLgRect(const SLgRect& rect)
{
    if (rect == lgRect) {
        return false;
    }
    lgRect = rect;
    return true;
}

bool CTextTmp::SetShadowOffset(int32_t x, int32_t y)
{
    const QPoint offset(x, y);
    if (offset == shadowOffset) {
        return false;
    }
    shadowOffset = offset;
    return true;
}

bool CTextTmp::SetTextureImage(const QString& path, IMessageSink& messages)
{
    if (path.compare(m_textureImage, Qt::CaseInsensitive) == 0) {
        return false;
    }
    if (!path.isEmpty() && imaging::LoadBitmap(path).isNull()) {
        const QString text =
            QStringLiteral("%1\r\n%2").arg(path, QStringLiteral("Image open error! "));
        messages.Show(text.toStdString(), MessageKind::Error, MessageButtons::Ok);
        return false;
    }
    m_textureImage = path;
    return true;
}

void CTextTmp::LoadFromSettings(QSettings& settings)
{
    CSilentMessageSink silent;
    LoadFromSettings(settings, silent);
}

void CTextTmp::LoadFromSettings(QSettings& settings, IMessageSink& messages)
{
    settings.beginGroup(QLatin1String(kSettingsSection));

    const int32_t alignment = ReadInt(settings, key::kLineAlignment, kMissingLineAlignment);
    if (alignment >= 0 && alignment <= 2) {
        lineAlignment = ELineAlignment(alignment);
    }

    const QString name =
        settings.value(QLatin1String(key::kFontName), QLatin1String(kMissingFontName)).toString();
    if (name.compare(fontName, Qt::CaseInsensitive) != 0) {
        fontName = name;
    }
    bool sizeOk = false;
    const double size = settings.value(QLatin1String(key::kFontSize)).toDouble(&sizeOk);
    fontSize = sizeOk && std::isfinite(size) ? float(std::clamp(size, -1e6, 1e6))
                                             : float(kMissingFontSize);
    fontStyle = LowByte(ReadInt(settings, key::kFontStyle, kMissingFontStyle));
    leftToRight = ReadInt(settings, key::kLeftToRight, kMissingLeftToRight) != 0;

    brushType = EBrushType(LowByte(ReadInt(settings, key::kBrushType, kMissingBrushType)));
    textColor = ReadColor(settings, key::kTextColor, kMissingTextColorRef);
    textColor2 = ReadColor(settings, key::kTextColor2, kMissingTextColor2Ref);
    hatchStyle = LowByte(ReadInt(settings, key::kHatchStyle, kMissingHatchStyle));
    lgMode = ELgMode(LowByte(ReadInt(settings, key::kLgMode, kMissingLgMode)));
    if (const auto rect = ReadInts<4>(settings, key::kLgRect)) {
        SetLgRect({(*rect)[0], (*rect)[1], (*rect)[2], (*rect)[3]});
    }
    SetTextureImage(settings.value(QLatin1String(key::kTextureImage)).toString(), messages);

    outlineThickness = LowByte(ReadInt(settings, key::kOutlineThickness, kMissingOutlineThickness));
    outlineColor = ReadColor(settings, key::kOutlineColor, kMissingOutlineColorRef);
    enableShadow = ReadInt(settings, key::kEnableShadow, kMissingEnableShadow) != 0;
    shadowThickness = LowByte(ReadInt(settings, key::kShadowThickness, kMissingShadowThickness));
    shadowColor = ReadColor(settings, key::kShadowColor, kMissingShadowColorRef);
    if (const auto offset = ReadInts<2>(settings, key::kShadowOffset)) {
        SetShadowOffset((*offset)[0], (*offset)[1]);
    }

    settings.endGroup();
}

void CTextTmp::SaveToSettings(QSettings& settings) const
{
    settings.beginGroup(QLatin1String(kSettingsSection));
    const auto setInt = [&settings](const char* name, int64_t value) {
        settings.setValue(QLatin1String(name), static_cast<int>(value));
    };
    setInt(key::kLineAlignment, int(lineAlignment));
    settings.setValue(QLatin1String(key::kFontName), fontName);
    setInt(key::kFontSize, TruncToInt32(double(fontSize)));
    setInt(key::kFontStyle, fontStyle);
    setInt(key::kLeftToRight, leftToRight ? 1 : 0);
    setInt(key::kBrushType, int(brushType));
    setInt(key::kTextColor, ColorRefFromArgb(textColor));
    setInt(key::kTextColor2, ColorRefFromArgb(textColor2));
    setInt(key::kHatchStyle, hatchStyle);
    setInt(key::kLgMode, int(lgMode));
    WriteInts<4>(settings, key::kLgRect, {lgRect.left, lgRect.top, lgRect.right, lgRect.bottom});
    settings.setValue(QLatin1String(key::kTextureImage), m_textureImage);
    setInt(key::kOutlineThickness, outlineThickness);
    setInt(key::kOutlineColor, ColorRefFromArgb(outlineColor));
    setInt(key::kEnableShadow, enableShadow ? 1 : 0);
    setInt(key::kShadowThickness, shadowThickness);
    setInt(key::kShadowColor, ColorRefFromArgb(shadowColor));
    WriteInts<2>(settings, key::kShadowOffset, {shadowOffset.x(), shadowOffset.y()});
    settings.endGroup();
}

} // namespace quillary::textrender
