// Fuzz target: arbitrary bytes read as a .sup stream, every segment listed and written again.
// The reader must stop at the first fault without reading past the end, and every segment it
// accepts must write back to the length it was read with (less what a stream may not hold).
#include "pgs/pds.h"
#include "pgs/sup_reader.h"
#include "pgs/wds.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillary::pgs;
    CSupReader reader(std::span<const uint8_t>(data, size));
    SSupEntry entry;
    uint64_t previous = 0;
    bool first = true;
    std::string listing;
    std::vector<uint8_t> buffer(kMaxSegmentSize);
    while (reader.Next(entry)) {
        Require(first || entry.offset > previous);
        Require(entry.offset + 13 + entry.segment->segmentLength <= size);
        first = false;
        previous = entry.offset;
        listing.clear();
        entry.segment->Dump(listing, "  ");
        Require(!listing.empty());
        const uint16_t length = entry.segment->segmentLength;
        const auto* wds = dynamic_cast<const CWds*>(entry.segment.get());
        const auto* pds = dynamic_cast<const CPds*>(entry.segment.get());
        const size_t written = entry.segment->Write(buffer.data());
        if (wds != nullptr && wds->windows.size() > CWds::kMaxWindows)
            Require(written == 0); // more windows than a stream may hold are not written
        else if (pds != nullptr && pds->entries.size() > CPds::kMaxEntries)
            Require(written == 3 + 2 + 5 * CPds::kMaxEntries); // nor more than 256 entries
        else
            Require(written == 3u + length);
    }
    Require(!reader.Failed() || reader.ErrorOffset() <= size);
    return 0;
}
