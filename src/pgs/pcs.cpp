// CPcs: wire layout, parsing and listing of the presentation composition segment.
#include "pgs/pcs.h"

#include "pgs/byte_io.h"
#include "pgs/frame_rate.h"

namespace quillary::pgs {

const char* CompositionStateName(int state)
{
    static constexpr const char* kNames[4] = {"Normal Case", "Acquisition Point", "Epoch Start",
                                              "Epoch Continue"};
    return (state >= 0 && state < 4) ? kNames[state] : "Unknown";
}

SCompositionObject* CPcs::AddCompositionObject(uint16_t objectId, uint8_t windowId, bool forcedOn,
                                               uint16_t x, uint16_t y)
{
    if (objects.size() >= kMaxObjects)
        return nullptr;
    SCompositionObject& object = objects.emplace_back();
    object.objectId = objectId;
    object.windowId = windowId;
    object.forcedOn = forcedOn;
    object.x = x;
    object.y = y;
    return &object;
}

// Payload: width(2) height(2) rate(1) number(2) state(1) update(1) palette(1) count(1) objects.
std::optional<size_t> CPcs::Parse(std::span<const uint8_t> payload)
{
    Clear();
    if (payload.size() < 11)
        return std::nullopt;
    const uint8_t* p = payload.data();
    videoDescriptor.width = GetU16(p);
    videoDescriptor.height = GetU16(p + 2);
    videoDescriptor.frameRate = p[4] >> 4;
    videoDescriptor.frameRateExtra = p[4] & 0x0F;
    compositionNumber = GetU16(p + 5);
    compositionState = p[7] >> 6;
    compositionStateExtra = p[7] & 0x3F;
    paletteUpdateFlag = (p[8] & 0x80) != 0;
    paletteIdRef = p[9];
    const unsigned count = p[10];
    size_t pos = 11;
    for (unsigned i = 0; i < count; ++i) {
        if (payload.size() - pos < 8)
            return std::nullopt;
        const uint8_t* q = p + pos;
        SCompositionObject object;
        object.objectId = GetU16(q);
        object.windowId = q[2];
        object.cropped = (q[3] & 0x80) != 0;
        object.forcedOn = (q[3] & 0x40) != 0;
        object.x = GetU16(q + 4);
        object.y = GetU16(q + 6);
        if (object.cropped) {
            if (payload.size() - pos < 16)
                return std::nullopt;
            object.cropX = GetU16(q + 8);
            object.cropY = GetU16(q + 10);
            object.cropWidth = GetU16(q + 12);
            object.cropHeight = GetU16(q + 14);
        }
        pos += object.WireSize();
        objects.push_back(object);
    }
    return pos;
}

size_t CPcs::Write(uint8_t* out)
{
    WriteHeader(out);
    uint8_t* p = out + kSegmentHeaderSize;
    PutU16(p, videoDescriptor.width);
    PutU16(p + 2, videoDescriptor.height);
    PutU8(p + 4, (videoDescriptor.frameRate << 4) | (videoDescriptor.frameRateExtra & 0x0F));
    PutU16(p + 5, compositionNumber);
    PutU8(p + 7, (compositionState << 6) | (compositionStateExtra & 0x3F));
    PutU8(p + 8, paletteUpdateFlag ? 0x80 : 0x00);
    PutU8(p + 9, paletteIdRef);
    PutU8(p + 10, static_cast<unsigned>(objects.size()));
    p += 11;
    for (const SCompositionObject& object : objects) {
        PutU16(p, object.objectId);
        PutU8(p + 2, object.windowId);
        PutU8(p + 3, (object.cropped ? 0x80 : 0) | (object.forcedOn ? 0x40 : 0));
        PutU16(p + 4, object.x);
        PutU16(p + 6, object.y);
        if (object.cropped) {
            PutU16(p + 8, object.cropX);
            PutU16(p + 10, object.cropY);
            PutU16(p + 12, object.cropWidth);
            PutU16(p + 14, object.cropHeight);
        }
        p += object.WireSize();
    }
    return FinishWrite(out, static_cast<size_t>(p - out));
}

void CPcs::Dump(std::string& out, std::string_view prefix) const
{
    CSegmentBase::Dump(out, prefix);
    const std::string inner = dump::Nested(prefix);
    dump::Group(out, prefix, "VideoDescriptor");
    dump::Pair(out, inner, "Width", "Height", videoDescriptor.width, videoDescriptor.height);
    dump::Code(out, inner, "FrameRate", videoDescriptor.frameRate,
               FrameRateName(videoDescriptor.frameRate));
    dump::Group(out, prefix, "CompositionDescriptor");
    dump::Number(out, inner, "CompositionNumber", compositionNumber);
    dump::Code(out, inner, "CompositionState", compositionState,
               CompositionStateName(compositionState));
    dump::Number(out, prefix, "PaletteUpdateFlag", paletteUpdateFlag ? 1 : 0);
    dump::Number(out, prefix, "PaletteIdRef", paletteIdRef);
    dump::Number(out, prefix, "NumberOfCompositionObjects", static_cast<long long>(objects.size()));
    int number = 1;
    for (const SCompositionObject& object : objects) {
        dump::NumberedGroup(out, prefix, "CompositionObject", number++);
        dump::Number(out, inner, "ObjectIdRef", object.objectId);
        dump::Number(out, inner, "WindowIdRef", object.windowId);
        dump::Number(out, inner, "ObjectCroppedFlag", object.cropped ? 1 : 0);
        dump::Number(out, inner, "ForcedOnFlag", object.forcedOn ? 1 : 0);
        dump::Pair(out, inner, "CompositionObjectHorPos", "CompositionObjectVerPos", object.x,
                   object.y);
        if (object.cropped) {
            dump::Pair(out, inner, "ObjectCroppingHorPos", "ObjectCroppingVerPos", object.cropX,
                       object.cropY);
            dump::Pair(out, inner, "ObjectCroppingWidth", "ObjectCroppingHeight", object.cropWidth,
                       object.cropHeight);
        }
    }
}

void CPcs::CopyFrom(const CSegmentBase& other)
{
    if (const auto* pcs = dynamic_cast<const CPcs*>(&other))
        *this = *pcs;
    else
        CSegmentBase::CopyFrom(other);
}

} // namespace quillary::pgs
