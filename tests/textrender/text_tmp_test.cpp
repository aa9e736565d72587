// CTextTmp: the two default sets, the settings store, colours, vertical names, the setters and
// the font description conversions.
#include "textrender/text_tmp.h"

#include "test_support.h"
#include "textrender/color_ref.h"

#include <QFile>
#include <QFontDatabase>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quillary::textrender {
namespace {

// A settings store in an INI file of its own temporary directory.
class CIniStore {
public:
    CIniStore() : m_path(m_dir.filePath("quillary.ini")) {}
    std::unique_ptr<QSettings> Open() const
    {
        return std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

CTextTmp LoadedFrom(const CIniStore& store, CTextTmp tmp = {})
{
    tmp.LoadFromSettings(*store.Open());
    return tmp;
}

TEST(CTextTmp, NewTemplateDefaults)
{
    const CTextTmp tmp;
    EXPECT_EQ(tmp.fontName, "Arial");
    EXPECT_EQ(tmp.fontSize, 59.0f);
    EXPECT_EQ(tmp.fontStyle, kFontStyleBold);
    EXPECT_TRUE(tmp.leftToRight);
    EXPECT_EQ(tmp.fontUnit, EFontUnit::kPoint);
    EXPECT_EQ(tmp.lineAlignment, ELineAlignment::kCenter);
    EXPECT_EQ(tmp.brushType, EBrushType::kSolid);
    EXPECT_EQ(tmp.textColor, 0xFFFFFFFFu);
    EXPECT_EQ(tmp.textColor2, 0xFFFFFFFFu);
    EXPECT_EQ(tmp.hatchStyle, 4);
    EXPECT_EQ(tmp.lgMode, ELgMode::kHorizontal);
    EXPECT_EQ(tmp.lgRect, (SLgRect{0, 0, 50, 50}));
    EXPECT_TRUE(tmp.TextureImage().isEmpty());
    EXPECT_EQ(tmp.outlineThickness, 4);
    EXPECT_EQ(tmp.outlineColor, 0xFF000000u);
    EXPECT_TRUE(tmp.enableShadow);
    EXPECT_EQ(tmp.shadowThickness, 3);
    EXPECT_EQ(tmp.shadowColor, 0xFF000000u);
    EXPECT_EQ(tmp.shadowOffset, QPoint(2, 2));
}

TEST(CTextTmp, StoreWithoutKeysGivesArial42WhiteSolidBlackOutlineAndShadow)
{
    const CIniStore store;
    const CTextTmp tmp = LoadedFrom(store);
    EXPECT_EQ(tmp.fontName, "Arial");
    EXPECT_EQ(tmp.fontSize, 42.0f);
    EXPECT_EQ(tmp.fontStyle, 0);
    EXPECT_EQ(tmp.brushType, EBrushType::kSolid);
    EXPECT_EQ(tmp.textColor, 0xFFFFFFFFu);
    EXPECT_EQ(tmp.textColor2, 0xFFFFFFFFu);
    EXPECT_EQ(tmp.hatchStyle, 4);
    EXPECT_EQ(tmp.outlineThickness, 4);
    EXPECT_EQ(tmp.outlineColor, 0xFF000000u);
    EXPECT_TRUE(tmp.enableShadow);
    EXPECT_EQ(tmp.shadowThickness, 3);
    EXPECT_EQ(tmp.shadowColor, 0xFF000000u);
    EXPECT_EQ(tmp.shadowOffset, QPoint(2, 2));
    EXPECT_EQ(tmp, CTextTmp::StoreDefaults());
}

TEST(CTextTmp, MissingRectAndOffsetLeaveTheTemplatesValues)
{
    CTextTmp custom;
    custom.lgRect = {5, 6, 70, 80};
    custom.shadowOffset = {-4, 3};
    custom.fontUnit = EFontUnit::kPixel;
    const CIniStore store;
    const CTextTmp tmp = LoadedFrom(store, custom);
    EXPECT_EQ(tmp.lgRect, (SLgRect{5, 6, 70, 80}));
    EXPECT_EQ(tmp.shadowOffset, QPoint(-4, 3));
    EXPECT_EQ(tmp.fontUnit, EFontUnit::kPixel); // never stored
}

CTextTmp EveryFieldChanged()
{
    CTextTmp tmp;
    tmp.fontName = "@Liberation Serif";
    tmp.fontSize = 37.0f;
    tmp.fontStyle = kFontStyleItalic | kFontStyleStrikeOut;
    tmp.leftToRight = false;
    tmp.lineAlignment = ELineAlignment::kFar;
    tmp.brushType = EBrushType::kLinearGradient;
    tmp.textColor = 0xFF123456;
    tmp.textColor2 = 0xFFABCDEF;
    tmp.hatchStyle = 52;
    tmp.lgMode = ELgMode::kBackwardDiagonal;
    tmp.lgRect = {-1, 2, 300, 70000};
    tmp.outlineThickness = 50;
    tmp.outlineColor = 0xFF010203;
    tmp.enableShadow = false;
    tmp.shadowThickness = 0;
    tmp.shadowColor = 0xFFFF8000;
    tmp.shadowOffset = {-4, 3};
    CSilentMessageSink silent;
    EXPECT_TRUE(tmp.SetTextureImage(DataFile("texture_anchor_3x2.png"), silent));
    return tmp;
}

TEST(CTextTmp, SaveAndLoadRoundTrip)
{
    const CIniStore store;
    const CTextTmp saved = EveryFieldChanged();
    saved.SaveToSettings(*store.Open());
    EXPECT_EQ(LoadedFrom(store), saved);
    EXPECT_EQ(LoadedFrom(store, CTextTmp::StoreDefaults()), saved);
}

TEST(CTextTmp, SavedValuesAsTheStoreHoldsThem)
{
    const CIniStore store;
    CTextTmp tmp = EveryFieldChanged();
    tmp.fontSize = 37.9f;
    tmp.SaveToSettings(*store.Open());
    const auto settings = store.Open();
    const auto intOf = [&settings](const char* name) {
        return settings->value(QString("Sup/") + name).toLongLong();
    };
    EXPECT_EQ(intOf("FontSize"), 37); // truncated
    EXPECT_EQ(intOf("TextColor"), 0x563412);
    EXPECT_EQ(intOf("TextColor2"), 0xEFCDAB);
    EXPECT_EQ(intOf("OutlineColor"), 0x030201);
    EXPECT_EQ(intOf("ShadowColor"), 0x0080FF);
    EXPECT_EQ(intOf("BrushType"), 2);
    EXPECT_EQ(intOf("LineAlignment"), 2);
    EXPECT_EQ(intOf("EnableShadow"), 0);
    EXPECT_EQ(intOf("LeftToRight"), 0);
    // Little-endian 32-bit integers, a blank between them.
    EXPECT_EQ(settings->value("Sup/LgRect").toByteArray(),
              QByteArray::fromHex("ffffffff 02000000 2c010000 70110100"));
    EXPECT_EQ(settings->value("Sup/ShadowOffset").toByteArray(),
              QByteArray::fromHex("fcffffff 03000000"));
    EXPECT_EQ(settings->value("Sup/FontName").toString(), "@Liberation Serif");
}

TEST(CTextTmp, LoadingSingleValues)
{
    struct Case {
        const char* name;
        const char* key;
        QVariant stored;
        std::function<void(CTextTmp&)> expectedChange; // on top of the missing-key defaults
    };
    const Case cases[] = {
        {"alignment above 2 is ignored", "LineAlignment", 3,
         [](CTextTmp& t) { t.lineAlignment = ELineAlignment::kFar; }},
        {"alignment 0", "LineAlignment", 0,
         [](CTextTmp& t) { t.lineAlignment = ELineAlignment::kNear; }},
        {"same name in other case keeps the old", "FontName", "ARIAL", [](CTextTmp&) {}},
        {"other name", "FontName", "@MS Mincho", [](CTextTmp& t) { t.fontName = "@MS Mincho"; }},
        {"size as a real", "FontSize", "12.75", [](CTextTmp& t) { t.fontSize = 12.75f; }},
        {"size not a number", "FontSize", "big", [](CTextTmp&) {}},
        {"style low byte", "FontStyle", 0x10F, [](CTextTmp& t) { t.fontStyle = 0x0F; }},
        {"left to right 0", "LeftToRight", 0, [](CTextTmp& t) { t.leftToRight = false; }},
        {"shadow non-zero is true", "EnableShadow", 5, [](CTextTmp&) {}},
        {"shadow 0", "EnableShadow", 0, [](CTextTmp& t) { t.enableShadow = false; }},
        {"colour red as 0x0000FF", "TextColor", 0x0000FF,
         [](CTextTmp& t) { t.textColor = 0xFFFF0000; }},
        {"colour blue as 0xFF0000", "ShadowColor", 0xFF0000,
         [](CTextTmp& t) { t.shadowColor = 0xFF0000FF; }},
        {"unknown brush type kept", "BrushType", 7,
         [](CTextTmp& t) { t.brushType = EBrushType(7); }},
        {"thickness not a number", "OutlineThickness", "thick", [](CTextTmp&) {}},
        {"thickness low byte", "OutlineThickness", 258,
         [](CTextTmp& t) { t.outlineThickness = 2; }},
        {"rect of 16 bytes", "LgRect", QByteArray::fromHex("0a000000 14000000 1e000000 28000000"),
         [](CTextTmp& t) {
             t.lgRect = {10, 20, 30, 40};
         }},
        {"rect of 12 bytes", "LgRect", QByteArray::fromHex("0a000000 14000000 1e000000"),
         [](CTextTmp&) {}},
        {"offset of 8 bytes", "ShadowOffset", QByteArray::fromHex("fbffffff 07000000"),
         [](CTextTmp& t) {
             t.shadowOffset = {-5, 7};
         }},
        {"texture that loads", "TextureImage", DataFile("texture_anchor_3x2.png"),
         [](CTextTmp& t) {
             CSilentMessageSink silent;
             t.SetTextureImage(DataFile("texture_anchor_3x2.png"), silent);
         }},
        {"texture that does not load", "TextureImage", DataFile("not_an_image.png"),
         [](CTextTmp&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CIniStore store;
        store.Open()->setValue(QString("Sup/") + c.key, c.stored);
        CTextTmp before; // its alignment shows whether a stored one was taken
        before.lineAlignment = ELineAlignment::kFar;
        CTextTmp expected = LoadedFrom(CIniStore(), before);
        c.expectedChange(expected);
        EXPECT_EQ(LoadedFrom(store, before), expected);
    }
}

TEST(CTextTmp, LoadReportsATextureThatDoesNotLoad)
{
    const CIniStore store;
    store.Open()->setValue("Sup/TextureImage", DataFile("not_an_image.png"));
    CTextTmp tmp;
    CRecordingSink sink;
    tmp.LoadFromSettings(*store.Open(), sink);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0],
              (DataFile("not_an_image.png") + "\r\nImage open error! ").toStdString());
    EXPECT_TRUE(tmp.TextureImage().isEmpty());
}

TEST(ColorRef, Conversions)
{
    struct Case {
        uint32_t colorRef;
        uint32_t argb;
    };
    const Case cases[] = {
        {0x000000FF, 0xFFFF0000}, // red
        {0x0000FF00, 0xFF00FF00}, // green
        {0x00FF0000, 0xFF0000FF}, // blue
        {0x00123456, 0xFF563412}, {0x00000000, 0xFF000000}, {0x00FFFFFF, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colorRef);
        EXPECT_EQ(ArgbFromColorRef(c.colorRef), c.argb);
        EXPECT_EQ(ArgbFromColorRef(c.colorRef | 0xAB000000), c.argb); // top byte ignored
        EXPECT_EQ(ColorRefFromArgb(c.argb), c.colorRef);
        EXPECT_EQ(ColorRefFromArgb(c.argb & 0x00FFFFFF), c.colorRef); // alpha dropped
    }
}

TEST(CTextTmp, VerticalNames)
{
    struct Case {
        const char* fontName;
        bool vertical;
        const char* family;
    };
    const Case cases[] = {
        {"Arial", false, "Arial"},
        {"@Arial", true, "Arial"},
        {"@@Arial", true, "@Arial"}, // only one "@" goes
        {"@", true, ""},
        {"", false, ""},
        {"Ari@l", false, "Ari@l"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fontName);
        CTextTmp tmp;
        tmp.fontName = c.fontName;
        EXPECT_EQ(tmp.IsVertical(), c.vertical);
        EXPECT_EQ(tmp.FontFamilyName(), c.family);
    }
}

TEST(CTextTmp, SetLgRectAndShadowOffsetReportChange)
{
    CTextTmp tmp;
    EXPECT_FALSE(tmp.SetLgRect({0, 0, 50, 50}));
    EXPECT_TRUE(tmp.SetLgRect({0, 0, 50, 51}));
    EXPECT_EQ(tmp.lgRect, (SLgRect{0, 0, 50, 51}));
    EXPECT_FALSE(tmp.SetLgRect({0, 0, 50, 51}));
    EXPECT_TRUE(tmp.SetLgRect({1, 0, 50, 51}));

    EXPECT_FALSE(tmp.SetShadowOffset(2, 2));
    EXPECT_TRUE(tmp.SetShadowOffset(-4, 2));
    EXPECT_EQ(tmp.shadowOffset, QPoint(-4, 2));
    EXPECT_FALSE(tmp.SetShadowOffset(-4, 2));
    EXPECT_TRUE(tmp.SetShadowOffset(-4, 3));
}

TEST(CTextTmp, SetTextureImage)
{
    const QString good = DataFile("texture_anchor_3x2.png");
    const QString bad = DataFile("not_an_image.png");
    const QString missing = DataFile("no_such_texture.png");
    CTextTmp tmp;
    CRecordingSink sink;

    EXPECT_TRUE(tmp.SetTextureImage(good, sink));
    EXPECT_EQ(tmp.TextureImage(), good);
    // The same path in other case is the same file: no change, and no attempt to load it.
    EXPECT_FALSE(tmp.SetTextureImage(good.toUpper(), sink));
    EXPECT_EQ(tmp.TextureImage(), good);
    EXPECT_TRUE(sink.messages.empty());

    for (const QString& refused : {bad, missing}) {
        SCOPED_TRACE(refused.toStdString());
        sink.messages.clear();
        EXPECT_FALSE(tmp.SetTextureImage(refused, sink));
        EXPECT_EQ(tmp.TextureImage(), good);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0], (refused + "\r\nImage open error! ").toStdString());
    }

