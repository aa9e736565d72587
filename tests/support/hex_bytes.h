// Byte-exact comparison for tests: on a mismatch, a hexdump around the first difference.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace quillary::test {

inline std::string HexLine(std::span<const uint8_t> bytes, size_t from, size_t count)
{
    std::string text;
    char cell[4];
    for (size_t i = from; i < bytes.size() && i < from + count; ++i) {
        std::snprintf(cell, sizeof cell, "%02X ", bytes[i]);
        text += cell;
    }
    return text;
}

inline testing::AssertionResult SameBytes(std::span<const uint8_t> actual,
                                          std::span<const uint8_t> expected)
{
    size_t i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
        ++i;
    if (i == actual.size() && i == expected.size())
        return testing::AssertionSuccess();
    const size_t from = i < 8 ? 0 : i - 8;
    return testing::AssertionFailure()
           << "first difference at byte " << i << " (sizes " << actual.size() << " and "
           << expected.size() << ")\n  actual   @" << from << ": " << HexLine(actual, from, 24)
           << "\n  expected @" << from << ": " << HexLine(expected, from, 24);
}

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

} // namespace quillary::test
