// Integer values of the settings store.
#include "textrender/settings_values.h"

#include <QSettings>

namespace quillary::textrender {

std::optional<int32_t> ReadInt(const QSettings& settings, const char* name)
{
    const QVariant value = settings.value(QLatin1String(name));
    if (!value.isValid()) {
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(number)));
}

} // namespace quillary::textrender
