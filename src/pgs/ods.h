// COds: the object definition segment, carrying one fragment of an object's data.
#pragma once

#include "pgs/segment_base.h"

#include <vector>

namespace quillary::pgs {

class COds final : public CSegmentBase {
public:
    // Object data bytes a segment carries at most (the 16-bit length would allow 65531).
    static constexpr size_t kMaxFragmentSize = 65515;
    // The object header that the first fragment carries: data length(3), width(2), height(2).
    static constexpr size_t kObjectHeaderSize = 7;

    COds() : CSegmentBase(SegmentType::Ods) {}

    void Clear() override { data.clear(); }
    // Copies `segmentLength` - 4 bytes of fragment data (none when the length is 4 or less).
    [[nodiscard]] std::optional<size_t> Parse(std::span<const uint8_t> payload) override;
    size_t Write(uint8_t* out) override;
    void Dump(std::string& out, std::string_view prefix) const override;
    void CopyFrom(const CSegmentBase& other) override;

    uint16_t objectId = 0;
    uint8_t objectVersion = 0;
    bool firstInSequence = true;
    bool lastInSequence = true;
    uint8_t sequenceExtra = 0; // low six bits of the sequence byte, kept from parsing
    std::vector<uint8_t> data; // this fragment of the object data
};

} // namespace quillary::pgs
