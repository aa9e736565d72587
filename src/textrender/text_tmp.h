// CTextTmp: the text style template (font, fill brush, outline, shadow) with which every script
// line is drawn, its two sets of defaults, the font description conversions and its settings.
#pragma once

#include "common/message_sink.h"

#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>

class QSettings;

namespace quillary::textrender {

// The settings group that holds the template and the style sheet's values.
inline constexpr char kSettingsSection[] = "Sup";

// Value names of the template's fields in the settings section, in field order. FontUnit is not
// stored.
namespace key {
inline constexpr char kFontName[] = "FontName";
inline constexpr char kFontSize[] = "FontSize";
inline constexpr char kFontStyle[] = "FontStyle";
inline constexpr char kLeftToRight[] = "LeftToRight";
inline constexpr char kLineAlignment[] = "LineAlignment";
inline constexpr char kBrushType[] = "BrushType";
inline constexpr char kTextColor[] = "TextColor";
inline constexpr char kTextColor2[] = "TextColor2";
inline constexpr char kHatchStyle[] = "HatchStyle";
inline constexpr char kLgMode[] = "LgMode";
inline constexpr char kLgRect[] = "LgRect";
inline constexpr char kTextureImage[] = "TextureImage";
inline constexpr char kOutlineThickness[] = "OutlineThickness";
inline constexpr char kOutlineColor[] = "OutlineColor";
inline constexpr char kEnableShadow[] = "EnableShadow";
inline constexpr char kShadowThickness[] = "ShadowThickness";
inline constexpr char kShadowColor[] = "ShadowColor";
inline constexpr char kShadowOffset[] = "ShadowOffset";
} // namespace key

// The enumerations keep the stored byte as it is, so a value read from the settings that names
// no item (a brush type of 7) survives a load and a save; such values make no brush.
enum class EBrushType : uint8_t { kSolid = 0, kHatch = 1, kLinearGradient = 2, kTexture = 3 };
enum class ELgMode : uint8_t {
    kHorizontal = 0,       // left edge to right edge
    kVertical = 1,         // top edge to bottom edge
    kForwardDiagonal = 2,  // upper-left to lower-right
    kBackwardDiagonal = 3, // upper-right to lower-left
};
enum class ELineAlignment : uint8_t { kNear = 0, kCenter = 1, kFar = 2 };
// Unit of the size when a platform font is made; 5 is 1/300 inch.
enum class EFontUnit : uint8_t {
    kWorld = 0,
    kDisplay = 1,
    kPixel = 2,
    kPoint = 3,
    kInch = 4,
    kDocument = 5,
    kMillimeter = 6,
};

// Item names in value order, as lists and the command line show them.
inline constexpr std::array<const char*, 4> kBrushTypeNames = {"Solid", "Hatch", "LinearGradient",
                                                               "Texture"};
inline constexpr std::array<const char*, 4> kLgModeNames = {"Horizontal", "Vertical",
                                                            "ForwardDiagonal", "BackwardDiagonal"};
inline constexpr std::array<const char*, 3> kLineAlignmentNames = {"Near", "Center", "Far"};

// Bits of CTextTmp::fontStyle.
inline constexpr uint8_t kFontStyleBold = 1;
inline constexpr uint8_t kFontStyleItalic = 2;
inline constexpr uint8_t kFontStyleUnderline = 4;
inline constexpr uint8_t kFontStyleStrikeOut = 8;

// The gradient rectangle in pixels of the text bitmap: start point (left, top) and end point
// (right, bottom). Unlike QRect the end point is the corner itself: width = right - left.
struct SLgRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int64_t Width() const { return int64_t(right) - left; }
    int64_t Height() const { return int64_t(bottom) - top; }
    bool operator==(const SLgRect&) const = default;
};

// The platform's font description, as the font dialog gives and takes it.
struct SFontDescription {
    QString faceName;   // at most 31 characters
    int32_t height = 0; // negative: em height in device pixels
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 1; // 1: the default character set

    bool operator==(const SFontDescription&) const = default;
};

inline constexpr int kMaxFaceNameLength = 31;

// The vertical resolution the font description conversions use: the logical dots per inch of
// the primary screen when a QGuiApplication with a screen exists, otherwise 96.
double ScreenDpiY();

