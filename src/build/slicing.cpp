// The two-track sweep that slices an epoch's timeline.
#include "build/slicing.h"

#include "build/frame_clock.h"

#include <algorithm>

namespace quillary::build {

namespace {

struct SCursor {
    std::span<const STimedImage> images;
    size_t index = 0;
    uint32_t c = 0; // time reached on the current image

    bool Left() const { return index < images.size(); }
    uint32_t End() const { return images[index].end; }
    void Advance()
    {
        ++index;
        if (Left())
            c = images[index].start;
    }
};

class CSlicer {
public:
    explicit CSlicer(double rate) : m_rate(rate) {}

    int64_t Frame(uint32_t ms) const { return FrameOfMs(ms, m_rate); }

    // Appends [t1, t2] (in either order) showing `image0` and `image1`; unless `always`, only
    // when it is longer than 4 frames.
    void Emit(uint32_t t1, uint32_t t2, int image0, int image1, bool always = false)
    {
        const int64_t f1 = Frame(t1);
        const int64_t f2 = Frame(t2);
        SSlice slice;
        slice.image[0] = image0;
        slice.image[1] = image1;
        slice.startFrame = static_cast<int32_t>(std::min(f1, f2));
        slice.endFrame = static_cast<int32_t>(std::max(f1, f2));
        if (always || slice.startFrame + 4 < slice.endFrame)
            m_slices.push_back(slice);
    }

    std::vector<SSlice> Take() { return std::move(m_slices); }

private:
    double m_rate;
    std::vector<SSlice> m_slices;
};

} // namespace

std::vector<SSlice> SliceTimeline(std::span<const STimedImage> track0,
                                  std::span<const STimedImage> track1, double rate)
{
    SCursor cursors[2] = {{track0}, {track1}};
    for (SCursor& cursor : cursors) {
        if (cursor.Left())
            cursor.c = cursor.images[0].start;
    }
    CSlicer slicer(rate);
    // The image shown by `track` in a slice, and -1 for the other track.
    auto show = [&](int track, int image, int other) {
        return track == 0 ? std::pair{image, other} : std::pair{other, image};
    };

    while (cursors[0].Left() || cursors[1].Left()) {
        if (!cursors[0].Left() || !cursors[1].Left()) {
            const int t = cursors[0].Left() ? 0 : 1;
            SCursor& only = cursors[t];
            const auto [i0, i1] = show(t, int(only.index), -1);
            slicer.Emit(only.c, only.End(), i0, i1);
            only.Advance();
            continue;
        }
        // A: the track with the later cursor (track 1 on a tie); B: the other.
        const int a = cursors[0].c > cursors[1].c ? 0 : 1;
        const int b = 1 - a;
        SCursor& A = cursors[a];
        SCursor& B = cursors[b];
        const int imageA = int(A.index);
        const int imageB = int(B.index);
        const auto [bAlone0, bAlone1] = show(b, imageB, -1);
        const auto [both0, both1] = show(b, imageB, imageA);
        const uint32_t eA = A.End();
        const uint32_t eB = B.End();

        if (A.c >= eB) {
            slicer.Emit(B.c, eB, bAlone0, bAlone1);
            B.Advance();
        } else if (slicer.Frame(eB - A.c) < 2) {
            slicer.Emit(B.c, A.c, bAlone0, bAlone1);
            B.Advance();
        } else if (eA < eB) {
            if (slicer.Frame(A.c - B.c) >= 2) {
                slicer.Emit(B.c, A.c, bAlone0, bAlone1, true);
                slicer.Emit(A.c, eA, both0, both1);
            } else {
                A.c = B.c;
                slicer.Emit(B.c, eA, both0, both1);
            }
            B.c = eA;
            A.Advance();
        } else {
            if (slicer.Frame(A.c - B.c) >= 2) {
                slicer.Emit(B.c, A.c, bAlone0, bAlone1, true);
                slicer.Emit(A.c, eB, both0, both1);
            } else {
                slicer.Emit(B.c, eB, both0, both1);
            }
            A.c = eB;
            B.Advance();
        }
    }
    return slicer.Take();
}

} // namespace quillary::build
