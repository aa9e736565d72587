// The fade path of the composer: per slice an Epoch Start that sends the object, then
// palette-only display sets that scale every entry's alpha, a hold step and, at the end of the
// epoch, a clearing step.
#include "build/decoder_timing.h"
#include "build/epoch_context.h"
#include "build/fade_steps.h"

namespace quillary::build {

namespace {

// The reduced palette with every alpha scaled by stepAlpha / 255, as a palette segment's source.
pgs::CErgbPalette ScaledPalette(const SEpochContext& context, uint8_t stepAlpha)
{
    pgs::SColorPalette scaled = context.colorPalette;
    scaled.flags |= pgs::SColorPalette::kHasAlpha;
    for (uint32_t& argb : scaled.entries) {
        const auto alpha = static_cast<uint32_t>((argb >> 24) * (stepAlpha / 255.0));
        argb = (argb & 0x00FFFFFF) | (alpha << 24);
    }
    pgs::CErgbPalette palette;
    palette.id = 0;
    palette.SetFromColorPalette(&scaled, context.transparentIndex, 0.0);
    return palette;
}

// The line image whose fade settings apply to `slice`: the first shown one with fades on.
const SFadeSettings* FadeOfSlice(const SEpochContext& context, const SSlice& slice)
{
    for (int t = 0; t < 2; ++t) {
        if (slice.image[t] < 0)
            continue;
        const SLineImage& image = context.input.tracks[t][size_t(slice.image[t])];
        if (image.fade && image.fade->enabled == 1)
            return image.fade;
    }
    return nullptr;
}

} // namespace

void ComposeFadedEpoch(SEpochContext& context, pgs::CEpochData& epoch)
{
    SComposerInput& input = context.input;

    for (size_t s = 0; s < context.slices.size(); ++s) {
        const SSlice& slice = context.slices[s];
        const int track = slice.image[0] >= 0 ? 0 : 1;
        const SLineImage& image = input.tracks[track][size_t(slice.image[track])];
        const QImage& indexed = context.indexed[track][slice.image[track]];
        const auto objectId = static_cast<uint16_t>(image.objectId);
        const uint8_t windowId = context.windows.id[track];
        const QRect windowRect = context.windows.rect[track].isEmpty()
                                     ? QRect(image.rect.topLeft(), image.rect.topLeft())
                                     : context.windows.rect[track];

        const SFadeTiming timing =
            FadeTimingOf(FadeOfSlice(context, slice), slice.endFrame - slice.startFrame);
        const std::vector<SFadeStep> steps = BuildFadeSteps(
            input.rate, timing, slice.startFrame, slice.endFrame, s + 1 == context.slices.size());

        const pgs::CWds* rememberedWindows = nullptr;
        const pgs::COdsArray* rememberedObjects = nullptr;
        uint8_t paletteVersion = 0;
        for (size_t i = 0; i < steps.size(); ++i) {
            const SFadeStep& step = steps[i];
            pgs::CDsData& ds = epoch.AddDisplaySet();
            ds.compositionState = uint8_t(i == 0 ? pgs::CompositionState::EpochStart
                                                 : pgs::CompositionState::NormalCase);
            ds.pcs = std::make_unique<pgs::CPcs>();
            FillVideo(*ds.pcs, input, context.compositionNumber);

            bool withObject = false;
            bool withWindow = false;
            int x = image.rect.left();
            int y = image.rect.top();
            if (step.noComposition) {
                withWindow = true;
            } else if (step.paletteStep) {
                withObject = true;
                ds.pcs->paletteUpdateFlag = i > 0;
                withWindow = i == 0;
            } else {
                withObject = !step.hidden;
                withWindow = !step.hidden || i == 0;
                if (step.moved) {
                    x = step.x;
                    y = step.y;
                }
            }
            if (withObject) {
                ds.pcs->AddCompositionObject(objectId, windowId, input.forcedOn,
                                             static_cast<uint16_t>(x), static_cast<uint16_t>(y));
            }
            if (withWindow) {
                ds.wds = std::make_unique<pgs::CWds>();
                ds.wds->AddWindow(windowId, windowRect.left(), windowRect.top(),
                                  windowRect.left() + windowRect.width(),
                                  windowRect.top() + windowRect.height());
                rememberedWindows = ds.wds.get();
            }
            if (i == 0) {
                CStageTimer timer(input.statistics ? &input.statistics->codeSeconds : nullptr);
                if (!pgs::CreateObjectSegments(ds, IndexedView(indexed), objectId, 0)) {
                    epoch.pop_back();
                    return;
                }
                rememberedObjects = &ds.objects;
            }
            if (step.paletteStep) {
                pgs::CPds& pds = ds.AddPaletteSegment();
                pds.SetFromPalette(ScaledPalette(context, step.alpha));
                pds.paletteVersion = paletteVersion++;
            } else if (i == 0) {
                ds.AddPaletteSegment().SetFromPalette(context.palette);
            }
            ds.GetEndSegment();
            const pgs::Timestamp90k duration =
                DecodeDuration(ds, rememberedWindows, rememberedObjects);
            StampDisplaySet(ds, step.time, DecodeTimestamp(step.time, duration));
        }
    }
}

} // namespace quillary::build
