// Object run-length coding: code tables, worst-case bound, an independent decoder on random
// bitmaps, and fragmenting into object segments.
#include "pgs/object_coder.h"
#include "support/hex_bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quillary::pgs {
namespace {

using test::Bytes;
using test::SameBytes;

std::vector<uint8_t> CodeRows(const std::vector<std::vector<uint8_t>>& rows)
{
    const int width = static_cast<int>(rows[0].size());
    std::vector<uint8_t> pixels;
    for (const auto& row : rows)
        pixels.insert(pixels.end(), row.begin(), row.end());
    return CodeObject({width, static_cast<int>(rows.size()), width, pixels.data()});
}

// The coded rows of a one-row bitmap, without the 7-byte object header.
std::vector<uint8_t> CodeRow(const std::vector<uint8_t>& row)
{
    const std::vector<uint8_t> data = CodeRows({row});
    return std::vector<uint8_t>(data.begin() + 7, data.end());
}

std::vector<uint8_t> Repeated(size_t length, uint8_t colour)
{
    return std::vector<uint8_t>(length, colour);
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(ObjectCoder, RowCodes)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> row;
        std::vector<uint8_t> coded;
    };
    const Case cases[] = {
        {"ten of colour 0", Repeated(10, 0), Bytes({0x00, 0x0A, 0x00, 0x00})},
        {"5 5 7", Bytes({5, 5, 7}), Bytes({0x05, 0x05, 0x07, 0x00, 0x00})},
        {"three of 5", Repeated(3, 5), Bytes({0x00, 0x83, 0x05, 0x00, 0x00})},
        {"100 of 9", Repeated(100, 9), Bytes({0x00, 0xC0, 0x64, 0x09, 0x00, 0x00})},
        {"100 of 0", Repeated(100, 0), Bytes({0x00, 0x40, 0x64, 0x00, 0x00})},
        {"single 0", Bytes({0}), Bytes({0x00, 0x01, 0x00, 0x00})},
        {"63 of 4", Repeated(63, 4), Bytes({0x00, 0xBF, 0x04, 0x00, 0x00})},
        {"64 of 4", Repeated(64, 4), Bytes({0x00, 0xC0, 0x40, 0x04, 0x00, 0x00})},
        {"63 of 0", Repeated(63, 0), Bytes({0x00, 0x3F, 0x00, 0x00})},
        {"64 of 0", Repeated(64, 0), Bytes({0x00, 0x40, 0x40, 0x00, 0x00})},
        {"1920 of 255", Repeated(1920, 255), Bytes({0x00, 0xC7, 0x80, 0xFF, 0x00, 0x00})},
        {"0 1 0 1", Bytes({0, 1, 0, 1}), Bytes({0x00, 0x01, 0x01, 0x00, 0x01, 0x01, 0x00, 0x00})},
        {"mixed", Join({Repeated(2, 3), Repeated(70, 0), Repeated(4, 3)}),
         Bytes({0x03, 0x03, 0x00, 0x40, 0x46, 0x00, 0x84, 0x03, 0x00, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(SameBytes(CodeRow(c.row), c.coded));
    }
}

TEST(ObjectCoder, ObjectHeaderOfTwoByOne)
{
    EXPECT_TRUE(SameBytes(CodeRows({{0, 0}}), Bytes({0x00, 0x00, 0x08, 0x00, 0x02, 0x00, 0x01, 0x00,
                                                     0x02, 0x00, 0x00})));
}

TEST(ObjectCoder, RowsAreCodedSeparatelyThroughTheStride)
{
    // Two rows of 3 pixels in a buffer with a stride of 5; the padding must not be coded.
    const auto pixels = Bytes({7, 7, 7, 9, 9, 7, 7, 7, 9, 9});
    const auto data = CodeObject({3, 2, 5, pixels.data()});
    EXPECT_TRUE(SameBytes(data, Bytes({0x00, 0x00, 0x0E, 0x00, 0x03, 0x00, 0x02, 0x00, 0x83, 0x07,
                                       0x00, 0x00, 0x00, 0x83, 0x07, 0x00, 0x00})));
}

TEST(ObjectCoder, EmptyOrOversizedBitmapsCodeToNothing)
{
    const uint8_t pixel = 1;
    EXPECT_TRUE(CodeObject({0, 1, 1, &pixel}).empty());
    EXPECT_TRUE(CodeObject({1, 0, 1, &pixel}).empty());
    EXPECT_TRUE(CodeObject({1, 1, 1, nullptr}).empty());
    EXPECT_TRUE(CodeObject({70000, 1, 70000, &pixel}).empty());
    CDsData ds;
    EXPECT_FALSE(CreateObjectSegments(ds, {0, 0, 0, &pixel}, 0, 0));
    EXPECT_TRUE(ds.objects.empty());
}

// Decodes object data the plain way, as a player would.
bool Decode(const std::vector<uint8_t>& data, int& width, int& height, std::vector<uint8_t>& out)
{
    if (data.size() < 7 || (size_t(data[0]) << 16 | data[1] << 8 | data[2]) != data.size() - 3)
        return false;
    width = data[3] << 8 | data[4];
    height = data[5] << 8 | data[6];
    out.clear();
    size_t i = 7;
    for (int y = 0; y < height; ++y) {
        int x = 0;
        for (;;) {
            if (i >= data.size())
                return false;
            uint8_t b = data[i++];
            if (b != 0) {
                out.push_back(b);
                ++x;
                continue;
            }
            if (i >= data.size())
                return false;
            const uint8_t flags = data[i++];
            if (flags == 0)
                break;
            size_t length = flags & 0x3F;
            if (flags & 0x40) {
                if (i >= data.size())
                    return false;
                length = length << 8 | data[i++];
            }
            uint8_t colour = 0;
            if (flags & 0x80) {
                if (i >= data.size())
                    return false;
                colour = data[i++];
            }
            out.insert(out.end(), length, colour);
            x += static_cast<int>(length);
        }
        if (x != width)
            return false;
    }
    return i == data.size();
}

TEST(ObjectCoder, RandomBitmapsDecodeBackAndStayWithinTheBound)
{
    std::mt19937 random(20261210);
    for (int round = 0; round < 200; ++round) {
        const int width = 1 + int(random() % 300);
        const int height = 1 + int(random() % 20);
        // Few colours make long runs, many colours make short ones; colour 0 is frequent.
        const unsigned colours = 1 + random() % (round % 2 ? 3 : 256);
        std::vector<uint8_t> pixels(size_t(width) * height);
        uint8_t current = 0;
        for (auto& p : pixels) {
            if (random() % 8 == 0 || round % 5 == 0)
                current = static_cast<uint8_t>(random() % colours);
            p = current;
        }
        SCOPED_TRACE(testing::Message() << "round " << round << ": " << width << "x" << height);
        const auto data = CodeObject({width, height, width, pixels.data()});
        ASSERT_LE(data.size(), MaxObjectDataSize(width, height));
        int w = 0, h = 0;
        std::vector<uint8_t> decoded;
        ASSERT_TRUE(Decode(data, w, h, decoded));
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        EXPECT_EQ(decoded, pixels);
    }
}

TEST(ObjectCoder, WorstCaseRowFillsTheBoundExactly)
{
    for (int width : {1, 2, 3, 4, 1919, 1920}) {
        SCOPED_TRACE(width);
        std::vector<uint8_t> row(static_cast<size_t>(width));
        for (int x = 0; x < width; ++x)
            row[size_t(x)] = x % 2 ? 1 : 0;
        const auto data = CodeObject({width, 3, 0, row.data()}); // stride 0 repeats the row
        EXPECT_EQ(data.size(), MaxObjectDataSize(width, 3));
    }
}

TEST(ObjectCoder, RunsLongerThanTheLengthFieldAreSplit)
{
    const std::vector<uint8_t> row(20000, 6);
    int w = 0, h = 0;
    std::vector<uint8_t> decoded;
    ASSERT_TRUE(Decode(CodeObject({20000, 1, 20000, row.data()}), w, h, decoded));
    EXPECT_EQ(decoded, row);
}

TEST(ObjectCoder, Fragmenting)
{
    struct Case {
        size_t total;
        std::vector<size_t> sizes;
    };
    const Case cases[] = {
        {11, {11}},
        {65515, {65515}},
        {65516, {65515, 1}},
        {2 * 65515, {65515, 65515}},
        {2 * 65515 + 100, {65515, 65515, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        std::vector<uint8_t> data(c.total);
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<uint8_t>(i * 7);
        const auto fragments = FragmentObject(data, 0x0203, 9);
        ASSERT_EQ(fragments.size(), c.sizes.size());
        std::vector<uint8_t> joined;
        for (size_t i = 0; i < fragments.size(); ++i) {
            const COds& ods = *fragments[i];
            EXPECT_EQ(ods.data.size(), c.sizes[i]);
            EXPECT_EQ(ods.firstInSequence, i == 0);
            EXPECT_EQ(ods.lastInSequence, i + 1 == fragments.size());
            EXPECT_EQ(ods.objectId, 0x0203);
            EXPECT_EQ(ods.objectVersion, 9);
            EXPECT_EQ(ods.segmentType, 0x15);
            joined.insert(joined.end(), ods.data.begin(), ods.data.end());
        }
        EXPECT_EQ(joined, data);
    }
}

TEST(ObjectCoder, LargeObjectBecomesSeveralSegmentsOfTheDisplaySet)
{
    // 1920 x 120 of alternating colours: far more than one segment can carry.
    std::vector<uint8_t> pixels(1920 * 120);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i % 2 ? 0 : 1 + (i / 1920) % 200);
    CDsData ds;
    ds.objects.push_back(std::make_unique<COds>()); // appended after what is there
    ASSERT_TRUE(CreateObjectSegments(ds, {1920, 120, 1920, pixels.data()}, 1, 2));
    const size_t total = MaxObjectDataSize(1920, 120);
    ASSERT_EQ(ds.objects.size(), 1 + (total + 65514) / 65515);
    std::vector<uint8_t> joined;
    for (size_t i = 1; i < ds.objects.size(); ++i)
        joined.insert(joined.end(), ds.objects[i]->data.begin(), ds.objects[i]->data.end());
    int w = 0, h = 0;
    std::vector<uint8_t> decoded;
    ASSERT_TRUE(Decode(joined, w, h, decoded));
    EXPECT_EQ(decoded, pixels);
}

} // namespace
} // namespace quillary::pgs
