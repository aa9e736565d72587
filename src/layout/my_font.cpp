// CMyFont: the measuring font of a style, with its ascent and descent, from a shared cache.
#include "layout/my_font.h"

#include "layout/saturate.h"
#include "scripts/code_pages.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace quillary::layout {

namespace {

// Em size of the faces that are measured; every font scales its results from here.
constexpr int kReferencePixelSize = 1024;

// A face name of a style holds at most 31 characters.
constexpr qsizetype kMaxFaceName = 31;

} // namespace

struct CMyFont::SFace {
    QRawFont raw; // unhinted, at the reference size
    QFont font;   // the same description, for strings the face has no glyphs for
    double cell = 0;
    // Advances of the characters of the Basic Multilingual Plane at the reference size, filled
    // as they are met; negative: not looked up yet, 0 with `missing`: the face lacks it.
    mutable std::vector<float> advances;
    mutable std::vector<bool> missing;

    // The advance of `c`; false when the face has no glyph for it.
    bool AdvanceOf(char16_t c, double& advance) const;
};

bool CMyFont::SFace::AdvanceOf(char16_t c, double& advance) const
{
    if (advances.empty()) {
        advances.assign(0x10000, -1.0f);
        missing.assign(0x10000, false);
    }
    float& cached = advances[c];
    if (cached < 0) {
        const QChar character(c);
        quint32 glyph = 0;
        int count = 1;
        QPointF point;
        if (c < 0xD800 || c > 0xDFFF) {
            (void)raw.glyphIndexesForChars(&character, 1, &glyph, &count);
        }
        if (glyph != 0) {
            (void)raw.advancesForGlyphIndexes(&glyph, &point, 1, QRawFont::UseDesignMetrics);
        }
        missing[c] = glyph == 0;
        cached = static_cast<float>(point.x());
    }
    advance = cached;
    return !missing[c];
}

namespace {

using FaceKey = std::tuple<QString, int, bool>;
using FontKey = std::tuple<std::string, int, int, bool>;

struct SCache {
    std::map<std::string, QString> families;
    std::map<FaceKey, std::shared_ptr<const CMyFont::SFace>> faces;
    std::map<FontKey, std::unique_ptr<CMyFont>> fonts;
};

SCache& Cache()
{
    static SCache cache;
    return cache;
}

QString ResolveFamily(const std::string& faceName)
{
    auto& families = Cache().families;
    if (const auto it = families.find(faceName); it != families.end()) {
        return it->second;
    }
    // Names of Unicode scripts are UTF-8; others keep the bytes of the default code page.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString family =
        utf8.decode(QByteArrayView(faceName.data(), static_cast<qsizetype>(faceName.size())));
    if (utf8.hasError()) {
        family = scripts::DecodeCodePage(scripts::kDefaultAnsiCodePage, faceName);
    }
    family.truncate(kMaxFaceName);
    if (family.isEmpty() || !QFontDatabase::hasFamily(family)) {
        family = QStringLiteral("Arial");
    }
    families.emplace(faceName, family);
    return family;
}

std::shared_ptr<const CMyFont::SFace> FaceFor(const QString& family, int weight, bool italic)
{
    auto& faces = Cache().faces;
    FaceKey key{family, weight, italic};
    if (const auto it = faces.find(key); it != faces.end()) {
        return it->second;
    }
    auto face = std::make_shared<CMyFont::SFace>();
    face->font = QFont(family);
    face->font.setPixelSize(kReferencePixelSize);
    // Weights are on the same 1-1000 scale as the script's (400 normal, 700 bold); 0 means
    // "don't care".
    face->font.setWeight(static_cast<QFont::Weight>(weight <= 0 ? 400 : std::min(weight, 1000)));
    face->font.setItalic(italic);
    face->font.setHintingPreference(QFont::PreferNoHinting);
    face->raw = QRawFont::fromFont(face->font);
    face->cell = face->raw.isValid() ? face->raw.ascent() + face->raw.descent() : 0;
    if (face->cell <= 0) {
        face->cell = kReferencePixelSize;
    }
    return faces.emplace(std::move(key), std::move(face)).first->second;
}

} // namespace

CMyFont::CMyFont(std::shared_ptr<const SFace> face, QString family, int height)
    : m_face(std::move(face)), m_family(std::move(family)), m_height(height)
{
    m_scale = m_height / m_face->cell;
    if (m_face->raw.isValid()) {
        // Whole font units, as the platform reports them, then eighths of a frame pixel.
        const auto ascent = Saturate<int32_t>(m_face->raw.ascent() * m_scale + 0.5);
        const auto descent = Saturate<int32_t>(m_face->raw.descent() * m_scale + 0.5);
        m_ascent = static_cast<int32_t>((int64_t{ascent} + 4) >> 3);
        m_descent = static_cast<int32_t>((int64_t{descent} + 4) >> 3);
    }
}

const CMyFont& CMyFont::Get(const scripts::STSStyle& style)
{
    // Heights beyond 2^24 font units (a glyph 262,144 pixels high) are clamped there.
    const int height = std::clamp(Saturate<int32_t>(style.fontSize + 0.5), 0, 1 << 24);
    auto& fonts = Cache().fonts;
    FontKey key{style.fontName, height, style.fontWeight, style.italic};
    if (const auto it = fonts.find(key); it != fonts.end()) {
        return *it->second;
    }
    QString family = ResolveFamily(style.fontName);
    auto face = FaceFor(family, style.fontWeight, style.italic);
    auto font = std::make_unique<CMyFont>(std::move(face), std::move(family), height);
    return *fonts.emplace(std::move(key), std::move(font)).first->second;
}

void CMyFont::ClearCache()
{
    SCache& cache = Cache();
    cache.fonts.clear();
    cache.faces.clear();
    cache.families.clear();
}

double CMyFont::Advance(QStringView text) const
{
    if (text.isEmpty() || m_height <= 0) {
        return 0;
    }
    // The sum of the characters' advances, without kerning (as the text extents of SSA
    // renderers have it). A character the face lacks (or one outside the Basic Multilingual
    // Plane) lets Qt's font matching find a face that has it, and shape the whole string.
    double sum = 0;
    bool found = m_face->raw.isValid();
    for (qsizetype i = 0; found && i < text.size(); ++i) {
        double advance = 0;
        found = m_face->AdvanceOf(text[i].unicode(), advance);
        sum += advance;
    }
    if (!found) {
        return QFontMetricsF(m_face->font).horizontalAdvance(text.toString()) * m_scale;
    }
    return sum * m_scale;
}

QRawFont CMyFont::RawFont() const
{
    QRawFont raw = m_face->raw;
    raw.setPixelSize(kReferencePixelSize * m_scale);
    return raw;
}

} // namespace quillary::layout
