// The video frame sizes and frame rates a build or a preview can choose, by their stored rows.
#pragma once

#include <array>

namespace quillary {

struct SFrameSize {
    int width;
    int height;
};

// Rows 0-4: "1920 x 1080", "1440 x 1080", "1280 x 720", "720 x 480", "720 x 576".
inline constexpr std::array<SFrameSize, 5> kFrameSizes = {
    {{1920, 1080}, {1440, 1080}, {1280, 720}, {720, 480}, {720, 576}}};

// Rows 0-5: "23.976", "24", "25", "29.97", "50", "59.94", as exact rates.
inline constexpr std::array<double, 6> kFrameRates = {24000.0 / 1001, 24.0, 25.0,
                                                      30000.0 / 1001, 50.0, 60000.0 / 1001};

// The row's frame size, or row 0's for a row out of range.
constexpr SFrameSize FrameSizeOfRow(int row)
{
    return (row >= 0 && row < int(kFrameSizes.size())) ? kFrameSizes[size_t(row)] : kFrameSizes[0];
}

// The row's frames per second, or row 0's for a row out of range.
constexpr double FrameRateOfRow(int row)
{
    return (row >= 0 && row < int(kFrameRates.size())) ? kFrameRates[size_t(row)] : kFrameRates[0];
}

} // namespace quillary