    sink.messages.clear();
    EXPECT_TRUE(tmp.SetTextureImage("", sink));
    EXPECT_TRUE(tmp.TextureImage().isEmpty());
    EXPECT_FALSE(tmp.SetTextureImage("", sink));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(CTextTmp, ToFontDescription)
{
    struct Case {
        const char* fontName;
        float fontSize;
        uint8_t fontStyle;
        double dpiY;
        SFontDescription expected;
    };
    const Case cases[] = {
        {"Liberation Sans", 42.9f, 0, 96, {"Liberation Sans", -56, 400, false, false, false, 1}},
        {"Liberation Sans", 10, 0, 96, {"Liberation Sans", -13, 400, false, false, false, 1}},
        {"Liberation Sans", 11, 0, 96, {"Liberation Sans", -15, 400, false, false, false, 1}},
        {"Liberation Sans",
         59,
         kFontStyleBold | kFontStyleItalic,
         120,
         {"Liberation Sans", -98, 700, true, false, false, 1}},
        {"DejaVu Sans",
         20,
         kFontStyleUnderline | kFontStyleStrikeOut,
         72,
         {"DejaVu Sans", -20, 400, false, true, true, 1}},
        {"@DejaVu Sans", 9, 0, 144, {"@DejaVu Sans", -18, 400, false, false, false, 1}},
        // A metric twin's alias is a known family, not a fallback.
        {"Arial", 12, 0, 96, {"Arial", -16, 400, false, false, false, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fontName);
        CTextTmp tmp;
        tmp.fontName = c.fontName;
        tmp.fontSize = c.fontSize;
        tmp.fontStyle = c.fontStyle;
        EXPECT_EQ(tmp.ToFontDescription(c.dpiY), c.expected);
    }
}

TEST(CTextTmp, ToFontDescriptionFallsBackToAKnownFamily)
{
    for (const char* name : {"No Such Family Quillary", "@No Such Family Quillary"}) {
        SCOPED_TRACE(name);
        CTextTmp tmp;
        tmp.fontName = name;
        const QString face = tmp.ToFontDescription(96).faceName;
        EXPECT_NE(face, name);
        EXPECT_EQ(face.startsWith('@'), name[0] == '@');
        EXPECT_LE(face.size(), kMaxFaceNameLength);
        EXPECT_TRUE(QFontDatabase::hasFamily(face.startsWith('@') ? face.mid(1) : face));
    }
}

TEST(CTextTmp, FromFontDescription)
{
    struct Case {
        SFontDescription description;
        double dpiY;
        float fontSize;
        uint8_t fontStyle;
    };
    const Case cases[] = {
        {{"Arial", -56, 400, false, false, false, 1}, 96, 42, 0},
        {{"Arial", -98, 700, true, false, false, 1}, 120, 59, kFontStyleBold | kFontStyleItalic},
        {{"Arial", -15, 600, false, true, false, 1}, 96, 11, kFontStyleUnderline}, // 600: regular
        {{"Arial", -15, 900, false, false, true, 1}, 96, 11, kFontStyleBold | kFontStyleStrikeOut},
        {{"Arial", 56, 400, false, false, false, 1}, 96, 42, 0}, // a positive height alike
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description.height);
        CTextTmp tmp;
        tmp.fontUnit = EFontUnit::kPixel;
        tmp.FromFontDescription(c.description, c.dpiY);
        EXPECT_EQ(tmp.fontName, c.description.faceName);
        EXPECT_EQ(tmp.fontSize, c.fontSize);
        EXPECT_EQ(tmp.fontStyle, c.fontStyle);
        EXPECT_EQ(tmp.fontUnit, EFontUnit::kPoint);
    }
}

// Every whole size in points survives a trip through the font dialog at usual resolutions.
TEST(CTextTmp, FontDescriptionRoundTripKeepsWholeSizes)
{
    for (const double dpiY : {72.0, 96.0, 120.0, 144.0}) {
        for (int size = 1; size <= 300; ++size) {
            CTextTmp tmp;
            tmp.fontName = "Liberation Sans";
            tmp.fontSize = float(size);
            tmp.fontStyle = kFontStyleBold | kFontStyleUnderline;
            CTextTmp back;
            back.FromFontDescription(tmp.ToFontDescription(dpiY), dpiY);
            ASSERT_EQ(back.fontSize, tmp.fontSize) << "dpi " << dpiY;
            ASSERT_EQ(back.fontStyle, tmp.fontStyle);
            ASSERT_EQ(back.fontName, tmp.fontName);
        }
    }
}

} // namespace
} // namespace quillary::textrender
