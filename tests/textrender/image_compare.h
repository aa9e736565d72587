// Comparing rendered bitmaps with a tolerance for anti-aliasing, and golden PNG files.
#pragma once

#include "test_support.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace quillary::textrender {

// Differences of premultiplied channels over all pixels of two images of one size.
struct SImageDiff {
    double mean = 0;       // mean absolute difference per channel, 0-255
    int max = 0;           // largest difference of a channel
    double largeShare = 0; // share of pixels with a channel more than 64 apart
};

inline SImageDiff CompareImages(const QImage& a, const QImage& b)
{
    SImageDiff diff;
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    double sum = 0;
    int64_t large = 0;
    for (int y = 0; y < pa.height(); ++y) {
        const auto* ra = reinterpret_cast<const uint32_t*>(pa.constScanLine(y));
        const auto* rb = reinterpret_cast<const uint32_t*>(pb.constScanLine(y));
        for (int x = 0; x < pa.width(); ++x) {
            int pixelMax = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int d = std::abs(int((ra[x] >> shift) & 0xFF) - int((rb[x] >> shift) & 0xFF));
                sum += d;
                pixelMax = std::max(pixelMax, d);
            }
            diff.max = std::max(diff.max, pixelMax);
            large += pixelMax > 64 ? 1 : 0;
        }
    }
    const double pixels = double(pa.width()) * pa.height();
    if (pixels > 0) {
        diff.mean = sum / (pixels * 4);
        diff.largeShare = double(large) / pixels;
    }
    return diff;
}

// Writes `a` and `b` over a grey background and their largest channel difference (times 4, in
// red) below each other, enlarged twice, for looking at what differs.
inline void SaveComparisonSheet(const QImage& a, const QImage& b, const QString& path)
{
    QImage sheet(a.width(), a.height() * 3, QImage::Format_ARGB32);
    sheet.fill(QColor(90, 110, 140));
    QPainter painter(&sheet);
    painter.drawImage(0, 0, a);
    painter.drawImage(0, a.height(), b);
    painter.end();
    for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            const QRgb pa = a.pixel(x, y);
            const QRgb pb = b.pixel(x, y);
            const int d =
                std::max({std::abs(qAlpha(pa) - qAlpha(pb)), std::abs(qRed(pa) - qRed(pb)),
                          std::abs(qGreen(pa) - qGreen(pb)), std::abs(qBlue(pa) - qBlue(pb))});
            sheet.setPixel(x, y + 2 * a.height(), qRgb(std::min(255, d * 4), 0, 0));
        }
    }
    sheet.scaled(sheet.size() * 2).save(path);
}

// Compares `image` with tests/data/textrender/<name>.png: same size, mean difference at most
// 1.5 and at most 1 % of pixels more than 64 apart. With QUILLARY_UPDATE_GOLDEN set, writes the
// file instead (regenerate deliberately and look at the pictures).
inline void ExpectMatchesGolden(const QImage& image, const char* name)
{
    const QString path = DataFile((QString(name) + ".png").toUtf8().constData());
    if (!qEnvironmentVariableIsEmpty("QUILLARY_UPDATE_GOLDEN")) {
        ASSERT_TRUE(image.save(path)) << path.toStdString();
        return;
    }
    const QImage golden(path);
    ASSERT_FALSE(golden.isNull()) << "missing golden " << path.toStdString();
    ASSERT_EQ(golden.size(), image.size()) << name;
    const SImageDiff diff = CompareImages(image, golden);
    EXPECT_LE(diff.mean, 1.5) << name;
    EXPECT_LE(diff.largeShare, 0.01) << name;
}

} // namespace quillary::textrender
