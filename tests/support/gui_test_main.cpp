// Entry point of the test binaries that draw or measure text: a headless QGuiApplication (font
// matching, embedded fonts and the download's event loop need one) with the fonts the tests ship
// registered, so that text measures and draws the same on every machine.
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir fonts(QStringLiteral(QUILLARY_TEST_DATA_DIR "/fonts"));
    for (const QString& name : fonts.entryList({"*.ttf"}, QDir::Files)) {
        if (QFontDatabase::addApplicationFont(fonts.filePath(name)) < 0) {
            std::fprintf(stderr, "cannot register the test font %s\n", qPrintable(name));
            return 1;
        }
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
