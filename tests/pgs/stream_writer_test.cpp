// Display sets and epochs written as .sup, or as .pes with a .mui index; validation and checked
// writes.
#include "pgs/object_coder.h"
#include "pgs/stream_file.h"
#include "pgs/stream_writer.h"
#include "support/hex_bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillary::pgs {
namespace {

using test::Bytes;
using test::SameBytes;

// A display set of every kind of segment: composition, window, one palette, one single-fragment
// object (2 x 1 of colour 0) and end; every segment at PTS 90000, DTS 0.
std::unique_ptr<CDsData> FullDisplaySet()
{
    auto ds = std::make_unique<CDsData>();
    ds->pcs = std::make_unique<CPcs>();
    ds->pcs->videoDescriptor = {1920, 1080, 1, 0};
    ds->pcs->AddCompositionObject(0, 0, false, 10, 20);
    ds->wds = std::make_unique<CWds>();
    ds->wds->AddWindow(0, 10, 20, 12, 21);
    ds->AddPaletteSegment().entries.push_back({0, 16, 128, 128, 255});
    const uint8_t pixels[2] = {0, 0};
    EXPECT_TRUE(CreateObjectSegments(*ds, {2, 1, 2, pixels}, 0, 0));
    ds->GetEndSegment();
    ds->ForEachSegment([](CSegmentBase& s) { s.pts = 90000; });
    return ds;
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(StreamWriter, EndSegmentInSupOutput)
{
    CMemorySink out;
    CStreamWriter writer(out, nullptr, OutputKind::Sup);
    CDsData ds;
    ds.compositionState = 0;
    ds.pcs = std::make_unique<CPcs>();
    ds.GetEndSegment().pts = 90000;
    ASSERT_EQ(writer.WriteDisplaySet(ds), WriteStatus::Written);
    const std::vector<uint8_t> bytes = out.Bytes();
    ASSERT_EQ(bytes.size(), 10u + 14 + 10 + 3);
    EXPECT_TRUE(SameBytes(
        std::span(bytes).subspan(24),
        Bytes({0x50, 0x47, 0x00, 0x01, 0x5F, 0x90, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00})));
}

TEST(StreamWriter, IndexRecordOfAnEndSegment)
{
    CEs es;
    es.pts = 90000;
    const auto record = MakeIndexRecord(es, 3);
    EXPECT_TRUE(SameBytes(record, Bytes({0x80, 0x00, 0x00, 0x00, 0x03, 0x01, 0x9C, 0xAC, 0x88, 0x00,
                                         0xCE, 0x56, 0x44, 0x00})));
}

TEST(StreamWriter, IndexRecordTimes)
{
    struct Case {
        uint32_t pts, dts;
        uint32_t first, second;
    };
    const Case cases[] = {
        {90000, 0, (90000 + 54000000u) >> 1, (90000 + 54000000u) >> 2},
        {90000, 84168, (84168 + 54000000u) >> 1, (90000 + 54000000u) >> 2},
        {0, 0, 27000000, 13500000},
        // Unsigned 32-bit wrap of the addition.
        {0xFFFFFFFF, 0xFFFFFF00, (0xFFFFFF00u + 54000000u) >> 1, (0xFFFFFFFFu + 54000000u) >> 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pts << "/" << c.dts);
        COds ods;
        ods.pts = c.pts;
        ods.dts = c.dts;
        const auto r = MakeIndexRecord(ods, 0x12345);
        EXPECT_EQ(r[0], 0x15);
        EXPECT_EQ(uint32_t(r[1]) << 24 | r[2] << 16 | r[3] << 8 | r[4], 0x12345u);
        EXPECT_EQ(uint32_t(r[5]) << 24 | r[6] << 16 | r[7] << 8 | r[8], c.first);
        EXPECT_EQ(uint32_t(r[9]) << 24 | r[10] << 16 | r[11] << 8 | r[12], c.second);
        EXPECT_EQ(r[13], 0);
    }
}

TEST(StreamWriter, FullDisplaySetGivesFiveEntriesOrFiveSegmentsAndRecords)
{
    const size_t segmentSizes[] = {3 + 19, 3 + 10, 3 + 7, 3 + 4 + 11, 3};
    size_t bare = 0;
    for (size_t s : segmentSizes)
        bare += s;

    CMemorySink sup;
    ASSERT_EQ(CStreamWriter(sup, nullptr, OutputKind::Sup).WriteDisplaySet(*FullDisplaySet()),
              WriteStatus::Written);
    EXPECT_EQ(sup.Bytes().size(), bare + 5 * 10);

    CMemorySink pes, mui;
    ASSERT_EQ(CStreamWriter(pes, &mui, OutputKind::Pes).WriteDisplaySet(*FullDisplaySet()),
              WriteStatus::Written);
    EXPECT_EQ(pes.Bytes().size(), bare);
    ASSERT_EQ(mui.Bytes().size(), 5 * kIndexRecordSize);
    // The .pes bytes are the .sup bytes without their "PG" headers; the records follow them.
    size_t supPos = 0, pesPos = 0;
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sup.Bytes()[supPos], 'P');
        EXPECT_TRUE(SameBytes(std::span(sup.Bytes()).subspan(supPos + 10, segmentSizes[i]),
                              std::span(pes.Bytes()).subspan(pesPos, segmentSizes[i])));
        const uint8_t* record = mui.Bytes().data() + i * kIndexRecordSize;
        EXPECT_EQ(record[0], pes.Bytes()[pesPos]);
        EXPECT_EQ(size_t(record[3]) << 8 | record[4], segmentSizes[i]);
        supPos += 10 + segmentSizes[i];
        pesPos += segmentSizes[i];
    }
}

