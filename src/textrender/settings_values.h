// Reading values of the settings store the way the registry holds them: 32-bit integers.
#pragma once

#include <cstdint>
#include <optional>

class QSettings;

namespace quillary::textrender {

// An integer value, or none when it is absent or not a number. Values wider than 32 bits keep
// their low 32 bits, as a registry DWORD would.
std::optional<int32_t> ReadInt(const QSettings& settings, const char* name);

inline int32_t ReadInt(const QSettings& settings, const char* name, int32_t fallback)
{
    return ReadInt(settings, name).value_or(fallback);
}

} // namespace quillary::textrender
