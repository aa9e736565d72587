// ComposeEpoch: one epoch's placed line images become display sets, written to the stream.
#pragma once

#include "build/build_statistics.h"
#include "build/line_image.h"
#include "pgs/stream_file.h"

#include <cstdint>
#include <vector>

namespace quillary::build {

struct SComposerInput {
    std::vector<SLineImage> tracks[2]; // each in time order
    int frameWidth = 0;
    int frameHeight = 0;
    int frameRateCode = 0;                  // four-bit code of the composition segment
    double rate = 0;                        // the code's decimal rate
    bool forcedOn = false;                  // forced-on flag of every composition object
    SBuildStatistics* statistics = nullptr; // where the stages' times go, when given
};

enum class ComposeResult {
    Written,     // the epoch (or the part that could be composed) was written
    Skipped,     // nothing of it could be composed: invalid line image, no slice, no palette
    WriteFailed, // the output did not take the bytes
};

// Slices the epoch, gives each track with lines one window, reduces all images to one palette,
// builds still display sets (or palette-animated ones when the epoch has at most one window and
// a shown line fades) ending with a clearing display set, stamps them with decoder-model times
// and writes them. `compositionNumber` is the build's running counter.
[[nodiscard]] ComposeResult ComposeEpoch(SComposerInput& input, uint16_t& compositionNumber,
                                         pgs::IEpochSink& output);

} // namespace quillary::build
