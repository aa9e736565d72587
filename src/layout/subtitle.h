// CSubtitle: one laid-out event, its words broken into lines of runs, with the event's effects.
#pragma once

#include "layout/line.h"
#include "layout/word.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace quillary::layout {

// Effects and clip of an event, in script pixels and milliseconds as the tags give them. Layout
// fills them so that the tags leave the text; nothing draws them.
// "\move"; "\pos" is a move that starts and ends at the same point.
struct SMoveEffect {
    QPoint from;
    QPoint to;
    int32_t start = 0;
    int32_t end = 0;
};

struct SFadeEffect {
    std::array<int32_t, 3> alpha{}; // before, during, after
    std::array<int32_t, 4> times{}; // fade in from, to; fade out from, to
    bool simple = false;            // "\fad" (in and out durations only)
};

struct SBannerEffect {
    int32_t delay = 0;
    bool leftToRight = false;
    int32_t fadeAwayWidth = 0;
};

struct SScrollEffect {
    bool up = false;
    int32_t top = 0;
    int32_t bottom = 0;
    int32_t delay = 0;
    int32_t fadeAwayHeight = 0;
};

struct SClip {
    bool set = false;
    bool inverse = false;
    QRect rect;      // a rectangle clip
    QString drawing; // or drawing commands
    int32_t scale = 1;
};

class CSubtitle {
public:
    // Breaks `words` into `lines` for a frame `frameWidth` wide with the given margins (eighths
    // of a pixel), by the event's wrap style. Each line holds maximal runs, without spaces at its
    // ends; two forced breaks in a row give an empty line.
    void CreateLines(int32_t frameWidth, int32_t marginLeft, int32_t marginRight);

    std::vector<CLine> lines;
    int32_t scrAlignment = 0; // 1-9; negative while no alignment tag has been seen
    int32_t wrapStyle = 0;
    // A "\t" tag, or an origin together with a position, a move, a banner or a scroll: the cache
    // builds it anew on every request.
    bool animated = false;
    int32_t relativeTo = 0;
    std::optional<SMoveEffect> move;
    std::optional<QPoint> origin;
    std::optional<SFadeEffect> fade;
    std::optional<SBannerEffect> banner;
    std::optional<SScrollEffect> scroll;
    // The words before line breaking, in text order.
    std::vector<std::unique_ptr<CWord>> words;
    SClip clip;
    double scaleX = 1.0; // script pixels to frame pixels
    double scaleY = 1.0;
};

} // namespace quillary::layout
