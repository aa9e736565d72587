// CSupReader on good and damaged streams: every fault stops the reader with its byte offset and
// keeps what was read before it.
#include "pgs/es.h"
#include "pgs/ods.h"
#include "pgs/pcs.h"
#include "pgs/stream_writer.h"
#include "pgs/sup_reader.h"
#include "support/hex_bytes.h"

#include <gtest/gtest.h>

namespace quillary::pgs {
namespace {

using test::Bytes;

// Two display sets: composition + end, then composition with one object + end.
std::vector<uint8_t> GoodStream()
{
    CMemorySink out;
    CStreamWriter writer(out, nullptr, OutputKind::Sup);
    for (uint32_t pts : {90000u, 180000u}) {
        CDsData ds;
        ds.compositionState = 0;
        ds.pcs = std::make_unique<CPcs>();
        ds.pcs->videoDescriptor = {1280, 720, 1, 0};
        ds.pcs->compositionNumber = static_cast<uint16_t>(pts / 90000);
        ds.pcs->pts = pts;
        ds.pcs->dts = pts - 3000;
        ds.GetEndSegment().pts = pts;
        EXPECT_EQ(writer.WriteDisplaySet(ds), WriteStatus::Written);
    }
    return out.Bytes(); // entries of 24 and 13 bytes at 0, 24, 37, 61; 74 bytes in all
}

struct SReadResult {
    std::vector<uint64_t> offsets;
    bool failed = false;
    uint64_t errorOffset = 0;
    std::string error;
};

SReadResult ReadAll(const std::vector<uint8_t>& bytes)
{
    SReadResult result;
    CSupReader reader(bytes);
    SSupEntry entry;
    while (reader.Next(entry))
        result.offsets.push_back(entry.offset);
    result.failed = reader.Failed();
    result.errorOffset = reader.ErrorOffset();
    result.error = reader.ErrorText();
    return result;
}

TEST(SupReader, ReadsEverySegmentWithItsTimes)
{
    const auto bytes = GoodStream();
    CSupReader reader(bytes);
    SSupEntry entry;
    ASSERT_TRUE(reader.Next(entry));
    EXPECT_EQ(entry.offset, 0u);
    ASSERT_EQ(entry.segment->Type(), SegmentType::Pcs);
    EXPECT_EQ(entry.segment->pts, 90000u);
    EXPECT_EQ(entry.segment->dts, 87000u);
    EXPECT_EQ(static_cast<CPcs&>(*entry.segment).videoDescriptor.width, 1280);
    const SReadResult all = ReadAll(bytes);
    EXPECT_EQ(all.offsets, (std::vector<uint64_t>{0, 24, 37, 61}));
    EXPECT_FALSE(all.failed);
}

TEST(SupReader, FaultsNameTheirOffset)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t entriesBefore;
        uint64_t offset;
        const char* words;
    };
    auto stream = [](auto edit) {
        auto bytes = GoodStream();
        edit(bytes);
        return bytes;
    };
    const Case cases[] = {
        {"truncated entry header", stream([](auto& b) { b.resize(37 + 7); }), 2, 37, "truncated"},
        {"single byte left", stream([](auto& b) { b.push_back('P'); }), 4, 74, "truncated"},
        {"bad magic", stream([](auto& b) { b[24] = 'X'; }), 1, 24, "magic"},
        {"unknown type", stream([](auto& b) { b[37 + 10] = 0x42; }), 2, 47,
         "unknown segment type 0x42"},
        {"length past the end", stream([](auto& b) { b.resize(37 + 20); }), 2, 47, "past the end"},
        {"length that disagrees with the fields", stream([](auto& b) {
             b[24 + 12] = 0x05; // end segment announcing 5 bytes, 5 more bytes present
             b.insert(b.begin() + 37, {1, 2, 3, 4, 5});
         }),
         1, 34, "does not match"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SReadResult result = ReadAll(c.bytes);
        EXPECT_EQ(result.offsets.size(), c.entriesBefore);
        EXPECT_TRUE(result.failed);
        EXPECT_EQ(result.errorOffset, c.offset);
        EXPECT_NE(result.error.find(c.words), std::string::npos) << result.error;
    }
}

TEST(SupReader, EmptyFileIsAnEmptyStream)
{
    const SReadResult result = ReadAll({});
    EXPECT_TRUE(result.offsets.empty());
    EXPECT_FALSE(result.failed);
}

TEST(SupReader, CreatesEveryKnownSegment)
{
    for (int type = 0; type < 256; ++type) {
        const bool known =
            type == 0x14 || type == 0x15 || type == 0x16 || type == 0x17 || type == 0x80;
        const auto segment = CreateSegment(static_cast<uint8_t>(type));
        EXPECT_EQ(segment != nullptr, known) << type;
        if (segment) {
            EXPECT_EQ(segment->segmentType, type);
        }
    }
}

} // namespace
} // namespace quillary::pgs
