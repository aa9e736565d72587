// CPds: the palette definition segment.
#pragma once

#include "pgs/segment_base.h"

#include <vector>

namespace quillary::pgs {

class CErgbPalette;

// One palette entry: id, Y, Cr, Cb and transparency (0 transparent, 255 opaque).
struct SPaletteEntry {
    uint8_t index = 255;
    uint8_t y = 255;
    uint8_t cr = 255;
    uint8_t cb = 255;
    uint8_t t = 255;

    friend bool operator==(const SPaletteEntry&, const SPaletteEntry&) = default;
};

class CPds final : public CSegmentBase {
public:
    static constexpr size_t kMaxEntries = 256;

    CPds() : CSegmentBase(SegmentType::Pds) {}

    void Clear() override { entries.clear(); }
    // Reads 5-byte entries while fewer than `segmentLength` bytes have been consumed.
    [[nodiscard]] std::optional<size_t> Parse(std::span<const uint8_t> payload) override;
    // Writes at most the first 256 entries.
    size_t Write(uint8_t* out) override;
    void Dump(std::string& out, std::string_view prefix) const override;
    void CopyFrom(const CSegmentBase& other) override;

    // Replaces the entries with the first 256 of `palette`, converted to Y/Cr/Cb; the palette
    // id becomes the palette's id. The version is left alone.
    void SetFromPalette(const CErgbPalette& palette);

    uint8_t paletteId = 0;
    uint8_t paletteVersion = 0;
    std::vector<SPaletteEntry> entries;
};

} // namespace quillary::pgs
