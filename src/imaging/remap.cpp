// RemapFloydSteinberg.
#include "imaging/remap.h"

#include "imaging/inverse_colormap.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quillary::imaging {

namespace {

constexpr int kMaxError = 255;
constexpr uint32_t kTransparentAlphaBelow = 5;

using LimitTable = std::array<int, 2 * kMaxError + 1>; // [e + 255]

const LimitTable& Limits()
{
    static const LimitTable table = [] {
        LimitTable t{};
        for (int e = 0; e <= kMaxError; ++e) {
            const int limited = e < 16 ? e : (e < 48 ? 16 + (e - 16) / 2 : 32);
            t[size_t(kMaxError + e)] = limited;
            t[size_t(kMaxError - e)] = -limited;
        }
        return t;
    }();
    return table;
}

} // namespace

int LimitError(int error)
{
    return Limits()[size_t(kMaxError + std::clamp(error, -kMaxError, kMaxError))];
}

void RemapFloydSteinberg(const QImage& rgb24, const QImage* alphaSource,
                         const std::vector<SBgr>& colours, CHistogram& cache, QImage& indexedOut)
{
    CInverseColormap inverse(cache, colours);
    const int* limit = Limits().data() + kMaxError;
    const int width = rgb24.width();
    const auto transparentIndex = static_cast<uint8_t>(colours.size());

    // One slot of three channels per column (column x in slot x + 1) plus one on either side.
    std::vector<int16_t> errors(size_t(width + 2) * 3, 0);

    for (int y = 0; y < rgb24.height(); ++y) {
        const bool forward = (y % 2) == 0;
        const int dir = forward ? 1 : -1;
        const uint8_t* in = rgb24.constScanLine(y);
        const auto* argb = alphaSource != nullptr
                               ? reinterpret_cast<const uint32_t*>(alphaSource->constScanLine(y))
                               : nullptr;
        uint8_t* out = indexedOut.scanLine(y);

        int run0 = 0, run1 = 0, run2 = 0;                   // 7·e of the pixel before
        int below0 = 0, below1 = 0, below2 = 0;             // e of the pixel before
        int belowPrev0 = 0, belowPrev1 = 0, belowPrev2 = 0; // pending sum for the slot behind
        int x = forward ? 0 : width - 1;
        for (int n = 0; n < width; ++n, x += dir) {
            if (argb != nullptr && (argb[x] >> 24) < kTransparentAlphaBelow) {
                out[x] = transparentIndex;
                continue;
            }
            // Column x owns slot x + 1; the column visited before owns slot x + 1 - dir (at the
            // row's start, the extra slot on that side).
            const int16_t* own = errors.data() + 3 * (x + 1);
            int16_t* behind = errors.data() + 3 * (x + 1 - dir);
            const uint8_t* pixel = in + 3 * x;
            // >> of a negative value is an arithmetic shift (defined since C++20).
            int s0 = limit[(run0 + own[0] + 8) >> 4] + pixel[0];
            int s1 = limit[(run1 + own[1] + 8) >> 4] + pixel[1];
            int s2 = limit[(run2 + own[2] + 8) >> 4] + pixel[2];
            s0 = std::clamp(s0, 0, 255);
            s1 = std::clamp(s1, 0, 255);
            s2 = std::clamp(s2, 0, 255);

            const uint8_t index = inverse.Lookup(s0, s1, s2);
            out[x] = index;
            const SBgr& c = colours[index];
            const int e0 = s0 - c.blue;
            const int e1 = s1 - c.green;
            const int e2 = s2 - c.red;

            behind[0] = static_cast<int16_t>(belowPrev0 + 3 * e0);
            behind[1] = static_cast<int16_t>(belowPrev1 + 3 * e1);
            behind[2] = static_cast<int16_t>(belowPrev2 + 3 * e2);
            belowPrev0 = below0 + 5 * e0;
            belowPrev1 = below1 + 5 * e1;
            belowPrev2 = below2 + 5 * e2;
            below0 = e0;
            below1 = e1;
            below2 = e2;
            run0 = 7 * e0;
            run1 = 7 * e1;
            run2 = 7 * e2;
        }
        // The slot of the last visited column takes what is still pending for it.
        int16_t* last = errors.data() + 3 * ((forward ? width - 1 : 0) + 1);
        last[0] = static_cast<int16_t>(belowPrev0);
        last[1] = static_cast<int16_t>(belowPrev1);
        last[2] = static_cast<int16_t>(belowPrev2);
    }
}

} // namespace quillary::imaging
