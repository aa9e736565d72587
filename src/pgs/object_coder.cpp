// Object run-length coding and fragmenting.
//
// Codes of one row (L = run length, C = colour index):
//   C != 0, L 1..2    C repeated L times
//   C != 0, L 3..63   00, 80|L, C
//   C != 0, L >= 64   00, C0|L>>8, L&FF, C
//   C = 0,  L 1..63   00, L
//   C = 0,  L >= 64   00, 40|L>>8, L&FF
//   row end           00, 00
#include "pgs/object_coder.h"

#include "pgs/byte_io.h"

#include <algorithm>

namespace quillary::pgs {

namespace {

// The length fields hold 14 bits; longer runs (only possible in rows wider than 16383) are
// split into several codes.
constexpr unsigned kMaxRunLength = 0x3FFF;
constexpr uint32_t kMaxObjectDataLength = 0xFFFFFF;

inline uint8_t* EmitRun(uint8_t* out, unsigned length, uint8_t colour)
{
    while (length > 0) {
        const unsigned l = std::min(length, kMaxRunLength);
        length -= l;
        if (colour == 0) {
            *out++ = 0x00;
            if (l < 64) {
                *out++ = static_cast<uint8_t>(l);
            } else {
                *out++ = static_cast<uint8_t>(0x40 | (l >> 8));
                *out++ = static_cast<uint8_t>(l);
            }
        } else if (l < 3) {
            *out++ = colour;
            if (l == 2)
                *out++ = colour;
        } else if (l < 64) {
            *out++ = 0x00;
            *out++ = static_cast<uint8_t>(0x80 | l);
            *out++ = colour;
        } else {
            *out++ = 0x00;
            *out++ = static_cast<uint8_t>(0xC0 | (l >> 8));
            *out++ = static_cast<uint8_t>(l);
            *out++ = colour;
        }
    }
    return out;
}

uint8_t* CodeRow(uint8_t* out, const uint8_t* row, int width)
{
    int start = 0;
    uint8_t colour = row[0];
    for (int x = 1; x < width; ++x) {
        if (row[x] != colour) {
            out = EmitRun(out, static_cast<unsigned>(x - start), colour);
            start = x;
            colour = row[x];
        }
    }
    out = EmitRun(out, static_cast<unsigned>(width - start), colour);
    *out++ = 0x00;
    *out++ = 0x00;
    return out;
}

} // namespace

size_t MaxObjectDataSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return COds::kObjectHeaderSize;
    const size_t w = static_cast<size_t>(width);
    return COds::kObjectHeaderSize + static_cast<size_t>(height) * ((3 * w + 1) / 2 + 2);
}

std::vector<uint8_t> CodeObject(const SIndexedBitmapView& bitmap)
{
    if (bitmap.width <= 0 || bitmap.height <= 0 || bitmap.width > 0xFFFF ||
        bitmap.height > 0xFFFF || bitmap.pixels == nullptr)
        return {};
    // One allocation for the worst case; coding never grows the buffer.
    std::vector<uint8_t> data(MaxObjectDataSize(bitmap.width, bitmap.height));
    uint8_t* out = data.data() + COds::kObjectHeaderSize;
    const uint8_t* row = bitmap.pixels;
    for (int y = 0; y < bitmap.height; ++y, row += bitmap.stride)
        out = CodeRow(out, row, bitmap.width);
    const size_t total = static_cast<size_t>(out - data.data());
    if (total - 3 > kMaxObjectDataLength)
        return {};
    data.resize(total);
    PutU24(data.data(), static_cast<uint32_t>(total - 3));
    PutU16(data.data() + 3, static_cast<unsigned>(bitmap.width));
    PutU16(data.data() + 5, static_cast<unsigned>(bitmap.height));
    return data;
}

std::vector<std::unique_ptr<COds>> FragmentObject(std::span<const uint8_t> objectData,
                                                  uint16_t objectId, uint8_t objectVersion)
{
    std::vector<std::unique_ptr<COds>> fragments;
    const size_t total = objectData.size();
    const size_t count = (total + COds::kMaxFragmentSize - 1) / COds::kMaxFragmentSize;
    fragments.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t begin = i * COds::kMaxFragmentSize;
        const size_t size = std::min(COds::kMaxFragmentSize, total - begin);
        auto ods = std::make_unique<COds>();
        ods->objectId = objectId;
        ods->objectVersion = objectVersion;
        ods->firstInSequence = (i == 0);
        ods->lastInSequence = (i == count - 1);
        const auto fragment = objectData.subspan(begin, size);
        ods->data.assign(fragment.begin(), fragment.end());
        fragments.push_back(std::move(ods));
    }
    return fragments;
}

bool CreateObjectSegments(CDsData& displaySet, const SIndexedBitmapView& bitmap, uint16_t objectId,
                          uint8_t objectVersion)
{
    const std::vector<uint8_t> data = CodeObject(bitmap);
    if (data.empty())
        return false;
    for (auto& ods : FragmentObject(data, objectId, objectVersion))
        displaySet.objects.push_back(std::move(ods));
    return true;
}

} // namespace quillary::pgs
