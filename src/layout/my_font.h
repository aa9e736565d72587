// CMyFont: the measuring font of a style, with its ascent and descent, from a shared cache.
#pragma once

#include "scripts/sts_style.h"

#include <QFont>
#include <QRawFont>
#include <QString>
#include <QStringView>

#include <memory>

namespace quillary::layout {

// Layout measures glyphs at 64 times their frame size: a style's `fontSize` reaches this class
// already multiplied by 64 (and by the vertical script-to-frame scale), so one font unit is 1/64
// of a frame pixel and advances shifted right by 3 are eighths of a frame pixel.
//
// The font size of a style is the font's cell height, ascent plus descent, as in every SSA/ASS
// renderer, not its em size: the em size is chosen so that ascent + descent equals the height.
// Measuring uses the font's design metrics without hinting, so advances scale linearly with the
// size; every font is measured through one unhinted face at a reference size and scaled, and
// each face keeps the advances of the characters it has met.
class CMyFont {
public:
    // The font for `style` (its face name, `fontSize` + 0.5 truncated as the cell height, weight
    // and slant). A face name the platform does not know falls back to "Arial". Fonts are kept
    // in a cache shared by every script until the last CRenderedTextSubtitle is destroyed; the
    // reference stays valid until then (or until ClearCache). Not thread-safe: layout runs on one
    // thread.
    [[nodiscard]] static const CMyFont& Get(const scripts::STSStyle& style);

    // Drops every cached font.
    static void ClearCache();

    // Ascent and descent in eighths of a frame pixel ((font value + 4) >> 3).
    [[nodiscard]] int Ascent() const { return m_ascent; }
    [[nodiscard]] int Descent() const { return m_descent; }
    // The cell height asked for, in font units.
    [[nodiscard]] int Height() const { return m_height; }
    // The family the face name resolved to ("Arial" for unknown names).
    [[nodiscard]] const QString& FamilyName() const { return m_family; }

    // Advance of the whole string in font units: the sum of its characters' advances, without
    // kerning, as the text extents SSA renderers measure with.
    [[nodiscard]] double Advance(QStringView text) const;

    // The unhinted face at the font's em size, for outlines.
    [[nodiscard]] QRawFont RawFont() const;

    struct SFace;
    CMyFont(std::shared_ptr<const SFace> face, QString family, int height);

private:
    std::shared_ptr<const SFace> m_face;
    QString m_family;
    int m_height = 0;
    double m_scale = 0; // font units per reference-size unit
    int m_ascent = 0;
    int m_descent = 0;
};

} // namespace quillary::layout