class CTextTmp {
public:
    // A new template: Arial 59 bold, white solid fill, black outline of 4, black shadow of 3
    // at (2, 2), hatch "Cross", gradient rectangle 0, 0, 50, 50.
    CTextTmp() = default;

    // The template as a settings store without any of its keys leaves a new one: Arial 42
    // regular, the other values as the missing-key defaults say. This is what a first start of
    // the application shows, and what a build that ignores the store uses.
    static CTextTmp StoreDefaults();

    // "FontName" without its leading "@".
    QString FontFamilyName() const;
    // A leading "@" in "FontName" selects the vertical form of the family.
    bool IsVertical() const;

    // The font description for the font dialog: the face name cut to 31 characters (an unknown
    // family becomes the generic sans-serif family, when a QGuiApplication exists to ask), the
    // height -(integer part of fontSize x dpiY / 72, rounded), weight 700 for bold else 400,
    // the style flags from fontStyle.
    SFontDescription ToFontDescription() const { return ToFontDescription(ScreenDpiY()); }
    SFontDescription ToFontDescription(double dpiY) const;
    // Takes the font dialog's result: face name, size in points = 72 x |height| / dpiY rounded,
    // the style bits (bold for a weight of 700 or more), and the point unit.
    void FromFontDescription(const SFontDescription& description)
    {
        FromFontDescription(description, ScreenDpiY());
    }
    void FromFontDescription(const SFontDescription& description, double dpiY);

    // Each returns whether the value changed; an equal value changes nothing.
    bool SetLgRect(const SLgRect& rect);
    bool SetShadowOffset(int32_t x, int32_t y);

    const QString& TextureImage() const { return m_textureImage; }
    // Returns whether the path changed. A path equal to the current one, compared without
    // regard to case, changes nothing. A non-empty path must load as an image; when it does
    // not, "<path>\r\nImage open error! " goes to `messages`, the old path stays and the result
    // is false. An empty path (no texture) is always accepted.
    bool SetTextureImage(const QString& path, IMessageSink& messages);

    // Reads the template's values from the section "Sup" of `settings`. Missing (or unreadable)
    // values take the missing-key defaults; a missing "LgRect" or "ShadowOffset" leaves the
    // current value. The texture path goes through SetTextureImage, whose refusal reaches
    // `messages`; the overload without a sink refuses silently.
    void LoadFromSettings(QSettings& settings, IMessageSink& messages);
    void LoadFromSettings(QSettings& settings);
    // Writes every stored value to the section "Sup": colours as 0x00BBGGRR, the size truncated
    // to an integer, "LgRect" and "ShadowOffset" as little-endian 32-bit binaries.
    void SaveToSettings(QSettings& settings) const;

    bool operator==(const CTextTmp&) const = default;

    // The fields, in the order of the settings table.
    QString fontName = QStringLiteral("Arial");
    float fontSize = 59.0f; // the renderer takes the integer part as em size in pixels
    uint8_t fontStyle = kFontStyleBold;
    bool leftToRight = true; // order of the columns of vertical text
    EFontUnit fontUnit = EFontUnit::kPoint;
    ELineAlignment lineAlignment = ELineAlignment::kCenter;
    EBrushType brushType = EBrushType::kSolid;
    uint32_t textColor = 0xFFFFFFFF;  // ARGB; solid colour, hatch foreground, gradient start
    uint32_t textColor2 = 0xFFFFFFFF; // ARGB; hatch background, gradient end
    uint8_t hatchStyle = 4;           // 0-52, the names in hatch_patterns.h; 4 is "Cross"
    ELgMode lgMode = ELgMode::kHorizontal;
    SLgRect lgRect = {0, 0, 50, 50};
    uint8_t outlineThickness = 4; // pen width in pixels
    uint32_t outlineColor = 0xFF000000;
    bool enableShadow = true;
    uint8_t shadowThickness = 3; // pen width of the shadow's rim; 0 turns the shadow off
    uint32_t shadowColor = 0xFF000000;
    QPoint shadowOffset = {2, 2}; // pixels

private:
    QString m_textureImage; // kept private: it only changes to a path that loads
};

} // namespace quillary::textrender
