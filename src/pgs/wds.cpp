// CWds: wire layout, parsing and listing of the window definition segment.
#include "pgs/wds.h"

#include "pgs/byte_io.h"

namespace quillary::pgs {

SWindow* CWds::AddWindow(uint8_t windowId, int left, int top, int right, int bottom)
{
    if (windows.size() >= kMaxWindows)
        return nullptr;
    SWindow& window = windows.emplace_back();
    window.windowId = windowId;
    window.x = static_cast<uint16_t>(left);
    window.y = static_cast<uint16_t>(top);
    window.width = static_cast<uint16_t>(right - left);
    window.height = static_cast<uint16_t>(bottom - top);
    return &window;
}

const SWindow* CWds::FindWindow(uint8_t windowId) const
{
    for (const SWindow& window : windows) {
        if (window.windowId == windowId)
            return &window;
    }
    return nullptr;
}

// Payload: count(1), then 9 bytes a window: id(1) x(2) y(2) width(2) height(2).
std::optional<size_t> CWds::Parse(std::span<const uint8_t> payload)
{
    Clear();
    if (payload.empty())
        return std::nullopt;
    const unsigned count = payload[0];
    if (payload.size() - 1 < size_t(count) * 9)
        return std::nullopt;
    const uint8_t* p = payload.data() + 1;
    for (unsigned i = 0; i < count; ++i, p += 9)
        windows.push_back({p[0], GetU16(p + 1), GetU16(p + 3), GetU16(p + 5), GetU16(p + 7)});
    return 1 + size_t(count) * 9;
}

size_t CWds::Write(uint8_t* out)
{
    if (windows.size() > kMaxWindows)
        return 0;
    WriteHeader(out);
    uint8_t* p = out + kSegmentHeaderSize;
    PutU8(p++, static_cast<unsigned>(windows.size()));
    for (const SWindow& window : windows) {
        PutU8(p, window.windowId);
        PutU16(p + 1, window.x);
        PutU16(p + 3, window.y);
        PutU16(p + 5, window.width);
        PutU16(p + 7, window.height);
        p += 9;
    }
    return FinishWrite(out, static_cast<size_t>(p - out));
}

void CWds::Dump(std::string& out, std::string_view prefix) const
{
    CSegmentBase::Dump(out, prefix);
    const std::string inner = dump::Nested(prefix);
    dump::Number(out, prefix, "NumberOfWindows", static_cast<long long>(windows.size()));
    int number = 1;
    for (const SWindow& window : windows) {
        dump::NumberedGroup(out, prefix, "Window", number++);
        dump::Number(out, inner, "WindowID", window.windowId);
        dump::Pair(out, inner, "HorPos", "VerPos", window.x, window.y);
        dump::Pair(out, inner, "Width", "Height", window.width, window.height);
    }
}

void CWds::CopyFrom(const CSegmentBase& other)
{
    if (const auto* wds = dynamic_cast<const CWds*>(&other))
        *this = *wds;
    else
        CSegmentBase::CopyFrom(other);
}

} // namespace quillary::pgs
