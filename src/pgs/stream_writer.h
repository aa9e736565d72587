// CStreamWriter: display sets and epochs onto a .sup stream, or a .pes stream with its .mui index.
#pragma once

#include "pgs/byte_sink.h"
#include "pgs/epoch_data.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quillary::pgs {

// The build's output kinds, by their stored numbers.
enum class OutputKind : int {
    Sup = 0, // every segment behind a "PG" header with its PTS and DTS
    Pes = 2, // bare segments, with a .mui index record for each
};

enum class WriteStatus {
    Written,
    Invalid,     // a display set failed validation: it and the rest of its epoch were not written
    WriteFailed, // the output or the index did not take the bytes
};

inline constexpr size_t kSupHeaderSize = 10;
inline constexpr size_t kIndexRecordSize = 14;
inline constexpr std::array<uint8_t, 4> kMuiFileHeader = {0x00, 0x00, 0x00, 0x03};

// The .mui record of a segment of `size` bytes in the .pes file. Times are counted from 600
// seconds (54000000 ticks) before the stream's zero, in unsigned 32-bit arithmetic: the decoding
// time (the PTS when the DTS is 0) in 45 kHz units, the PTS in 22.5 kHz units.
std::array<uint8_t, kIndexRecordSize> MakeIndexRecord(const CSegmentBase& segment, uint32_t size);

// The .mui terminating record: FF and 13 zero bytes.
std::array<uint8_t, kIndexRecordSize> IndexTerminator();

// Where finished epochs go.
class IEpochSink {
public:
    virtual ~IEpochSink() = default;
    // Validates and writes each display set in turn; stops at the first invalid one or at a
    // write failure. An epoch without display sets is Invalid and writes nothing.
    [[nodiscard]] virtual WriteStatus WriteEpoch(CEpochData& epoch) = 0;
};

class CStreamWriter final : public IEpochSink {
public:
    // `index` is null for .sup output.
    CStreamWriter(IByteSink& output, IByteSink* index, OutputKind kind);

    // Writes the segments of `displaySet` in stream order, creating a missing end segment and
    // copying the display set's composition state into its composition. Does not validate.
    [[nodiscard]] WriteStatus WriteDisplaySet(CDsData& displaySet);

    [[nodiscard]] WriteStatus WriteEpoch(CEpochData& epoch) override;

private:
    [[nodiscard]] bool WriteSegment(CSegmentBase& segment);

    IByteSink& m_output;
    IByteSink* m_index;
    OutputKind m_kind;
    std::vector<uint8_t> m_scratch;
};

} // namespace quillary::pgs
