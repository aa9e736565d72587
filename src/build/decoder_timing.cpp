// Decode durations and segment time stamps.
#include "build/decoder_timing.h"

#include "pgs/byte_io.h"

namespace quillary::build {

namespace {

pgs::Timestamp90k CeilDiv(int64_t numerator, int64_t denominator)
{
    return (numerator + denominator - 1) / denominator;
}

// Width and height of an object from the header of its first fragment.
bool ObjectSize(const pgs::COds& ods, int& width, int& height)
{
    if (!ods.firstInSequence || ods.data.size() < pgs::COds::kObjectHeaderSize)
        return false;
    width = pgs::GetU16(ods.data.data() + 3);
    height = pgs::GetU16(ods.data.data() + 5);
    return true;
}

// ceil(w h 9 / 1600) of the object with `objectId`, read from the first object segment that
// carries that id; 0 when there is none.
pgs::Timestamp90k ObjectDecodeTicks(const pgs::COdsArray& objects, uint16_t objectId)
{
    for (const auto& ods : objects) {
        if (ods->objectId != objectId)
            continue;
        int width = 0, height = 0;
        return ObjectSize(*ods, width, height) ? DecodeTicks(width, height) : 0;
    }
    return 0;
}

pgs::Timestamp90k WindowPlaneTicks(const pgs::CWds* wds, uint8_t windowId)
{
    const pgs::SWindow* window = wds ? wds->FindWindow(windowId) : nullptr;
    return window ? PlaneTicks(window->width, window->height) : 0;
}

} // namespace

pgs::Timestamp90k PlaneTicks(int64_t width, int64_t height)
{
    return CeilDiv(width * height * 9, 3200);
}

pgs::Timestamp90k DecodeTicks(int64_t width, int64_t height)
{
    return CeilDiv(width * height * 9, 1600);
}

pgs::Timestamp90k DecodeDuration(const pgs::CDsData& displaySet, const pgs::CWds* windows,
                                 const pgs::COdsArray* objects)
{
    const pgs::CWds* wds = windows ? windows : displaySet.wds.get();
    const pgs::COdsArray& ods = objects ? *objects : displaySet.objects;
    const pgs::CPcs* pcs = displaySet.pcs.get();
    if (pcs == nullptr)
        return 0;
    const auto& shown = pcs->objects;

    // 1. Plane initialisation: the whole plane at an epoch start, else the windows that show
    //    no object.
    pgs::Timestamp90k d = 0;
    if (displaySet.compositionState == uint8_t(pgs::CompositionState::EpochStart)) {
        d = PlaneTicks(pcs->videoDescriptor.width, pcs->videoDescriptor.height);
    } else if (wds) {
        for (const pgs::SWindow& window : wds->windows) {
            bool used = false;
            for (const pgs::SCompositionObject& object : shown)
                used = used || object.windowId == window.windowId;
            if (!used)
                d += PlaneTicks(window.width, window.height);
        }
    }
    auto wait = [&](const pgs::SCompositionObject& object) {
        const pgs::Timestamp90k decode = ObjectDecodeTicks(ods, object.objectId);
        return decode > d ? decode - d : 0;
    };
    if (shown.empty())
        return d;
    // 2-4. Wait for the objects' decoding, drawing the first window when there are two.
    d += wait(shown[0]);
    if (shown.size() >= 2) {
        if (shown[0].windowId != shown[1].windowId)
            d += WindowPlaneTicks(wds, shown[0].windowId);
        d += wait(shown[1]);
    }
    // 5. Drawing the last object's window.
    if (wds)
        d += WindowPlaneTicks(wds, shown[shown.size() >= 2 ? 1 : 0].windowId);
    return d;
}

uint32_t DecodeTimestamp(pgs::Timestamp90k pts, pgs::Timestamp90k decodeDuration)
{
    const pgs::Timestamp90k dts = pts - decodeDuration;
    return dts < 0 ? 0u : static_cast<uint32_t>(dts);
}

void StampDisplaySet(pgs::CDsData& displaySet, uint32_t pts, uint32_t dts)
{
    if (displaySet.pcs) {
        displaySet.pcs->pts = pts;
        displaySet.pcs->dts = dts;
    }
    // Stream time stamps are 32-bit and wrap; the arithmetic below does too.
    if (displaySet.wds) {
        int64_t area = 0;
        for (const pgs::SWindow& window : displaySet.wds->windows)
            area += int64_t(window.width) * window.height;
        uint32_t windowPts = pts - static_cast<uint32_t>(CeilDiv(area * 9, 3200));
        if (windowPts < dts)
            windowPts = dts;
        displaySet.wds->pts = windowPts;
        displaySet.wds->dts = dts;
    }
    for (auto& pds : displaySet.palettes) {
        pds->pts = dts;
        pds->dts = 0;
    }
    uint32_t t = dts;
    const pgs::COds* previous = nullptr;
    for (auto& ods : displaySet.objects) {
        int width = 0, height = 0;
        if (ods->firstInSequence || previous == nullptr) {
            ods->dts = t;
            if (ObjectSize(*ods, width, height))
                t += static_cast<uint32_t>(DecodeTicks(width, height));
            ods->pts = t;
        } else {
            ods->dts = previous->dts;
            ods->pts = previous->pts;
        }
        previous = ods.get();
    }
    pgs::CEs& es = displaySet.GetEndSegment();
    es.dts = 0;
    if (!displaySet.palettes.empty() || !displaySet.objects.empty())
        es.pts = t;
    else if (displaySet.wds)
        es.pts = displaySet.wds->pts;
    else
        es.pts = pts;
}

} // namespace quillary::build
