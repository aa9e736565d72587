// CPcs: the presentation composition segment, with its video descriptor and composition objects.
#pragma once

#include "pgs/segment_base.h"

#include <vector>

namespace quillary::pgs {

enum class CompositionState : uint8_t {
    NormalCase = 0,
    AcquisitionPoint = 1,
    EpochStart = 2,
    EpochContinue = 3,
};

// "Normal Case", "Acquisition Point", "Epoch Start", "Epoch Continue".
const char* CompositionStateName(int state);

struct SVideoDescriptor {
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t frameRate = 0;      // four-bit code
    uint8_t frameRateExtra = 0; // low nibble of the byte, kept from parsing; 0 when built

    friend bool operator==(const SVideoDescriptor&, const SVideoDescriptor&) = default;
};

// One object shown by a composition: 8 bytes on the wire, 16 when cropped.
struct SCompositionObject {
    uint16_t objectId = 0;
    uint8_t windowId = 0;
    bool cropped = false;
    bool forcedOn = false;
    uint16_t x = 0;
    uint16_t y = 0;
    uint16_t cropX = 0;
    uint16_t cropY = 0;
    uint16_t cropWidth = 0;
    uint16_t cropHeight = 0;

    size_t WireSize() const { return cropped ? 16 : 8; }
    friend bool operator==(const SCompositionObject&, const SCompositionObject&) = default;
};

class CPcs final : public CSegmentBase {
public:
    static constexpr size_t kMaxObjects = 2;

    CPcs() : CSegmentBase(SegmentType::Pcs) {}

    void Clear() override { objects.clear(); }
    [[nodiscard]] std::optional<size_t> Parse(std::span<const uint8_t> payload) override;
    size_t Write(uint8_t* out) override;
    void Dump(std::string& out, std::string_view prefix) const override;
    void CopyFrom(const CSegmentBase& other) override;

    // Adds an uncropped object; refused (null) when the composition already shows two.
    SCompositionObject* AddCompositionObject(uint16_t objectId, uint8_t windowId, bool forcedOn,
                                             uint16_t x, uint16_t y);

    SVideoDescriptor videoDescriptor;
    uint16_t compositionNumber = 0;
    uint8_t compositionState = 0;      // two bits
    uint8_t compositionStateExtra = 0; // low six bits of the byte, kept from parsing
    bool paletteUpdateFlag = false;
    uint8_t paletteIdRef = 0;
    std::vector<SCompositionObject> objects;
};

} // namespace quillary::pgs
