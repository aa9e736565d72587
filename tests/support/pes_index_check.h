// Checks that a .pes file and its .mui index carry exactly the segments of a .sup file of the same
// build: the .pes bytes are the .sup entries without their "PG" headers, and every index record
// is the one those segments ask for.
#pragma once

#include "pgs/stream_writer.h"
#include "pgs/sup_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quillary::test {

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The number of segments, or -1 with a test failure when the files disagree.
inline int CheckPesAgainstSup(const std::string& supPath, const std::string& pesPath)
{
    const auto sup = ReadBytes(supPath);
    const auto pes = ReadBytes(pesPath);
    const auto mui = ReadBytes(pesPath + ".mui");
    if (mui.size() < 18 ||
        !std::equal(pgs::kMuiFileHeader.begin(), pgs::kMuiFileHeader.end(), mui.begin())) {
        ADD_FAILURE() << "the index has no header";
        return -1;
    }
    pgs::CSupReader reader(sup);
    pgs::SSupEntry entry;
    size_t pesPos = 0;
    size_t record = 4;
    int segments = 0;
    while (reader.Next(entry)) {
        const size_t size = 3 + entry.segment->segmentLength;
        const auto expected = pgs::MakeIndexRecord(*entry.segment, uint32_t(size));
        if (pesPos + size > pes.size() || record + 2 * pgs::kIndexRecordSize > mui.size() ||
            !std::equal(pes.begin() + long(pesPos), pes.begin() + long(pesPos + size),
                        sup.begin() + long(entry.offset + pgs::kSupHeaderSize)) ||
            !std::equal(expected.begin(), expected.end(), mui.begin() + long(record))) {
            ADD_FAILURE() << "segment " << segments << " differs";
            return -1;
        }
        pesPos += size;
        record += pgs::kIndexRecordSize;
        ++segments;
    }
    const auto terminator = pgs::IndexTerminator();
    if (reader.Failed() || pesPos != pes.size() || record + pgs::kIndexRecordSize != mui.size() ||
        !std::equal(terminator.begin(), terminator.end(), mui.begin() + long(record))) {
        ADD_FAILURE() << "the files end differently";
        return -1;
    }
    return segments;
}

} // namespace quillary::test
