// CDsData: one display set, the segments that show one composition, and its validation.
#pragma once

#include "pgs/es.h"
#include "pgs/ods.h"
#include "pgs/pcs.h"
#include "pgs/pds.h"
#include "pgs/wds.h"

#include <memory>
#include <vector>

namespace quillary::pgs {

using CPdsFolder = std::vector<std::unique_ptr<CPds>>;
using COdsArray = std::vector<std::unique_ptr<COds>>;

class CDsData {
public:
    CDsData() = default;
    CDsData(const CDsData&) = delete;
    CDsData& operator=(const CDsData&) = delete;
    virtual ~CDsData();

    // Appends a palette segment (version 0) whose id is the number of palettes already held.
    CPds& AddPaletteSegment();

    // The end segment, created (all times 0) when missing.
    CEs& GetEndSegment();

    // Whether the display set may be written; creates a missing end segment. Epoch Start,
    // Acquisition Point and Epoch Continue need a window definition and a palette; Normal Case
    // needs only the composition. A window definition of more than two windows cannot be
    // written and makes the display set invalid.
    [[nodiscard]] bool Validate();

    // Calls `f` with every present segment in stream order: composition, window definition,
    // palettes, objects, end.
    template <class F> void ForEachSegment(F&& f)
    {
        if (pcs)
            f(static_cast<CSegmentBase&>(*pcs));
        if (wds)
            f(static_cast<CSegmentBase&>(*wds));
        for (auto& pds : palettes)
            f(static_cast<CSegmentBase&>(*pds));
        for (auto& ods : objects)
            f(static_cast<CSegmentBase&>(*ods));
        if (es)
            f(static_cast<CSegmentBase&>(*es));
    }

    // Copied into the composition segment when the display set is written.
    uint8_t compositionState = static_cast<uint8_t>(CompositionState::EpochStart);
    std::unique_ptr<CPcs> pcs;
    std::unique_ptr<CWds> wds;
    CPdsFolder palettes;
    COdsArray objects;
    std::unique_ptr<CEs> es;
};

} // namespace quillary::pgs
