// QuantizeBitmap, QuantizeBitmaps and ToIndexedBitmap: choosing the path for a source format and
// assembling the palette.
#include "imaging/quantize.h"

#include "imaging/background_pixel.h"
#include "imaging/bitmap.h"
#include "imaging/exact_palette.h"
#include "imaging/flatten.h"
#include "imaging/histogram.h"
#include "imaging/median_cut.h"
#include "imaging/remap.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <vector>

namespace quillary::imaging {

namespace {

constexpr int kDesiredColours = 255;

uint32_t Argb(uint8_t alpha, const SBgr& c)
{
    return (uint32_t{alpha} << 24) | (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue;
}

struct SReduction {
    pgs::SColorPalette palette;
    QImage indexed;
    uint8_t transparentIndex = 0;
};

std::optional<SReduction> FromIndexed(const QImage& source, QPoint background)
{
    SReduction r;
    r.palette = ColorPaletteOf(source);
    r.indexed = source.format() == QImage::Format_Indexed8
                    ? source
                    : source.convertToFormat(QImage::Format_Indexed8);
    if (r.indexed.isNull())
        return std::nullopt;
    r.transparentIndex = static_cast<uint8_t>(r.indexed.pixelIndex(background));
    return r;
}

// Sets each entry's alpha to that of the first pixel in raster order that received it.
void TakeAlphasFromFirstPixels(const QImage& indexed, const QImage& argb, size_t colourCount,
                               std::vector<uint32_t>& entries)
{
    std::vector<bool> seen(colourCount, false);
    size_t remaining = colourCount;
    const int width = indexed.width();
    for (int y = 0; y < indexed.height() && remaining > 0; ++y) {
        const uint8_t* index = indexed.constScanLine(y);
        const auto* pixel = reinterpret_cast<const uint32_t*>(argb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const uint8_t i = index[x];
            if (i >= colourCount || seen[i])
                continue;
            seen[i] = true;
            --remaining;
            entries[i] = (entries[i] & 0x00FFFFFFu) | (pixel[x] & 0xFF000000u);
        }
    }
}

// The quantizing path on a Format_BGR888 image; `alphaSource` is the Format_ARGB32 source it
// was flattened from, or null.
std::optional<SReduction> Quantize(const QImage& rgb24, const QImage* alphaSource,
                                   QPoint background)
{
    CHistogram histogram;
    histogram.Count(rgb24);
    const std::vector<SBgr> colours = ColourMap(histogram, MedianCut(histogram, kDesiredColours));

    SReduction r;
    r.indexed = QImage(rgb24.size(), QImage::Format_Indexed8);
    if (r.indexed.isNull())
        return std::nullopt;
    RemapFloydSteinberg(rgb24, alphaSource, colours, histogram, r.indexed);

    auto& entries = r.palette.entries;
    r.palette.flags = pgs::SColorPalette::kHasAlpha;
    if (alphaSource != nullptr) {
        // Entries no pixel received stay transparent.
        for (const SBgr& c : colours)
            entries.push_back(Argb(0, c));
        TakeAlphasFromFirstPixels(r.indexed, *alphaSource, colours.size(), entries);
        r.transparentIndex = static_cast<uint8_t>(colours.size());
        entries.push_back(0);
    } else {
        for (const SBgr& c : colours)
            entries.push_back(Argb(255, c));
        r.transparentIndex = static_cast<uint8_t>(r.indexed.pixelIndex(background));
        entries[r.transparentIndex] &= 0x00FFFFFFu;
    }
    return r;
}

// Any other format, drawn onto a black 24-bit canvas of its size.
QImage DrawOntoBlack(const QImage& source)
{
    QImage canvas(source.size(), QImage::Format_RGB32);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::black);
    if (!DrawImage(canvas, canvas.rect(), source, EInterpolation::kNearest))
        return {};
    return canvas.convertToFormat(QImage::Format_BGR888);
}

std::optional<SReduction> Reduce(const QImage& source)
{
    if (source.isNull() || source.width() <= 0 || source.height() <= 0)
        return std::nullopt;
    const QPoint background = BackgroundPixel(source);
    switch (PixelFormatOf(source)) {
    case EPixelFormat::kIndexed1:
    case EPixelFormat::kIndexed8:
        return FromIndexed(source, background);
    case EPixelFormat::kArgb32: {
        if (const auto exact = CExactColours::Collect(source)) {
            SReduction r;
            r.palette = exact->Palette();
            r.indexed = exact->Map(source);
            if (r.indexed.isNull())
                return std::nullopt;
            r.transparentIndex = exact->IndexOf(PixelArgb(source, background.x(), background.y()));
            return r;
        }
        const QImage rgb24 = FlattenToRgb24(source);
        if (rgb24.isNull())
            return std::nullopt;
        return Quantize(rgb24, &source, background);
    }
    case EPixelFormat::kRgb24:
        return Quantize(source, nullptr, background);
    case EPixelFormat::kOther:
        break;
    }
    const QImage rgb24 = DrawOntoBlack(source);
    if (rgb24.isNull())
        return std::nullopt;
    return Quantize(rgb24, nullptr, background);
}

// Copies `source` into `canvas` at `at`, both Format_ARGB32, row by row.
void CopyArgb(QImage& canvas, const QImage& source, QPoint at)
{
    const size_t rowBytes = size_t(source.width()) * 4;
    for (int y = 0; y < source.height(); ++y)
        std::memcpy(canvas.scanLine(at.y() + y) + size_t(at.x()) * 4, source.constScanLine(y),
                    rowBytes);
}

} // namespace

std::optional<pgs::SColorPalette> QuantizeBitmap(const QImage& source, QImage* indexedOut,
                                                 uint8_t* transparentIndexOut)
{
    std::optional<SReduction> r = Reduce(source);
    if (!r)
        return std::nullopt;
    if (transparentIndexOut != nullptr)
        *transparentIndexOut = r->transparentIndex;
    if (indexedOut != nullptr) {
        SetColorPalette(r->indexed, r->palette);
        *indexedOut = std::move(r->indexed);
    }
    return std::move(r->palette);
}

std::optional<pgs::SColorPalette> QuantizeBitmaps(std::span<const QImage* const> sources,
                                                  std::span<QImage> indexedOut,
                                                  uint8_t* transparentIndexOut)
{
    if (sources.empty() || indexedOut.size() != sources.size())
        return std::nullopt;
    if (sources.size() == 1) {
        if (sources[0] == nullptr)
            return std::nullopt;
        return QuantizeBitmap(*sources[0], &indexedOut[0], transparentIndexOut);
    }

    // 1. Lay the present sources side by side.
    const QImage* firstPresent = nullptr;
    int canvasWidth = 0;
    int canvasHeight = 0;
    bool anyArgb = false;
    for (const QImage* source : sources) {
        if (source == nullptr)
            continue;
        if (firstPresent == nullptr)
            firstPresent = source;
        canvasWidth += source->width();
        canvasHeight = std::max(canvasHeight, source->height());
        anyArgb = anyArgb || source->format() == QImage::Format_ARGB32;
    }
    if (firstPresent == nullptr)
        return std::nullopt;
    std::vector<QRect> rects(sources.size());
    int x = 0;
    for (size_t i = 0; i < sources.size(); ++i) {
        if (sources[i] == nullptr)
            continue;
        const QImage& s = *sources[i];
        rects[i] = QRect(x, (canvasHeight - s.height()) / 2, s.width(), s.height());
        x += s.width();
    }

    // 2. Draw them onto one canvas at their own size. ARGB pixels are copied as they are, so the
    //    canvas holds exactly the sources' values.
    QImage canvas;
    if (anyArgb) {
        canvas = CreateBitmap(canvasWidth, canvasHeight, EPixelFormat::kArgb32);
        if (canvas.isNull())
            return std::nullopt;
        canvas.fill(0);
        for (size_t i = 0; i < sources.size(); ++i) {
            if (sources[i] == nullptr || rects[i].isEmpty())
                continue;
            const QImage argb = sources[i]->format() == QImage::Format_ARGB32
                                    ? *sources[i]
                                    : sources[i]->convertToFormat(QImage::Format_ARGB32);
            if (argb.isNull())
                return std::nullopt;
            CopyArgb(canvas, argb, rects[i].topLeft());
        }
    } else {
        // Drawn on an RGB32 canvas (which QPainter handles for any source) and then narrowed to
        // 24 bits, which changes no value.
        QImage drawing(canvasWidth, canvasHeight, QImage::Format_RGB32);
        if (drawing.isNull())
            return std::nullopt;
        // PixelArgb gives 0 for a source it cannot read: opaque black then.
        drawing.fill(PixelArgb(*firstPresent, 0, 0) | 0xFF000000u);
        for (size_t i = 0; i < sources.size(); ++i) {
            if (sources[i] == nullptr || rects[i].isEmpty())
                continue;
            if (!DrawImage(drawing, rects[i], *sources[i], EInterpolation::kNearest))
                return std::nullopt;
        }
        canvas = drawing.convertToFormat(QImage::Format_BGR888);
        if (canvas.isNull())
            return std::nullopt;
    }

    // 3. Reduce the canvas and cut the sources out again.
    QImage indexedCanvas;
    std::optional<pgs::SColorPalette> palette =
        QuantizeBitmap(canvas, &indexedCanvas, transparentIndexOut);
    if (!palette)
        return std::nullopt;
    for (size_t i = 0; i < sources.size(); ++i) {
        if (sources[i] == nullptr || !indexedCanvas.rect().contains(rects[i]))
            continue;
        indexedOut[i] = indexedCanvas.copy(rects[i]);
        SetColorPalette(indexedOut[i], *palette);
    }
    return palette;
}

QImage ToIndexedBitmap(const QImage& source)
{
    if (source.format() == QImage::Format_Indexed8)
        return {};
    QImage indexed;
    if (!QuantizeBitmap(source, &indexed, nullptr))
        return {};
    return indexed;
}

} // namespace quillary::imaging
