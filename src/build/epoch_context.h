// What the still and fade paths of the composer share while they build one epoch.
#pragma once

#include "build/composer.h"
#include "build/slicing.h"
#include "pgs/ergb_palette.h"
#include "pgs/object_coder.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace quillary::build {

// One window per track with lines: its id and rectangle (empty for a track without lines).
struct SEpochWindows {
    QRect rect[2];
    uint8_t id[2] = {0, 0};
    int count = 0;
};

struct SEpochContext {
    SComposerInput& input;
    uint16_t& compositionNumber;
    const SEpochWindows& windows;
    const std::vector<SSlice>& slices;
    const pgs::SColorPalette& colorPalette; // the reduced palette, as the reduction gave it
    uint8_t transparentIndex;
    const pgs::CErgbPalette& palette; // the same, ready for palette segments
    const QImage* indexed[2];         // per track, the indexed bitmap of each line image
};

// Still display sets, one per slice, and the clearing display set.
void ComposeStillEpoch(SEpochContext& context, pgs::CEpochData& epoch);
// Palette-animated display sets, slice by slice.
void ComposeFadedEpoch(SEpochContext& context, pgs::CEpochData& epoch);

// The composition's number (taken from the counter), video size and frame-rate code.
void FillVideo(pgs::CPcs& pcs, const SComposerInput& input, uint16_t& compositionNumber);
// A window definition with every track's window.
void AddWindowDefinition(pgs::CDsData& ds, const SEpochWindows& windows);
pgs::SIndexedBitmapView IndexedView(const QImage& indexed);

} // namespace quillary::build
