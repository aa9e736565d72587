// Draws all hatch styles into one labelled PNG, enlarged, for checking them by eye.
#include "textrender/brush.h"
#include "textrender/hatch_patterns.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    using namespace quillary::textrender;
    // Each cell: the name, then 32x32 pixels of the pattern drawn 4 times enlarged, and the
    // same area at its real size beside it.
    constexpr int kColumns = 4;
    constexpr int kCellWidth = 260;
    constexpr int kCellHeight = 150;
    constexpr int kZoom = 4;
    const int rows = (kHatchStyleCount + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kCellWidth, rows * kCellHeight, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int style = 0; style < kHatchStyleCount; ++style) {
        const int x = (style % kColumns) * kCellWidth;
        const int y = (style / kColumns) * kCellHeight;
        painter.setPen(Qt::black);
        painter.drawText(x + 6, y + 16,
                         QString("%1 %2").arg(style).arg(kHatchStyleNames[size_t(style)]));
        QImage swatch(32, 32, QImage::Format_ARGB32);
        QPainter swatchPainter(&swatch);
        swatchPainter.fillRect(swatch.rect(), HatchBrush(style, 0xFF000000, 0xFFFFFFFF));
        swatchPainter.end();
        painter.drawImage(QRect(x + 6, y + 22, 32 * kZoom, 32 * kZoom), swatch);
        painter.drawImage(QPoint(x + 6 + 32 * kZoom + 10, y + 22), swatch);
    }
    painter.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
