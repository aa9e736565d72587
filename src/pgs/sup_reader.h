// CSupReader: reads the entries of a .sup stream ("PG", PTS, DTS, segment) one at a time.
#pragma once

#include "pgs/segment_base.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace quillary::pgs {

struct SSupEntry {
    uint64_t offset = 0; // of the entry's "PG" in the file
    std::unique_ptr<CSegmentBase> segment;
};

// A new, empty segment object of `type`, or null for a type the stream does not define.
std::unique_ptr<CSegmentBase> CreateSegment(uint8_t type);

class CSupReader {
public:
    // `bytes` must outlive the reader.
    explicit CSupReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    // Reads the next entry into `entry`. False at the end of the stream, or at a fault: then
    // ErrorText() names it and ErrorOffset() gives its byte offset; nothing after it is read.
    [[nodiscard]] bool Next(SSupEntry& entry);

    bool Failed() const { return !m_error.empty(); }
    const std::string& ErrorText() const { return m_error; }
    uint64_t ErrorOffset() const { return m_errorOffset; }

private:
    bool Fail(uint64_t offset, std::string text);

    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
    std::string m_error;
    uint64_t m_errorOffset = 0;
};

} // namespace quillary::pgs
