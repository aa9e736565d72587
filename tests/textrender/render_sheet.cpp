// Renders a few typical lines with different templates (bold, italic, outline, shadow,
// gradient, hatch, texture, vertical) to PNG files, for checking the renderer by eye:
// textrender_render_sheet OUTPUT_DIR
#include "textrender/text_render.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace quillary::textrender;

// The bitmap over a grey checkerboard, so that transparent and semi-transparent pixels show.
QImage OverCheckerboard(const QImage& image)
{
    QImage out(image.size() + QSize(20, 20), QImage::Format_ARGB32);
    QPainter painter(&out);
    for (int y = 0; y < out.height(); y += 8) {
        for (int x = 0; x < out.width(); x += 8) {
            painter.fillRect(x, y, 8, 8,
                             ((x + y) / 8) % 2 ? QColor(90, 110, 140) : QColor(70, 90, 120));
        }
    }
    painter.drawImage(10, 10, image);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QFontDatabase::addApplicationFont(QString(QUILLARY_TEST_DATA_DIR) + "/fonts/DejaVuSans.ttf");
    QFontDatabase::addApplicationFont(QString(QUILLARY_TEST_DATA_DIR) +
                                      "/fonts/DejaVuSans-Bold.ttf");

    const std::vector<STextRow> twoRows = {
        {{"I told you, we leave ", 700}, {"tonight", 700, true}, {"!", 700}},
        {{"Pack only what you can ", 400}, {"carry", 400, false, true}, {".", 400}},
    };
    struct SSample {
        const char* name;
        std::function<void(CTextTmp&)> setup;
        std::vector<STextRow> rows;
    };
    const std::vector<SSample> samples = {
        {"default", [](CTextTmp&) {}, twoRows},
        {"arial_template", [](CTextTmp& t) { t.fontName = "Arial"; }, twoRows},
        {"italic_outline",
         [](CTextTmp& t) {
             t.outlineThickness = 8;
             t.outlineColor = 0xFF2040C0;
             t.enableShadow = false;
         },
         {{{"Italic with a thick blue outline", 400, true}}}},
        {"shadow",
         [](CTextTmp& t) {
             t.shadowOffset = {6, 6};
             t.shadowThickness = 5;
             t.shadowColor = 0xFFC02020;
             t.textColor = 0xFFFFE060;
         },
         twoRows},
        {"gradient",
         [](CTextTmp& t) {
             t.brushType = EBrushType::kLinearGradient;
             t.textColor = 0xFFFF4040;
             t.textColor2 = 0xFF4040FF;
             t.lgMode = ELgMode::kVertical;
             t.lgRect = {0, 0, 60, 60};
         },
         twoRows},
        {"hatch",
         [](CTextTmp& t) {
             t.brushType = EBrushType::kHatch;
             t.hatchStyle = 4;
             t.textColor = 0xFFFFFFFF;
             t.textColor2 = 0xFF008000;
         },
         twoRows},
        {"texture", [](CTextTmp& t) { t.brushType = EBrushType::kTexture; }, twoRows},
        {"vertical",
         [](CTextTmp& t) { t.fontName = "@DejaVu Sans"; },
         {{{"縦書き", 700}}, {{"ABC", 700}}}},
        {"complex_scripts",
         [](CTextTmp&) {},
         {{{QString::fromUtf8("مرحبا بالعالم"), 400}},
          {{QString::fromUtf8("שלום עולם"), 700}},
          {{QString::fromUtf8("Ünïcödé ﬁ ǅ"), 400}}}},
        {"far_linespace",
         [](CTextTmp& t) { t.lineAlignment = ELineAlignment::kFar; },
         {{{"A long first row of text", 400}}, {{"short", 400}}}},
    };
    const QString textureDir = QDir::temp().filePath("quillary_texture.png");
    QImage texture(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            texture.setPixel(x, y, qRgb(255 - x * 8, 128 + y * 8, (x ^ y) * 16));
        }
    }
    texture.save(textureDir);
    quillary::CSilentMessageSink sink;
    for (const SSample& sample : samples) {
        CTextTmp tmp;
        tmp.fontName = "DejaVu Sans";
        sample.setup(tmp);
        if (tmp.brushType == EBrushType::kTexture) {
            (void)tmp.SetTextureImage(textureDir, sink);
        }
        const QImage image = RenderEntry(sample.rows, tmp, 10);
        const QString path = dir.filePath(QString(sample.name) + ".png");
        if (image.isNull() || !OverCheckerboard(image).save(path)) {
            std::fprintf(stderr, "%s: failed\n", sample.name);
            return 1;
        }
        std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
    }
    return 0;
}
