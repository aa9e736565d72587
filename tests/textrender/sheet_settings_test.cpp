// SSheetSettings: defaults, the stored names and a round trip through an INI file.
#include "textrender/sheet_settings.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quillary::textrender {
namespace {

TEST(SSheetSettings, EmptyStoreGivesTheDefaults)
{
    QTemporaryDir dir;
    SSheetSettings sheet;
    sheet.direction = 2;
    sheet.fiDuration = 60;
    QSettings settings(dir.filePath("empty.ini"), QSettings::IniFormat);
    sheet.LoadFromSettings(settings);
    EXPECT_EQ(sheet, SSheetSettings{});
    EXPECT_EQ(sheet.direction, 0);
    EXPECT_EQ(sheet.alignment, 1);
    EXPECT_EQ(sheet.location, 100);
    EXPECT_EQ(sheet.location2, 100);
    EXPECT_EQ(sheet.lineSpace, 0);
    EXPECT_EQ(sheet.language, 125);
    EXPECT_EQ(sheet.fadeEnabled, 1);
    EXPECT_EQ(sheet.fiDuration, 25);
    EXPECT_EQ(sheet.foDuration, 25);
}

TEST(SSheetSettings, RoundTripUnderTheStoredNames)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.ini");
    const SSheetSettings saved{2, 0, 37, 42, 10, 203, 1, 100, 0};
    {
        QSettings settings(path, QSettings::IniFormat);
        saved.SaveToSettings(settings);
    }
    QSettings settings(path, QSettings::IniFormat);
    EXPECT_EQ(settings.value("Sup/General").toInt(), 0); // the alignment
    EXPECT_EQ(settings.value("Sup/Location2").toInt(), 42);
    EXPECT_EQ(settings.value("Sup/FiDuration").toInt(), 100);
    SSheetSettings loaded;
    loaded.LoadFromSettings(settings);
    EXPECT_EQ(loaded, saved);
}

} // namespace
} // namespace quillary::textrender
