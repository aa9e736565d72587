// CSupReader: entry framing, segment dispatch and the faults of foreign or damaged streams.
#include "pgs/sup_reader.h"

#include "pgs/byte_io.h"
#include "pgs/es.h"
#include "pgs/ods.h"
#include "pgs/pcs.h"
#include "pgs/pds.h"
#include "pgs/stream_writer.h"
#include "pgs/wds.h"

#include <cstdio>

namespace quillary::pgs {

std::unique_ptr<CSegmentBase> CreateSegment(uint8_t type)
{
    switch (static_cast<SegmentType>(type)) {
    case SegmentType::Pds:
        return std::make_unique<CPds>();
    case SegmentType::Ods:
        return std::make_unique<COds>();
    case SegmentType::Pcs:
        return std::make_unique<CPcs>();
    case SegmentType::Wds:
        return std::make_unique<CWds>();
    case SegmentType::End:
        return std::make_unique<CEs>();
    }
    return nullptr;
}

bool CSupReader::Fail(uint64_t offset, std::string text)
{
    m_errorOffset = offset;
    m_error = std::move(text);
    return false;
}

bool CSupReader::Next(SSupEntry& entry)
{
    if (Failed() || m_pos == m_bytes.size())
        return false;
    const size_t start = m_pos;
    const size_t left = m_bytes.size() - start;
    const uint8_t* p = m_bytes.data() + start;
    constexpr size_t kEntryHeader = kSupHeaderSize + kSegmentHeaderSize;
    if (left >= 2 && (p[0] != 'P' || p[1] != 'G'))
        return Fail(start, "bad \"PG\" magic");
    if (left < kEntryHeader) {
        return Fail(start, "truncated entry: " + std::to_string(left) + " of " +
                               std::to_string(kEntryHeader) + " header bytes");
    }
    const uint8_t type = p[kSupHeaderSize];
    const size_t length = GetU16(p + kSupHeaderSize + 1);
    auto segment = CreateSegment(type);
    if (!segment) {
        char text[64];
        std::snprintf(text, sizeof text, "unknown segment type 0x%02X", type);
        return Fail(start + kSupHeaderSize, text);
    }
    if (left - kEntryHeader < length) {
        return Fail(start + kSupHeaderSize, "segment length " + std::to_string(length) +
                                                " runs past the end of the file (" +
                                                std::to_string(left - kEntryHeader) +
                                                " bytes left)");
    }
    segment->segmentLength = static_cast<uint16_t>(length);
    segment->pts = GetU32(p + 2);
    segment->dts = GetU32(p + 6);
    const auto payload = m_bytes.subspan(start + kEntryHeader, length);
    const auto consumed = segment->Parse(payload);
    if (!consumed || *consumed != length) {
        return Fail(start + kSupHeaderSize, "segment length " + std::to_string(length) +
                                                " does not match the fields of the segment");
    }
    m_pos = start + kEntryHeader + length;
    entry.offset = start;
    entry.segment = std::move(segment);
    return true;
}

} // namespace quillary::pgs
