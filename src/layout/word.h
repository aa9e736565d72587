// CWord, CText and CPolygon: the words of a laid-out event, measured in eighths of a pixel.
#pragma once

#include "scripts/sts_style.h"

#include <QPainterPath>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace quillary::layout {

// Karaoke state of the parser when a word is made; start and end in milliseconds.
struct SKaraoke {
    int32_t type = 0; // 0 \k, 1 \K and \kf, 2 \ko
    int32_t start = 0;
    int32_t end = 0;
};

// A word of an event. Its style is a copy of the running style with the sizes already scaled
// to the frame: `fontSize` and `fontSpacing` in 1/64 frame pixels, borders and shadows in
// eighths. `width`, `ascent` and `descent` are eighths of a frame pixel.
class CWord {
public:
    virtual ~CWord() = default;

    // The word's outline in 1/64 frame pixels, its origin at the left end of the baseline. Only
    // drawing needs it; layout does not.
    [[nodiscard]] virtual QPainterPath Outline() const = 0;
    // A new word of the same kind with the same text, style and measurement.
    [[nodiscard]] virtual std::unique_ptr<CWord> Copy() const = 0;
    // Joins `next` onto this word when both are text of one style and karaoke state; returns
    // whether it did.
    virtual bool Append(const CWord& next);

    [[nodiscard]] SKaraoke Karaoke() const { return {karaokeType, karaokeStart, karaokeEnd}; }

    QString text;
    bool isWhiteSpace = false; // a single space, or a line break
    bool isLineBreak = false;  // a forced line break; the text is empty
    scripts::STSStyle style;
    int32_t karaokeType = 0;
    int32_t karaokeStart = 0;
    int32_t karaokeEnd = 0;
    int32_t width = 0;
    int32_t ascent = 0; // font ascent scaled by fontScaleY
    int32_t descent = 0;

protected:
    CWord(QString text, const scripts::STSStyle& style, SKaraoke karaoke);
    CWord(const CWord&) = default;
    CWord& operator=(const CWord&) = default;
};

// A word of text (or a single space, or an empty line break).
class CText final : public CWord {
public:
    CText(QString text, const scripts::STSStyle& style, SKaraoke karaoke);

    [[nodiscard]] QPainterPath Outline() const override;
    [[nodiscard]] std::unique_ptr<CWord> Copy() const override;
    bool Append(const CWord& next) override;

private:
    void Measure();
};

// One point of a drawing, with the command that made it: 'm' move, 'n' move that leaves the
// figure open, 'l' line, 'b' cubic Bezier point, 's' and 'p' B-spline points.
struct SDrawingPoint {
    char type = 'm';
    QPoint point; // drawing units
};

// A drawing ("\p1" and above): SSA drawing commands as one word that never joins another.
class CPolygon final : public CWord {
public:
    // `scaleX`/`scaleY` turn drawing units into frame pixels; `baseline` is the "\pbo" offset in
    // drawing units.
    CPolygon(QString text, const scripts::STSStyle& style, SKaraoke karaoke, double scaleX,
             double scaleY, int32_t baseline);

    [[nodiscard]] QPainterPath Outline() const override;
    [[nodiscard]] std::unique_ptr<CWord> Copy() const override;

    double scaleX = 1.0;
    double scaleY = 1.0;
    int32_t baseline = 0;
    // Empty when the drawing is not valid (its first points are not a move).
    std::vector<SDrawingPoint> points;

private:
    void Parse();
    void Measure();
};

} // namespace quillary::layout
