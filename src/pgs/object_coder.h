// Run-length coding of an indexed bitmap into object data, and its cutting into object segments.
#pragma once

#include "pgs/ds_data.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillary::pgs {

// A read-only view of an 8-bit indexed bitmap: one palette index a pixel, rows `stride` bytes
// apart.
struct SIndexedBitmapView {
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;
    const uint8_t* pixels = nullptr;
};

// The most bytes the object data of a `width` x `height` bitmap can take: the 7-byte header
// plus, a row, single pixels of colour 0 alternating with single pixels of another colour
// (3 bytes per 2 pixels) and the 2-byte row end.
size_t MaxObjectDataSize(int width, int height);

// The object data of `bitmap`: header (data length, width, height) and the coded rows. Empty when
// the bitmap has no pixels, is wider or taller than 65535, or codes to more than the 24-bit
// length field can describe.
std::vector<uint8_t> CodeObject(const SIndexedBitmapView& bitmap);

// Cuts object data into object segments of at most 65515 data bytes, all with the same id and
// version; the first carries FirstFlag, the last LastFlag.
std::vector<std::unique_ptr<COds>> FragmentObject(std::span<const uint8_t> objectData,
                                                  uint16_t objectId, uint8_t objectVersion);

// Codes `bitmap` and appends its object segments to `displaySet`. False, and nothing appended,
// when the bitmap codes to nothing.
[[nodiscard]] bool CreateObjectSegments(CDsData& displaySet, const SIndexedBitmapView& bitmap,
                                        uint16_t objectId, uint8_t objectVersion);

} // namespace quillary::pgs
