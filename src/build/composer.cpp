// The composer. Steps of an epoch:
//   1. check the line images;
//   2. slice the timeline;
//   3. number the objects in order of first appearance;
//   4. one window per track with lines, the bounding box of its images;
//   5. one colour reduction for all images;
//   6. still display sets (or the fade path), a clearing display set;
//   7. decoder-model time stamps, then write.
#include "build/composer.h"

#include "build/decoder_timing.h"
#include "build/epoch_context.h"
#include "build/frame_clock.h"
#include "build/slicing.h"
#include "imaging/quantize.h"
#include "pgs/ergb_palette.h"
#include "pgs/object_coder.h"

#include <optional>

namespace quillary::build {

namespace {

bool IsValid(const SLineImage& image)
{
    return image.start >= 0 && image.end >= 0 && (image.end == 0 || image.end >= image.start) &&
           !image.bitmap.isNull() && !image.rect.isEmpty();
}

std::vector<STimedImage> TimesOf(const std::vector<SLineImage>& images)
{
    std::vector<STimedImage> times;
    times.reserve(images.size());
    for (const SLineImage& image : images)
        times.push_back({static_cast<uint32_t>(image.start), static_cast<uint32_t>(image.end)});
    return times;
}

} // namespace

void FillVideo(pgs::CPcs& pcs, const SComposerInput& input, uint16_t& compositionNumber)
{
    pcs.compositionNumber = compositionNumber++;
    pcs.videoDescriptor.width = static_cast<uint16_t>(input.frameWidth);
    pcs.videoDescriptor.height = static_cast<uint16_t>(input.frameHeight);
    pcs.videoDescriptor.frameRate = static_cast<uint8_t>(input.frameRateCode);
    pcs.paletteUpdateFlag = false;
    pcs.paletteIdRef = 0;
}

pgs::SIndexedBitmapView IndexedView(const QImage& indexed)
{
    return {indexed.width(), indexed.height(), static_cast<ptrdiff_t>(indexed.bytesPerLine()),
            indexed.constBits()};
}

ComposeResult ComposeEpoch(SComposerInput& input, uint16_t& compositionNumber,
                           pgs::IEpochSink& output)
{
    auto& tracks = input.tracks;
    // 1. Every line image must be usable.
    for (const auto& track : tracks) {
        for (const SLineImage& image : track) {
            if (!IsValid(image))
                return ComposeResult::Skipped;
        }
    }
    // 2. Slices.
    const std::vector<SSlice> slices =
        SliceTimeline(TimesOf(tracks[0]), TimesOf(tracks[1]), input.rate);
    if (slices.empty())
        return ComposeResult::Skipped;
    // 3. Object ids in order of first appearance, track 0 first within a slice.
    int nextId = 0;
    for (const SSlice& slice : slices) {
        for (int t = 0; t < 2; ++t) {
            if (slice.image[t] >= 0 && tracks[t][size_t(slice.image[t])].objectId == -1)
                tracks[t][size_t(slice.image[t])].objectId = nextId++;
        }
    }
    // 4. Windows.
    SEpochWindows windows;
    uint8_t nextWindowId = 0;
    for (int t = 0; t < 2; ++t) {
        QRect box;
        for (const SLineImage& image : tracks[t])
            box = box.united(image.rect);
        windows.rect[t] = box;
        if (!box.isEmpty())
            windows.id[t] = nextWindowId++;
    }
    windows.count = nextWindowId;
    // 5. One palette for the epoch.
    std::vector<const QImage*> sources;
    for (const auto& track : tracks) {
        for (const SLineImage& image : track)
            sources.push_back(&image.bitmap);
    }
    std::vector<QImage> indexed(sources.size());
    uint8_t transparentIndex = 0;
    std::optional<pgs::SColorPalette> colorPalette;
    {
        CStageTimer timer(input.statistics ? &input.statistics->reduceSeconds : nullptr);
        colorPalette = imaging::QuantizeBitmaps(sources, indexed, &transparentIndex);
    }
    if (!colorPalette)
        return ComposeResult::Skipped;
    const QImage* indexedOf[2] = {indexed.data(), indexed.data() + tracks[0].size()};

    pgs::CErgbPalette palette;
    palette.id = 0;
    palette.SetFromColorPalette(&*colorPalette, transparentIndex, 0.0);
    SEpochContext context{input,         compositionNumber, windows, slices,
                          *colorPalette, transparentIndex,  palette, {indexedOf[0], indexedOf[1]}};
    pgs::CEpochData epoch;

    // 6. Fades need the palette to themselves: at most one window, and a shown line that fades.
    bool fades = false;
    for (const SSlice& slice : slices) {
        for (int t = 0; t < 2; ++t) {
            const SLineImage* image =
                slice.image[t] >= 0 ? &tracks[t][size_t(slice.image[t])] : nullptr;
            fades = fades || (image && image->fade && image->fade->enabled == 1);
        }
    }
    if (windows.count <= 1 && fades)
        ComposeFadedEpoch(context, epoch);
    else
        ComposeStillEpoch(context, epoch);

    // 7. Write.
    pgs::WriteStatus status;
    {
        CStageTimer timer(input.statistics ? &input.statistics->writeSeconds : nullptr);
        status = output.WriteEpoch(epoch);
    }
    if (input.statistics)
        ++input.statistics->epochs;
    return status == pgs::WriteStatus::WriteFailed ? ComposeResult::WriteFailed
                                                   : ComposeResult::Written;
}

void AddWindowDefinition(pgs::CDsData& ds, const SEpochWindows& windows)
{
    ds.wds = std::make_unique<pgs::CWds>();
    for (int t = 0; t < 2; ++t) {
        if (windows.rect[t].isEmpty())
            continue;
        const QRect& r = windows.rect[t];
        ds.wds->AddWindow(windows.id[t], r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
}

void ComposeStillEpoch(SEpochContext& context, pgs::CEpochData& epoch)
{
    SComposerInput& input = context.input;
    for (size_t i = 0; i < context.slices.size(); ++i) {
        const SSlice& slice = context.slices[i];
        pgs::CDsData& ds = epoch.AddDisplaySet();
        // 1. State.
        using pgs::CompositionState;
        ds.compositionState =
            uint8_t(i == 0                       ? CompositionState::EpochStart
                    : context.windows.count == 2 ? CompositionState::NormalCase
                                                 : CompositionState::AcquisitionPoint);
        // 2. Windows.
        AddWindowDefinition(ds, context.windows);
        // 3. Composition.
        ds.pcs = std::make_unique<pgs::CPcs>();
        FillVideo(*ds.pcs, input, context.compositionNumber);
        for (int t = 0; t < 2; ++t) {
            if (slice.image[t] < 0)
                continue;
            const SLineImage& image = input.tracks[t][size_t(slice.image[t])];
            ds.pcs->AddCompositionObject(
                static_cast<uint16_t>(image.objectId), context.windows.id[t], input.forcedOn,
                static_cast<uint16_t>(image.rect.left()), static_cast<uint16_t>(image.rect.top()));
        }
        // 4. Objects, sent again with a new version each time they are shown.
        bool objectsMade = true;
        for (int t = 0; t < 2 && objectsMade; ++t) {
            if (slice.image[t] < 0)
                continue;
            SLineImage& image = input.tracks[t][size_t(slice.image[t])];
            const QImage& indexed = context.indexed[t][slice.image[t]];
            CStageTimer timer(input.statistics ? &input.statistics->codeSeconds : nullptr);
            objectsMade = pgs::CreateObjectSegments(ds, IndexedView(indexed),
                                                    static_cast<uint16_t>(image.objectId),
                                                    image.objectVersion);
            ++image.objectVersion;
        }
        if (!objectsMade)
            return; // the epoch ends here, without a clearing display set
        // 5-6. Palette and end.
        ds.AddPaletteSegment().SetFromPalette(context.palette);
        ds.GetEndSegment();
        // 7. Times.
        const auto pts = static_cast<uint32_t>(TicksOfFrame(slice.startFrame, input.rate));
        StampDisplaySet(ds, pts, DecodeTimestamp(pts, DecodeDuration(ds)));
    }

    // The clearing display set.
    pgs::CDsData& clear = epoch.AddDisplaySet();
    clear.compositionState = uint8_t(pgs::CompositionState::NormalCase);
    clear.pcs = std::make_unique<pgs::CPcs>();
    FillVideo(*clear.pcs, input, context.compositionNumber);
    AddWindowDefinition(clear, context.windows);
    clear.GetEndSegment();
    const auto pts =
        static_cast<uint32_t>(TicksOfFrame(context.slices.back().endFrame, input.rate));
    StampDisplaySet(clear, pts, DecodeTimestamp(pts, DecodeDuration(clear)));
}

} // namespace quillary::build
