// CEs: the end of display set segment, a header with no payload.
#pragma once

#include "pgs/segment_base.h"

namespace quillary::pgs {

class CEs final : public CSegmentBase {
public:
    CEs() : CSegmentBase(SegmentType::End) {}
};

} // namespace quillary::pgs
