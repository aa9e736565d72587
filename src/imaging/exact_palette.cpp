// CExactColours: collecting and mapping the exact colours of a 32-bit ARGB bitmap.
#include "imaging/exact_palette.h"

namespace quillary::imaging {

namespace {
constexpr size_t kMaxVisibleColours = 255;
}

std::optional<CExactColours> CExactColours::Collect(const QImage& argb)
{
    if (argb.format() != QImage::Format_ARGB32 || argb.isNull())
        return std::nullopt;

    CExactColours colours;
    colours.m_palette.flags = pgs::SColorPalette::kHasAlpha;
    auto& entries = colours.m_palette.entries;
    entries.reserve(kMaxVisibleColours + 1);
    bool anyTransparent = false;
    // Runs of one colour cost one comparison; 0 never equals a visible pixel, so the first
    // visible pixel always counts as a change.
    uint32_t last = 0;
    const int width = argb.width();
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(argb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const uint32_t value = row[x];
            if ((value >> 24) == 0) {
                anyTransparent = true;
                continue;
            }
            if (value == last)
                continue;
            last = value;
            if (entries.size() == kMaxVisibleColours)
                return std::nullopt;
            if (colours.Insert(value))
                entries.push_back(value);
        }
    }
    if (anyTransparent) {
        colours.m_transparentEntry = static_cast<uint8_t>(entries.size());
        entries.push_back(0);
    }
    if (entries.size() < 2)
        return std::nullopt;
    return colours;
}

bool CExactColours::Insert(uint32_t argb)
{
    const uint32_t mask = (1u << kSlotBits) - 1;
    for (uint32_t slot = Slot(argb);; slot = (slot + 1) & mask) {
        if (m_keys[slot] == argb)
            return false;
        if (m_keys[slot] == kNoKey) {
            m_keys[slot] = argb;
            m_indexes[slot] = static_cast<uint8_t>(m_palette.entries.size());
            return true;
        }
    }
}

int CExactColours::Find(uint32_t argb) const
{
    const uint32_t mask = (1u << kSlotBits) - 1;
    for (uint32_t slot = Slot(argb);; slot = (slot + 1) & mask) {
        if (m_keys[slot] == argb)
            return m_indexes[slot];
        if (m_keys[slot] == kNoKey)
            return -1;
    }
}

uint8_t CExactColours::IndexOf(uint32_t argb) const
{
    if ((argb >> 24) == 0)
        return m_transparentEntry;
    const int index = Find(argb);
    return index < 0 ? 255 : static_cast<uint8_t>(index);
}

QImage CExactColours::Map(const QImage& argb) const
{
    QImage indexed(argb.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return {};
    indexed.setColorTable(QList<QRgb>(m_palette.entries.begin(), m_palette.entries.end()));
    const int width = argb.width();
    uint32_t last = 0;
    uint8_t lastIndex = m_transparentEntry;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(argb.constScanLine(y));
        uint8_t* out = indexed.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const uint32_t value = in[x];
            if ((value >> 24) == 0) {
                out[x] = m_transparentEntry;
                continue;
            }
            if (value != last) {
                last = value;
                lastIndex = IndexOf(value);
            }
            out[x] = lastIndex;
        }
    }
    return indexed;
}

} // namespace quillary::imaging
