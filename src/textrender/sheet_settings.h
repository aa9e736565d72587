// SSheetSettings: the layout and fade values the style sheet keeps beside the template, which
// the build and the preview read.
#pragma once

#include <cstdint>

class QSettings;

namespace quillary::textrender {

// Value names in the settings section "Sup".
namespace key {
inline constexpr char kDirection[] = "Direction";
inline constexpr char kGeneral[] = "General"; // holds the alignment
inline constexpr char kLocation[] = "Location";
inline constexpr char kLocation2[] = "Location2";
inline constexpr char kLineSpace[] = "LineSpace";
inline constexpr char kLanguage[] = "Language";
inline constexpr char kFiDuration[] = "FiDuration";
inline constexpr char kFoDuration[] = "FoDuration";
} // namespace key

struct SSheetSettings {
    int32_t direction = 0;   // line image on the frame: 0 horizontal, 1 vertical, 2 by its shape
    int32_t alignment = 1;   // along the frame edge: 0 near (10 %), 1 centre, 2 far (90 %)
    int32_t location = 100;  // pixels from the frame edge, lines of several rows
    int32_t location2 = 100; // the same for single-row lines
    int32_t lineSpace = 0;   // extra pixels between rows; the render value B of the sources
    int32_t language = 125;  // row of the language list ("eng"); not used by the build
    int32_t fadeEnabled = 1; // not stored; always on
    int32_t fiDuration = 25; // fade-in, percent of the line's duration
    int32_t foDuration = 25; // fade-out, percent of the line's duration

    // Reads the section "Sup"; missing or unreadable values take the defaults above.
    void LoadFromSettings(QSettings& settings);
    void SaveToSettings(QSettings& settings) const;

    bool operator==(const SSheetSettings&) const = default;
};

} // namespace quillary::textrender
