// CStreamWriter and the .mui index records.
#include "pgs/stream_writer.h"

#include "pgs/byte_io.h"

namespace quillary::pgs {

namespace {
constexpr uint32_t kIndexTimeOffset = 54000000; // 600 s at 90 kHz
}

std::array<uint8_t, kIndexRecordSize> MakeIndexRecord(const CSegmentBase& segment, uint32_t size)
{
    std::array<uint8_t, kIndexRecordSize> record{};
    const uint32_t decodeTime = segment.dts != 0 ? segment.dts : segment.pts;
    record[0] = segment.segmentType;
    PutU32(&record[1], size);
    PutU32(&record[5], (decodeTime + kIndexTimeOffset) >> 1);
    PutU32(&record[9], (segment.pts + kIndexTimeOffset) >> 2);
    record[13] = 0;
    return record;
}

std::array<uint8_t, kIndexRecordSize> IndexTerminator()
{
    std::array<uint8_t, kIndexRecordSize> record{};
    record[0] = 0xFF;
    return record;
}

CStreamWriter::CStreamWriter(IByteSink& output, IByteSink* index, OutputKind kind)
    : m_output(output), m_index(index), m_kind(kind), m_scratch(kMaxSegmentSize)
{
}

bool CStreamWriter::WriteSegment(CSegmentBase& segment)
{
    const size_t size = segment.Write(m_scratch.data());
    // A segment that cannot be written (a window definition of more than two windows) gives no
    // bytes; its "PG" header is left out too so that the stream stays readable.
    if (m_kind == OutputKind::Sup && size > 0) {
        uint8_t header[kSupHeaderSize] = {'P', 'G'};
        PutU32(header + 2, segment.pts);
        PutU32(header + 6, segment.dts);
        if (!m_output.Write(header, sizeof header))
            return false;
    }
    if (!m_output.Write(m_scratch.data(), size))
        return false;
    if (m_index != nullptr) {
        const auto record = MakeIndexRecord(segment, static_cast<uint32_t>(size));
        if (!m_index->Write(record.data(), record.size()))
            return false;
    }
    return true;
}

WriteStatus CStreamWriter::WriteDisplaySet(CDsData& displaySet)
{
    if (!displaySet.pcs)
        return WriteStatus::Invalid;
    displaySet.pcs->compositionState = displaySet.compositionState & 0x03;
    displaySet.GetEndSegment();
    bool ok = true;
    displaySet.ForEachSegment([&](CSegmentBase& segment) {
        if (ok)
            ok = WriteSegment(segment);
    });
    return ok ? WriteStatus::Written : WriteStatus::WriteFailed;
}

WriteStatus CStreamWriter::WriteEpoch(CEpochData& epoch)
{
    if (epoch.empty())
        return WriteStatus::Invalid;
    for (auto& displaySet : epoch) {
        if (!displaySet || !displaySet->Validate())
            return WriteStatus::Invalid;
        const WriteStatus status = WriteDisplaySet(*displaySet);
        if (status != WriteStatus::Written)
            return status;
    }
    return WriteStatus::Written;
}

} // namespace quillary::pgs
