// SSheetSettings: loading and saving the style sheet's own values.
#include "textrender/sheet_settings.h"

#include "textrender/settings_values.h"
#include "textrender/text_tmp.h"

#include <QSettings>

namespace quillary::textrender {

void SSheetSettings::LoadFromSettings(QSettings& settings)
{
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

void SSheetSettings::SaveToSettings(QSettings& settings) const
{
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
