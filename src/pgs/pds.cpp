// CPds: wire layout, parsing and listing of the palette definition segment.
#include "pgs/pds.h"

#include "pgs/byte_io.h"
#include "pgs/ergb_palette.h"
#include "pgs/ycrcb.h"

#include <algorithm>

namespace quillary::pgs {

void CPds::SetFromPalette(const CErgbPalette& palette)
{
    Clear();
    const size_t count = std::min(palette.entries.size(), kMaxEntries);
    entries.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const ERGBQUAD& q = palette.entries[i];
        const SYCrCb ycc = RgbToYCrCb(q.red, q.green, q.blue);
        entries.push_back({q.index, ycc.y, ycc.cr, ycc.cb, q.alpha});
    }
    paletteId = static_cast<uint8_t>(palette.id);
}

// Payload: id(1) version(1), then 5 bytes an entry: index Y Cr Cb T.
std::optional<size_t> CPds::Parse(std::span<const uint8_t> payload)
{
    Clear();
    if (payload.size() < 2)
        return std::nullopt;
    paletteId = payload[0];
    paletteVersion = payload[1];
    const size_t length = std::min<size_t>(segmentLength, payload.size());
    size_t pos = 2;
    while (pos < length) {
        if (payload.size() - pos < 5)
            return std::nullopt;
        const uint8_t* p = payload.data() + pos;
        entries.push_back({p[0], p[1], p[2], p[3], p[4]});
        pos += 5;
    }
    return pos;
}

size_t CPds::Write(uint8_t* out)
{
    WriteHeader(out);
    uint8_t* p = out + kSegmentHeaderSize;
    PutU8(p, paletteId);
    PutU8(p + 1, paletteVersion);
    p += 2;
    const size_t count = std::min(entries.size(), kMaxEntries);
    for (size_t i = 0; i < count; ++i, p += 5) {
        const SPaletteEntry& e = entries[i];
        p[0] = e.index;
        p[1] = e.y;
        p[2] = e.cr;
        p[3] = e.cb;
        p[4] = e.t;
    }
    return FinishWrite(out, static_cast<size_t>(p - out));
}

void CPds::Dump(std::string& out, std::string_view prefix) const
{
    CSegmentBase::Dump(out, prefix);
    dump::Number(out, prefix, "PaletteId", paletteId);
    dump::Number(out, prefix, "PaletteVersion", paletteVersion);
    dump::Number(out, prefix, "PaletteEntryCount", static_cast<long long>(entries.size()));
}

void CPds::CopyFrom(const CSegmentBase& other)
{
    if (const auto* pds = dynamic_cast<const CPds*>(&other))
        *this = *pds;
    else
        CSegmentBase::CopyFrom(other);
}

} // namespace quillary::pgs
