// CMyFont: the measuring font of a style, with its ascent and descent, from a shared cache.
#include "layout/my_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

namespace quillary::layout {

namespace {

// Em size of the faces that are measured; every font scales its results from here.
constexpr int kReferencePixelSize = 1024;

// A face name of a style holds at most 31 bytes.
constexpr size_t kMaxFaceName = 31;

} // namespace

struct CMyFont::SFace {
    QRawFont raw; // unhinted, at the reference size
    QFont font;   // the same description, for strings the face has no glyphs for
    double cell = 0;
};

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
    QString family = QString::fromUtf8(
        faceName.data(), static_cast<qsizetype>(std::min(faceName.size(), kMaxFaceName)));
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
        const auto ascent = static_cast<int>(m_face->raw.ascent() * m_scale + 0.5);
        const auto descent = static_cast<int>(m_face->raw.descent() * m_scale + 0.5);
        m_ascent = (ascent + 4) >> 3;
        m_descent = (descent + 4) >> 3;
    }
}

const CMyFont& CMyFont::Get(const scripts::STSStyle& style)
{
    const auto height = static_cast<int>(style.fontSize + 0.5);
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
    const QString string = text.toString();
    const QList<quint32> glyphs = m_face->raw.glyphIndexesForString(string);
    // Glyph 0 is the face's "missing" box: let Qt's font matching find a face that has the
    // characters (and shape them) instead.
    if (!m_face->raw.isValid() || glyphs.contains(0u)) {
        return QFontMetricsF(m_face->font).horizontalAdvance(string) * m_scale;
    }
    const QList<QPointF> advances = m_face->raw.advancesForGlyphIndexes(
        glyphs, QRawFont::KernedAdvances | QRawFont::UseDesignMetrics);
    double sum = 0;
    for (const QPointF& advance : advances) {
        sum += advance.x();
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