TEST(StreamWriter, CompositionStateOfTheDisplaySetIsWritten)
{
    auto ds = FullDisplaySet();
    ds->compositionState = 1;
    ds->pcs->compositionState = 3;
    CMemorySink out;
    ASSERT_EQ(CStreamWriter(out, nullptr, OutputKind::Sup).WriteDisplaySet(*ds),
              WriteStatus::Written);
    EXPECT_EQ(out.Bytes()[10 + 10], 0x40);
}

TEST(Validation, ByCompositionState)
{
    struct Case {
        const char* name;
        uint8_t state;
        bool window, palette;
        bool valid;
    };
    const Case cases[] = {
        {"normal case bare", 0, false, false, true},
        {"epoch start complete", 2, true, true, true},
        {"epoch start without window", 2, false, true, false},
        {"epoch start without palette", 2, true, false, false},
        {"acquisition point complete", 1, true, true, true},
        {"acquisition point without window", 1, false, true, false},
        {"epoch continue without palette", 3, true, false, false},
        {"unknown state", 4, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDsData ds;
        ds.compositionState = c.state;
        ds.pcs = std::make_unique<CPcs>();
        if (c.window)
            ds.wds = std::make_unique<CWds>();
        if (c.palette)
            ds.AddPaletteSegment();
        EXPECT_EQ(ds.Validate(), c.valid);
        EXPECT_NE(ds.es, nullptr); // created by validation either way
    }
    CDsData noComposition;
    EXPECT_FALSE(noComposition.Validate());
}

TEST(Validation, WindowDefinitionOfThreeWindowsIsInvalid)
{
    auto ds = FullDisplaySet();
    ds->wds->windows.resize(3);
    EXPECT_FALSE(ds->Validate());
}

TEST(DisplaySet, PaletteIdsCountUpAndVersionStartsAtZero)
{
    CDsData ds;
    EXPECT_EQ(ds.AddPaletteSegment().paletteId, 0);
    CPds& second = ds.AddPaletteSegment();
    EXPECT_EQ(second.paletteId, 1);
    EXPECT_EQ(second.paletteVersion, 0);
    EXPECT_EQ(second.segmentType, 0x14);
}

TEST(Epoch, NormalCaseWithOnlyACompositionGetsAnEndSegment)
{
    CEpochData epoch;
    CDsData& ds = epoch.AddDisplaySet();
    ds.compositionState = 0;
    ds.pcs = std::make_unique<CPcs>();
    CMemorySink out;
    ASSERT_EQ(CStreamWriter(out, nullptr, OutputKind::Sup).WriteEpoch(epoch), WriteStatus::Written);
    EXPECT_EQ(out.Bytes().size(), 10u + 14 + 10 + 3);
    EXPECT_EQ(out.Bytes().back(), 0x00);
    EXPECT_EQ(out.Bytes()[10 + 14 + 10], 0x80);
}

TEST(Epoch, StopsAtTheFirstInvalidDisplaySet)
{
    CEpochData epoch;
    epoch.push_back(FullDisplaySet());
    CDsData& broken = epoch.AddDisplaySet(); // Epoch Start without a window definition
    broken.pcs = std::make_unique<CPcs>();
    broken.AddPaletteSegment();
    epoch.push_back(FullDisplaySet());

    CMemorySink alone;
    ASSERT_EQ(CStreamWriter(alone, nullptr, OutputKind::Sup).WriteDisplaySet(*FullDisplaySet()),
              WriteStatus::Written);
    CMemorySink out;
    EXPECT_EQ(CStreamWriter(out, nullptr, OutputKind::Sup).WriteEpoch(epoch), WriteStatus::Invalid);
    EXPECT_TRUE(SameBytes(out.Bytes(), alone.Bytes()));
}

TEST(Epoch, EmptyEpochIsAFailureAndWritesNothing)
{
    CEpochData epoch;
    CMemorySink out;
    EXPECT_EQ(CStreamWriter(out, nullptr, OutputKind::Sup).WriteEpoch(epoch), WriteStatus::Invalid);
    EXPECT_TRUE(out.Bytes().empty());
}

// Accepts a fixed number of bytes, then refuses everything: a disk that fills up.
class CFillingSink final : public IByteSink {
public:
    explicit CFillingSink(size_t capacity) : m_capacity(capacity) {}
    bool Write(const uint8_t*, size_t size) override
    {
        if (size > m_capacity)
            return false;
        m_capacity -= size;
        return true;
    }

private:
    size_t m_capacity;
};

TEST(Epoch, WriteFailuresReachTheCaller)
{
    for (size_t capacity : {size_t(0), size_t(9), size_t(40), size_t(60)}) {
        SCOPED_TRACE(capacity);
        CEpochData epoch;
        epoch.push_back(FullDisplaySet());
        CFillingSink out(capacity);
        EXPECT_EQ(CStreamWriter(out, nullptr, OutputKind::Sup).WriteEpoch(epoch),
                  WriteStatus::WriteFailed);

        CMemorySink pes;
        CFillingSink index(capacity);
        EXPECT_EQ(CStreamWriter(pes, &index, OutputKind::Pes).WriteEpoch(epoch),
                  WriteStatus::WriteFailed);
    }
}

class StreamFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("quillary_stream_" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path m_dir;
};

TEST_F(StreamFileTest, EmptyPesBuildStillHasAnIndexOf18Bytes)
{
    const auto pes = m_dir / "movie.pes";
    CStreamFile file;
    ASSERT_TRUE(file.Open(pes.string(), OutputKind::Pes));
    ASSERT_TRUE(file.Close());
    EXPECT_TRUE(ReadFile(pes).empty());
    EXPECT_TRUE(SameBytes(ReadFile(m_dir / "movie.pes.mui"),
                          Bytes({0, 0, 0, 3, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
}

TEST_F(StreamFileTest, PesFileAndIndexAgreeWithTheWriter)
{
    const auto pes = m_dir / "movie.pes";
    CEpochData epoch;
    epoch.push_back(FullDisplaySet());
    CStreamFile file;
    ASSERT_TRUE(file.Open(pes.string(), OutputKind::Pes));
    ASSERT_EQ(file.WriteEpoch(epoch), WriteStatus::Written);
    ASSERT_TRUE(file.Close());

    CMemorySink expectedPes, expectedIndex;
    ASSERT_EQ(CStreamWriter(expectedPes, &expectedIndex, OutputKind::Pes)
                  .WriteDisplaySet(*FullDisplaySet()),
              WriteStatus::Written);
    EXPECT_TRUE(SameBytes(ReadFile(pes), expectedPes.Bytes()));
    std::vector<uint8_t> index = Bytes({0, 0, 0, 3});
    index.insert(index.end(), expectedIndex.Bytes().begin(), expectedIndex.Bytes().end());
    const auto terminator = IndexTerminator();
    index.insert(index.end(), terminator.begin(), terminator.end());
    EXPECT_TRUE(SameBytes(ReadFile(m_dir / "movie.pes.mui"), index));
}

TEST_F(StreamFileTest, DiscardDeletesBothFiles)
{
    const auto pes = m_dir / "movie.pes";
    CStreamFile file;
    ASSERT_TRUE(file.Open(pes.string(), OutputKind::Pes));
    file.Discard();
    EXPECT_FALSE(std::filesystem::exists(pes));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "movie.pes.mui"));
}

TEST_F(StreamFileTest, OpenFailureNamesThePathAndLeavesNothing)
{
    CStreamFile file;
    const auto path = m_dir / "missing" / "out.sup";
    EXPECT_FALSE(file.Open(path.string(), OutputKind::Sup));
    EXPECT_NE(file.ErrorText().find(path.string()), std::string::npos);
}

TEST_F(StreamFileTest, IndexThatCannotBeCreatedRemovesTheNewPesButNotForeignFiles)
{
    // A directory where the index should go: the index cannot be opened, and that directory
    // (not ours) must survive the cleanup.
    const auto pes = m_dir / "movie.pes";
    std::filesystem::create_directory(m_dir / "movie.pes.mui");
    CStreamFile file;
    EXPECT_FALSE(file.Open(pes.string(), OutputKind::Pes));
    EXPECT_FALSE(std::filesystem::exists(pes));
    EXPECT_TRUE(std::filesystem::is_directory(m_dir / "movie.pes.mui"));
}

TEST(StreamFile, FullDiskIsReportedAtTheLatestOnClose)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CStreamFile file;
    ASSERT_TRUE(file.Open("/dev/full", OutputKind::Sup));
    CEpochData epoch;
    epoch.push_back(FullDisplaySet());
    const WriteStatus status = file.WriteEpoch(epoch);
    const bool closed = file.Close();
    EXPECT_TRUE(status == WriteStatus::WriteFailed || !closed);
    EXPECT_FALSE(closed);
    EXPECT_NE(file.ErrorText().find("/dev/full"), std::string::npos);
}

} // namespace
} // namespace quillary::pgs
