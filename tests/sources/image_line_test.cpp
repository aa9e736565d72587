// Image lines: insert position, crop, key and blue cleanup, nearest scaling, smooth enlargement,
// the reference frame and load failures.
#include "sources/image_line.h"
#include "sources/sub_base.h"
#include "support/recording_sink.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace quillary::sources {
namespace {

QImage Filled(int w, int h, QRgb argb)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(argb);
    return image;
}

TEST(ImageInsertPosition, Cases)
{
    struct Case {
        int W, H, w, h;
        QPoint expected;
    };
    const Case cases[] = {
        {1920, 1080, 400, 100, {1424, 54}},
        {1920, 1080, 1850, 100, {70, 54}}, // less room than the 5 % margin
        {1920, 1080, 1920, 1080, {1, 0}},  // as large as the frame
        {1920, 1080, 2000, 50, {1, 54}},
        {720, 480, 700, 480, {20, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        EXPECT_EQ(ImageInsertPosition(c.W, c.H, c.w, c.h), c.expected);
    }
}

TEST(ScaleAndKey, KeyColourAndBluesBecomeTransparent)
{
    // Green background (all corners), a red square, a pure blue and a dark blue pixel.
    QImage image = Filled(10, 10, 0xFF00FF00);
    for (int y = 3; y < 6; ++y)
        for (int x = 3; x < 6; ++x)
            image.setPixel(x, y, 0xFFFF0000);
    image.setPixel(7, 7, 0xFF0000FF);
    image.setPixel(8, 7, 0xFF0A0A40);
    const QImage result = ScaleAndKey(image, 1.0f, false);
    ASSERT_EQ(result.size(), QSize(10, 10));
    EXPECT_EQ(result.pixel(0, 0), 0u);
    EXPECT_EQ(result.pixel(4, 4), 0xFFFF0000u);
    EXPECT_EQ(result.pixel(7, 7), 0u);          // pure blue
    EXPECT_EQ(result.pixel(8, 7), 0xFF0A0A40u); // dark blue stays
}

TEST(ScaleAndKey, CropToContentAndScale)
{
    QImage image = Filled(100, 50, 0x00000000);
    for (int y = 10; y < 20; ++y)
        for (int x = 30; x < 70; ++x)
            image.setPixel(x, y, 0xFFFFFFFF);
    struct Case {
        float scale;
        bool crop;
        QSize size;
    };
    for (const Case c :
         {Case{1.0f, true, {40, 10}}, Case{2.0f, true, {80, 20}}, Case{0.667f, true, {27, 7}},
          Case{1.0f, false, {100, 50}}, Case{0.5f, false, {50, 25}}}) {
        SCOPED_TRACE(testing::Message() << c.scale << (c.crop ? " cropped" : " whole"));
        const QImage result = ScaleAndKey(image, c.scale, c.crop);
        EXPECT_EQ(result.size(), c.size);
        EXPECT_EQ(result.format(), QImage::Format_ARGB32);
    }
    EXPECT_TRUE(ScaleAndKey(Filled(20, 20, 0xFF123456), 1.0f, true).isNull());
}

TEST(ScaleAndKey, CornerPairsChooseTheKey)
{
    // Top-left differs; the other three corners are equal: the last equal pair wins.
    QImage image = Filled(6, 6, 0xFF808080);
    image.setPixel(0, 0, 0xFFFF0000);
    image.setPixel(5, 0, 0xFF00FF00);
    image.setPixel(0, 5, 0xFF00FF00);
    image.setPixel(5, 5, 0xFF00FF00);
    const QImage result = ScaleAndKey(image, 1.0f, false);
    EXPECT_EQ(result.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(result.pixel(5, 5), 0u);
    EXPECT_EQ(result.pixel(2, 2), 0xFF808080u);
}

QImage IndexedWithWhiteBar(bool withWhite)
{
    QImage image(20, 10, QImage::Format_Indexed8);
    image.setColorTable({0xFF000000, withWhite ? 0xFFFFFFFF : 0xFF00FF00});
    image.fill(0);
    for (int x = 5; x < 15; ++x)
        image.setPixel(x, 4, 1);
    return image;
}

TEST(SmoothEnlarge, WhiteShapeWithBlackOutline)
{
    const QImage result = SmoothEnlarge(IndexedWithWhiteBar(true), 2.0f);
    // The 10 x 1 bar plus 2 pixels of margin each side, twice as large.
    ASSERT_EQ(result.size(), QSize(28, 10));
    EXPECT_EQ(qAlpha(result.pixel(0, 0)), 0);
    const QRgb centre = result.pixel(14, 5);
    EXPECT_GT(qAlpha(centre), 200);
    EXPECT_GT(qRed(centre), 150); // white shows in the middle of the bar
    bool dark = false;
    for (int y = 0; y < result.height(); ++y)
        dark = dark || (qAlpha(result.pixel(3, y)) > 100 && qRed(result.pixel(3, y)) < 60);
    EXPECT_TRUE(dark) << "no black outline at the bar's end";
}

TEST(SmoothEnlarge, WithoutWhiteTheShapeIsEmptyAndNonIndexedImagesAreRefused)
{
    const QImage empty = SmoothEnlarge(IndexedWithWhiteBar(false), 2.0f);
    ASSERT_EQ(empty.size(), QSize(8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(qAlpha(empty.pixel(x, y)), 0);
    EXPECT_TRUE(SmoothEnlarge(Filled(4, 4, 0xFFFFFFFF), 2.0f).isNull());
}

class CImageOnlySource final : public CSubBase {
public:
    using CSubBase::CSubBase;
    bool Load(const QString&) override { return false; }
};

TEST(ImageLineRender, ReferenceFrameScalesLaterRenders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString rgbPath = dir.filePath("rgb.png");
    const QString indexedPath = dir.filePath("indexed.png");
    QImage rgb = Filled(90, 30, 0xFF000000);
    rgb.setPixel(45, 15, 0xFFFF0000);
    ASSERT_TRUE(rgb.save(rgbPath));
    ASSERT_TRUE(IndexedWithWhiteBar(true).save(indexedPath));

    test::CRecordingSink sink;
    CImageOnlySource source(sink);
    source.InsertImageLine(rgbPath, {11, 22}, -1);
    source.InsertImageLine(indexedPath, {0, 0}, -1);

    SRenderRequest request;
    request.frameSizeIndex = 3; // 720 x 480: the reference frame
    ASSERT_TRUE(source.Render(0, request));
    EXPECT_EQ(request.bitmap.size(), QSize(90, 30));
    EXPECT_EQ(request.explicitX, 11);
    EXPECT_EQ(request.explicitY, 22);
    EXPECT_EQ(source.ImageReference(), QRect(0, 0, 720, 480));

    request.Reset();
    request.frameSizeIndex = 0; // 1920 x 1080: s = 2.67, limited to 2
    ASSERT_TRUE(source.Render(0, request));
    EXPECT_EQ(request.bitmap.size(), QSize(180, 60)); // nearest neighbour
    ASSERT_TRUE(source.Render(1, request));
    EXPECT_EQ(request.bitmap.size(), QSize(28, 10)); // smooth enlargement of the white bar
    request.sourceBytes[0] = 1;
    ASSERT_TRUE(source.Render(1, request));
    EXPECT_EQ(request.bitmap.size(), QSize(40, 20)); // no smoothing asked: nearest neighbour
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ImageLineRender, MissingFileFailsWithItsMessage)
{
    test::CRecordingSink sink;
    CImageOnlySource source(sink);
    source.InsertImageLine("/no/such/image.png", {0, 0}, -1);
    SRenderRequest request;
    EXPECT_FALSE(source.Render(0, request));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "/no/such/image.png\r\nOpen file error ! ");
}

} // namespace
} // namespace quillary::sources
