// COds: wire layout, parsing and listing of the object definition segment.
#include "pgs/ods.h"

#include "pgs/byte_io.h"

#include <algorithm>

namespace quillary::pgs {

// Payload: id(2) version(1) sequence(1), then the fragment.
std::optional<size_t> COds::Parse(std::span<const uint8_t> payload)
{
    Clear();
    if (payload.size() < 4)
        return std::nullopt;
    objectId = GetU16(payload.data());
    objectVersion = payload[2];
    firstInSequence = (payload[3] & 0x80) != 0;
    lastInSequence = (payload[3] & 0x40) != 0;
    sequenceExtra = payload[3] & 0x3F;
    if (segmentLength <= 4)
        return 4;
    const size_t size = segmentLength - 4u;
    if (payload.size() - 4 < size)
        return std::nullopt;
    data.assign(payload.begin() + 4, payload.begin() + 4 + static_cast<ptrdiff_t>(size));
    return 4 + size;
}

size_t COds::Write(uint8_t* out)
{
    WriteHeader(out);
    uint8_t* p = out + kSegmentHeaderSize;
    PutU16(p, objectId);
    PutU8(p + 2, objectVersion);
    PutU8(p + 3,
          (sequenceExtra & 0x3F) | (firstInSequence ? 0x80 : 0) | (lastInSequence ? 0x40 : 0));
    p += 4;
    // A fragment never exceeds what the 16-bit length can carry.
    const size_t size = std::min(data.size(), kMaxSegmentSize - kSegmentHeaderSize - 4);
    std::copy_n(data.data(), size, p);
    return FinishWrite(out, static_cast<size_t>(p - out) + size);
}

void COds::Dump(std::string& out, std::string_view prefix) const
{
    CSegmentBase::Dump(out, prefix);
    const std::string inner = dump::Nested(prefix);
    dump::Number(out, prefix, "ObjectId", objectId);
    dump::Number(out, prefix, "ObjectVersion", objectVersion);
    dump::Group(out, prefix, "SequenceDescriptor");
    dump::Number(out, inner, "FirstFlag", firstInSequence ? 1 : 0);
    dump::Number(out, inner, "LastFlag", lastInSequence ? 1 : 0);
    dump::Number(out, prefix, "FragmentSize", static_cast<long long>(data.size()));
    if (firstInSequence && data.size() >= kObjectHeaderSize) {
        dump::Number(out, prefix, "ObjectDataLength", GetU24(data.data()));
        dump::Pair(out, prefix, "ObjectWidth", "ObjectHeight", GetU16(data.data() + 3),
                   GetU16(data.data() + 5));
    }
}

void COds::CopyFrom(const CSegmentBase& other)
{
    if (const auto* ods = dynamic_cast<const COds*>(&other))
        *this = *ods;
    else
        CSegmentBase::CopyFrom(other);
}

} // namespace quillary::pgs
