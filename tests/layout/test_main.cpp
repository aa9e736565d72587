// Test entry point: a headless QGuiApplication with the tests' own font registered, so that text
// measures the same on every machine.
#include "layout_test_support.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QString font = QStringLiteral(QUILLARY_TEST_DATA_DIR "/fonts/DejaVuSans.ttf");
    const int id = QFontDatabase::addApplicationFont(font);
    if (id < 0 || !QFontDatabase::applicationFontFamilies(id).contains(
                      QString::fromLatin1(quillary::layout::test::kTestFamily))) {
        std::fprintf(stderr, "cannot register %s\n", qPrintable(font));
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
