// CEpochData: the display sets of one epoch, in presentation order.
#pragma once

#include "pgs/ds_data.h"

#include <memory>
#include <vector>

namespace quillary::pgs {

class CEpochData : public std::vector<std::unique_ptr<CDsData>> {
public:
    // Appends a new, empty display set (state Epoch Start) and returns it.
    CDsData& AddDisplaySet()
    {
        push_back(std::make_unique<CDsData>());
        return *back();
    }
};

} // namespace quillary::pgs
