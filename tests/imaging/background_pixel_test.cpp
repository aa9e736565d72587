// BackgroundPixel: which corner a reduction reports as transparent.
#include "imaging/background_pixel.h"

#include "test_images.h"

#include <gtest/gtest.h>

namespace quillary::imaging {
namespace {

TEST(BackgroundPixel, CornerRules)
{
    constexpr uint32_t kClear = 0x00FFFFFF, kA = 0xFF102030, kB = 0xFF405060, kC = 0xFF708090,
                       kD = 0xFFA0B0C0, kM = 0xFF000001; // kM only in the middle column
    struct Case {
        const char* name;
        uint32_t topLeft, topRight, bottomLeft, bottomRight;
        QPoint expected; // in a 3 x 2 bitmap: corners (0,0) (2,0) (0,1) (2,1)
    };
    const Case cases[] = {
        {"transparent top-left wins over equal pairs", kClear, kA, kA, kA, {0, 0}},
        {"no equal pair", kA, kB, kC, kD, {0, 0}},
        {"top pair", kA, kA, kC, kD, {0, 0}},
        {"right pair", kA, kB, kC, kB, {2, 0}},
        {"bottom pair", kA, kB, kC, kC, {0, 1}},
        {"diagonals: (1,2) comes after (0,3)", kA, kB, kB, kA, {2, 0}},
        {"all equal: the last pair (2,3) wins", kA, kA, kA, kA, {0, 1}},
        {"only alpha differs", kA, kB, kC, kA & 0x7FFFFFFF, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image =
            test::Argb(3, 2, {c.topLeft, kM, c.topRight, c.bottomLeft, kM, c.bottomRight});
        EXPECT_EQ(BackgroundPixel(image), c.expected);
    }
}

TEST(BackgroundPixel, SinglePixel)
{
    EXPECT_EQ(BackgroundPixel(test::Argb(1, 1, {0xFF123456})), QPoint(0, 0));
}

} // namespace
} // namespace quillary::imaging
