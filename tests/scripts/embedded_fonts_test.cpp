// Embedded fonts: the text coding and registration from a script.
#include "scripts/embedded_fonts.h"

#include "script_test_support.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quillary::scripts {
namespace {

TEST(EmbeddedFontsTest, DecodesGroupsOfFourSixBitValues)
{
    struct Case {
        const char* text;
        std::optional<QByteArray> bytes;
    };
    const std::vector<Case> cases{
        {"", std::nullopt},          {"!", std::nullopt},          {"!!!!!", std::nullopt},
        {"!!", QByteArray(1, '\0')}, {"!!!", QByteArray(2, '\0')}, {"!!!!", QByteArray(3, '\0')},
        {"`", std::nullopt},         {"47&O", QByteArray("Man")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DecodeEmbeddedFont(c.text), c.bytes);
    }
}

TEST(EmbeddedFontsTest, EncodeAndDecodeRoundTrip)
{
    std::mt19937 random(5);
    for (int size = 1; size < 40; ++size) {
        QByteArray data(size, '\0');
        for (char& b : data) {
            b = static_cast<char>(random() & 0xFF);
        }
        const QByteArray encoded = EncodeEmbeddedFont(data).replace('\n', "");
        EXPECT_EQ(DecodeEmbeddedFont(encoded.toStdString()), data) << size;
    }
}

TEST(EmbeddedFontsTest, ScriptFontsAreRegisteredInMemory)
{
    QFile font(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Oblique.ttf"));
    if (!font.open(QIODevice::ReadOnly)) {
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    }
    const QByteArray encoded = EncodeEmbeddedFont(font.readAll());
    // Data lines may begin with "[" (value 58); only a whole "[...]" line ends the font.
    ASSERT_TRUE(encoded.contains("\n["));
    const QByteArray script = "[Script Info]\nScriptType: v4.00+\n[Fonts]\nfontname: broken.ttf\n"
                              "!!!!!\nfontname: mono.ttf\n" +
                              encoded +
                              "\n[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,Default,,0,"
                              "0,0,,after the fonts\n";
    CSimpleTextSubtitle subtitle;
    ASSERT_TRUE(test::OpenScript(subtitle, script));
    EXPECT_EQ(subtitle.embeddedFontFamilies, std::vector<QString>{"DejaVu Sans Mono"});
    ASSERT_EQ(subtitle.GetCount(), 1u);
    EXPECT_EQ(subtitle.entries[0].text, "after the fonts");
}

} // namespace
} // namespace quillary::scripts
