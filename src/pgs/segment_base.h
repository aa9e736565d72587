// CSegmentBase: what every PG segment has (type, length, time stamps) and how it is written,
// parsed and listed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillary::pgs {

enum class SegmentType : uint8_t {
    Pds = 0x14, // palette definition
    Ods = 0x15, // object definition
    Pcs = 0x16, // presentation composition
    Wds = 0x17, // window definition
    End = 0x80, // end of display set
};

inline constexpr size_t kSegmentHeaderSize = 3;
// The largest segment: header plus a 16-bit payload length.
inline constexpr size_t kMaxSegmentSize = kSegmentHeaderSize + 0xFFFF;

class CSegmentBase {
public:
    explicit CSegmentBase(SegmentType type) : segmentType(static_cast<uint8_t>(type)) {}
    virtual ~CSegmentBase() = default;

    // Drops the segment's entries.
    virtual void Clear() {}

    // Fills the segment from `payload`, the bytes after the 3-byte header (the caller sets
    // `segmentLength` first). Returns the number of payload bytes consumed, or nothing when the
    // payload is too short for the fields it announces; never reads outside `payload`.
    [[nodiscard]] virtual std::optional<size_t> Parse(std::span<const uint8_t> payload);

    // Writes the whole segment, header included, into `out` (which must hold kMaxSegmentSize
    // bytes), stores the payload size as `segmentLength` and returns the total byte count.
    virtual size_t Write(uint8_t* out);

    // Appends a listing of the segment to `out`, one line per field, each line starting with
    // `prefix`.
    virtual void Dump(std::string& out, std::string_view prefix) const;

    // Copies type, length and time stamps; the derived classes copy their fields as well when
    // `other` is of their own kind.
    virtual void CopyFrom(const CSegmentBase& other);

    SegmentType Type() const { return static_cast<SegmentType>(segmentType); }

    uint8_t segmentType;
    uint16_t segmentLength = 0;
    uint32_t dts = 0; // 90 kHz ticks; 0 where the segment has none
    uint32_t pts = 0; // 90 kHz ticks

protected:
    CSegmentBase(const CSegmentBase&) = default;
    CSegmentBase& operator=(const CSegmentBase&) = default;

    // Writes the 3-byte header with the stored type and length.
    void WriteHeader(uint8_t* out) const;
    // Sets the length from the total size written and rewrites the header; returns the total.
    size_t FinishWrite(uint8_t* out, size_t total);
};

// The listing's line shapes.
namespace dump {
void Number(std::string& out, std::string_view prefix, std::string_view name, long long value);
void Pair(std::string& out, std::string_view prefix, std::string_view first,
          std::string_view second, long long a, long long b);
void Code(std::string& out, std::string_view prefix, std::string_view name, int value,
          std::string_view valueName);
void Group(std::string& out, std::string_view prefix, std::string_view name);
void NumberedGroup(std::string& out, std::string_view prefix, std::string_view name, int number);
// Prefix of the lines inside a group.
std::string Nested(std::string_view prefix);
} // namespace dump

} // namespace quillary::pgs
