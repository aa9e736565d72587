// CDsData: palette and end segments on demand, and validation before writing.
#include "pgs/ds_data.h"

namespace quillary::pgs {

CDsData::~CDsData()
{
    // Members go in the order the display set lists them.
    pcs.reset();
    wds.reset();
    palettes.clear();
    objects.clear();
    es.reset();
}

CPds& CDsData::AddPaletteSegment()
{
    auto pds = std::make_unique<CPds>();
    pds->paletteId = static_cast<uint8_t>(palettes.size());
    pds->paletteVersion = 0;
    palettes.push_back(std::move(pds));
    return *palettes.back();
}

CEs& CDsData::GetEndSegment()
{
    if (!es)
        es = std::make_unique<CEs>();
    return *es;
}

bool CDsData::Validate()
{
    if (!pcs)
        return false;
    GetEndSegment();
    if (wds && wds->windows.size() > CWds::kMaxWindows)
        return false;
    switch (static_cast<CompositionState>(compositionState)) {
    case CompositionState::NormalCase:
        return true;
    case CompositionState::AcquisitionPoint:
    case CompositionState::EpochStart:
    case CompositionState::EpochContinue:
        return wds != nullptr && !palettes.empty();
    }
    return false;
}

} // namespace quillary::pgs
