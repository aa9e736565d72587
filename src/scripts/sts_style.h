// STSStyle: one named style of a script (font, colours, borders, placement).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quillary::scripts {

// Left, top, right, bottom, in script pixels.
struct SMargins {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    friend bool operator==(const SMargins&, const SMargins&) = default;
};

// A platform font description of a style (the fields of a LOGFONT the renderer needs).
struct SFontDescription {
    int32_t charSet = 0;
    std::string faceName; // at most 31 bytes
    int32_t height = 0;
    int32_t weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

struct STSStyle {
    SMargins margins{20, 20, 20, 20};
    int32_t alignment = 2;   // 1-9 as on a numeric keypad
    int32_t borderStyle = 0; // 0 outline and shadow, 1 opaque box
    double outlineWidthX = 2.0;
    double outlineWidthY = 2.0;
    double shadowDepthX = 3.0;
    double shadowDepthY = 3.0;
    std::array<uint32_t, 4> colors{0xFFFFFF, 0x00FFFF, 0,
                                   0};           // 0x00BBGGRR: fill, karaoke, outline, shadow
    std::array<uint8_t, 4> alpha{0, 0, 0, 0x80}; // 0 opaque .. 255 transparent
    int32_t charSet = 1;                         // Windows character set of the text
    std::string fontName = "Arial";
    double fontSize = 24.0;
    double fontScaleX = 100.0; // percent
    double fontScaleY = 100.0;
    double fontSpacing = 0.0; // extra space after every character, script pixels
    int32_t fontWeight = 700;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int32_t edgeBlur = 0;
    double gaussianBlur = 0.0;
    double angleZ = 0.0; // degrees
    double angleX = 0.0;
    double angleY = 0.0;
    double shearX = 0.0;
    double shearY = 0.0;
    int32_t relativeTo = 2; // 0 window, 1 video rectangle, 2 not set: take the "Default" style's

    // Every field but the shear factors; doubles and the font name compared exactly.
    [[nodiscard]] bool operator==(const STSStyle& other) const;

    [[nodiscard]] SFontDescription ToFontDescription() const;
};

} // namespace quillary::scripts
