// The fade step builder.
#include "build/fade_steps.h"

#include "build/frame_clock.h"

#include <algorithm>

namespace quillary::build {

SFadeTiming FadeTimingOf(const SFadeSettings* settings, int32_t length)
{
    SFadeTiming timing{0, length, length};
    if (settings == nullptr || settings->enabled != 1)
        return timing;
    const double in = std::clamp(settings->fadeInPercent, 0, 100);
    const double out = std::clamp(settings->fadeOutPercent, 0, 100);
    timing.fadeInEnd = static_cast<int32_t>(in / 100.0 * length + 0.5);
    timing.fadeOutStart = static_cast<int32_t>((1.0 - out / 100.0) * length + 0.5);
    return timing;
}

std::vector<SFadeStep> BuildFadeSteps(double rate, const SFadeTiming& timing, int32_t startFrame,
                                      int32_t endFrame, bool lastSlice)
{
    auto tick = [&](int64_t offset) {
        return static_cast<uint32_t>(TicksOfFrame(int64_t(startFrame) + offset, rate));
    };
    auto palette = [&](int64_t offset, double alpha) {
        SFadeStep step;
        step.time = tick(offset);
        step.paletteStep = true;
        step.alpha = static_cast<uint8_t>(alpha);
        return step;
    };
    std::vector<SFadeStep> steps;
    const int32_t fi = std::max(timing.fadeInEnd, 0);
    int32_t fo = timing.fadeOutStart;
    const int32_t length = timing.length;

    // 1. Fade-in: 0 up to 255 in steps of 2 frames.
    int32_t lastFadeIn = 0;
    if (fi == 0) {
        steps.push_back(palette(0, 255));
    } else {
        // A step at the slice's very end (a fade-in of the whole slice) would leave no room
        // for the clearing step: the fade-in stops before it.
        for (int32_t t = 0; t <= fi && (t < length || t == 0); t += 2) {
            steps.push_back(palette(t, double(t) / fi * 255.0));
            lastFadeIn = t;
        }
    }
    // 2. Hold: compose the object again, unless the fade-out begins at once or the slice
    //    ends there (the clearing step takes that time).
    const int32_t hold = lastFadeIn + 2;
    if (fo < hold || hold >= length) {
        fo = hold;
    } else {
        SFadeStep step;
        step.time = tick(hold);
        steps.push_back(step);
    }
    // 3. Fade-out: from 255 down, never reaching 0.
    int32_t lastStep = lastFadeIn;
    for (int32_t t = fo; t < length; t += 2) {
        steps.push_back(palette(t, (1.0 - double(t - fo) / double(length - fo)) * 255.0));
        lastStep = t;
    }
    // 4. Clear at the end of the epoch's last slice.
    if (lastSlice && int64_t(endFrame) >= int64_t(startFrame) + lastStep + 1) {
        SFadeStep step;
        step.time = static_cast<uint32_t>(TicksOfFrame(endFrame, rate));
        step.noComposition = true;
        steps.push_back(step);
    }
    return steps;
}

} // namespace quillary::build
