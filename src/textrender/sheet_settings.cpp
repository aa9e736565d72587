// SSheetSettings: loading and saving the style sheet's own values.
#include "textrender/sheet_settings.h"

#include "textrender/text_tmp.h"

#include <QSettings>

namespace quillary::textrender {
namespace {

int32_t ReadInt(const QSettings& settings, const char* name, int32_t fallback) {
    bool ok = false;
    const qlonglong value = settings.value(QLatin1String(name)).toLongLong(&ok);
    return ok ? static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(value)))
              : fallback;
}

} // namespace

void SSheetSettings::LoadFromSettings(QSettings& settings) {
    const SSheetSettings defaults;
    settings.beginGroup(QLatin1String(kSettingsSection));
    direction = ReadInt(settings, key::kDirection, defaults.direction);
    alignment = ReadInt(settings, key::kGeneral, defaults.alignment);
    location = ReadInt(settings, key::kLocation, defaults.location);
    location2 = ReadInt(settings, key::kLocation2, defaults.location2);
    lineSpace = ReadInt(settings, key::kLineSpace, defaults.lineSpace);
    language = ReadInt(settings, key::kLanguage, defaults.language);
    fiDuration = ReadInt(settings, key::kFiDuration, defaults.fiDuration);
    foDuration = ReadInt(settings, key::kFoDuration, defaults.foDuration);
    settings.endGroup();
}

void SSheetSettings::SaveToSettings(QSettings& settings) const {
    settings.beginGroup(QLatin1String(kSettingsSection));
    settings.setValue(QLatin1String(key::kDirection), direction);
    settings.setValue(QLatin1String(key::kGeneral), alignment);
    settings.setValue(QLatin1String(key::kLocation), location);
    settings.setValue(QLatin1String(key::kLocation2), location2);
    settings.setValue(QLatin1String(key::kLineSpace), lineSpace);
    settings.setValue(QLatin1String(key::kLanguage), language);
    settings.setValue(QLatin1String(key::kFiDuration), fiDuration);
    settings.setValue(QLatin1String(key::kFoDuration), foDuration);
    settings.endGroup();
}

} // namespace quillary::textrender
