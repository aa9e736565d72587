// Frame-rate code table.
#include "pgs/frame_rate.h"

#include <cmath>

namespace quillary::pgs {

namespace {
struct SRateRow {
    double rate; // 0 = reserved
    const char* name;
};
constexpr SRateRow kRates[8] = {
    {0, "Reserved"},  {23.976, "23.976"}, {24, "24"}, {25, "25"},
    {29.97, "29.97"}, {0, "Reserved"},    {50, "50"}, {59.94, "59.94"},
};
} // namespace

double FrameRateOfCode(int code)
{
    return (code >= 0 && code < 8) ? kRates[code].rate : 0.0;
}

const char* FrameRateName(int code)
{
    return (code >= 0 && code < 8) ? kRates[code].name : "Reserved";
}

int FrameRateCode(double framesPerSecond)
{
    for (int code = 0; code < 8; ++code) {
        if (kRates[code].rate != 0 && std::fabs(framesPerSecond - kRates[code].rate) < 0.01)
            return code;
    }
    return -1;
}

} // namespace quillary::pgs
