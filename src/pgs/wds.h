// CWds: the window definition segment.
#pragma once

#include "pgs/segment_base.h"

#include <vector>

namespace quillary::pgs {

struct SWindow {
    uint8_t windowId = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    uint16_t width = 0;
    uint16_t height = 0;

    friend bool operator==(const SWindow&, const SWindow&) = default;
};

class CWds final : public CSegmentBase {
public:
    static constexpr size_t kMaxWindows = 2;

    CWds() : CSegmentBase(SegmentType::Wds) {}

    void Clear() override { windows.clear(); }
    [[nodiscard]] std::optional<size_t> Parse(std::span<const uint8_t> payload) override;
    // Writes nothing (returns 0) when the segment holds more than two windows.
    size_t Write(uint8_t* out) override;
    void Dump(std::string& out, std::string_view prefix) const override;
    void CopyFrom(const CSegmentBase& other) override;

    // Adds the window with the frame rectangle [left, right) x [top, bottom); refused (null)
    // when the segment already holds two windows.
    SWindow* AddWindow(uint8_t windowId, int left, int top, int right, int bottom);
    // The first window with `windowId`, or null.
    const SWindow* FindWindow(uint8_t windowId) const;

    std::vector<SWindow> windows;
};

} // namespace quillary::pgs
