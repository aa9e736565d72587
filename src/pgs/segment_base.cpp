// CSegmentBase and the line shapes of segment listings.
#include "pgs/segment_base.h"

#include "pgs/byte_io.h"
#include "pgs/timestamp.h"

#include <cstdio>

namespace quillary::pgs {

std::optional<size_t> CSegmentBase::Parse(std::span<const uint8_t>)
{
    return 0;
}

size_t CSegmentBase::Write(uint8_t* out)
{
    return FinishWrite(out, kSegmentHeaderSize);
}

void CSegmentBase::WriteHeader(uint8_t* out) const
{
    PutU8(out, segmentType);
    PutU16(out + 1, segmentLength);
}

size_t CSegmentBase::FinishWrite(uint8_t* out, size_t total)
{
    segmentLength = static_cast<uint16_t>(total - kSegmentHeaderSize);
    WriteHeader(out);
    return total;
}

void CSegmentBase::CopyFrom(const CSegmentBase& other)
{
    segmentType = other.segmentType;
    segmentLength = other.segmentLength;
    dts = other.dts;
    pts = other.pts;
}

void CSegmentBase::Dump(std::string& out, std::string_view prefix) const
{
    const std::string inner = dump::Nested(prefix);
    dump::Group(out, prefix, "SegmentDescriptor");
    char line[160];
    std::snprintf(line, sizeof line, "%.*sSegmentType: 0x%02X(%d)\n", int(inner.size()),
                  inner.data(), segmentType, segmentType);
    out += line;
    dump::Number(out, inner, "SegmentLength", segmentLength);
    for (const auto& [name, ticks] : {std::pair{"PTS", pts}, std::pair{"DTS", dts}}) {
        std::snprintf(line, sizeof line, "%.*s%s: %s(%u)\n", int(prefix.size()), prefix.data(),
                      name, FormatTimestamp(ticks).c_str(), ticks);
        out += line;
    }
}

namespace dump {

namespace {
// Appends the pieces in order, without building temporary strings of them.
template <class... Pieces> void Append(std::string& out, const Pieces&... pieces)
{
    (out.append(std::string_view(pieces)), ...);
}
} // namespace

void Number(std::string& out, std::string_view prefix, std::string_view name, long long value)
{
    Append(out, prefix, name, ": ", std::to_string(value), "\n");
}

void Pair(std::string& out, std::string_view prefix, std::string_view first,
          std::string_view second, long long a, long long b)
{
    Append(out, prefix, first, "/", second, ": ", std::to_string(a), "/", std::to_string(b), "\n");
}

void Code(std::string& out, std::string_view prefix, std::string_view name, int value,
          std::string_view valueName)
{
    Append(out, prefix, name, ": ", std::to_string(value), "(", valueName, ")\n");
}

void Group(std::string& out, std::string_view prefix, std::string_view name)
{
    Append(out, prefix, name, ": \n");
}

void NumberedGroup(std::string& out, std::string_view prefix, std::string_view name, int number)
{
    Append(out, prefix, name, " ", std::to_string(number), ":\n");
}

std::string Nested(std::string_view prefix)
{
    return std::string(prefix) + "  ";
}

} // namespace dump

} // namespace quillary::pgs
