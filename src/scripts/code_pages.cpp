// Windows character sets and code pages, converted through Qt's ICU-backed QStringDecoder.
#include "scripts/code_pages.h"

#include <QStringDecoder>

#include <array>
#include <charconv>
#include <map>
#include <memory>

namespace quillary::scripts {
namespace {

struct SCharSetCodePage {
    int charSet;
    int codePage;
};

// Windows' own translation table (TranslateCharsetInfo). DEFAULT, SYMBOL, MAC and OEM are not in
// it, so they fall back to the default ANSI code page.
constexpr std::array kCharSets{
    SCharSetCodePage{0, 1252},   SCharSetCodePage{128, 932},  SCharSetCodePage{129, 949},
    SCharSetCodePage{130, 1361}, SCharSetCodePage{134, 936},  SCharSetCodePage{136, 950},
    SCharSetCodePage{161, 1253}, SCharSetCodePage{162, 1254}, SCharSetCodePage{163, 1258},
    SCharSetCodePage{177, 1255}, SCharSetCodePage{178, 1256}, SCharSetCodePage{186, 1257},
    SCharSetCodePage{204, 1251}, SCharSetCodePage{222, 874},  SCharSetCodePage{238, 1250},
};

struct SDefaultCodePage {
    QByteArray name = "windows-1252";
    int number = 1252; // 0 when the name is not one of the numbered code pages
};

SDefaultCodePage& DefaultCodePage()
{
    static SDefaultCodePage value;
    return value;
}

QByteArray DecoderName(int codePage)
{
    switch (codePage) {
    case kDefaultAnsiCodePage:
        return DefaultCodePage().name;
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 874:
        return "windows-874";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

// One decoder per code page, kept for the thread's life: opening an ICU converter is far more
// expensive than converting a line.
QStringDecoder* Decoder(int codePage)
{
    thread_local std::map<std::pair<int, QByteArray>, std::unique_ptr<QStringDecoder>> cache;
    const QByteArray name = DecoderName(codePage);
    auto& slot = cache[{codePage, name}];
    if (!slot) {
        slot = std::make_unique<QStringDecoder>(name.constData(), QStringDecoder::Flag::Stateless);
    }
    return slot->isValid() ? slot.get() : nullptr;
}

int ParseCodePageNumber(std::string_view name)
{
    for (std::string_view prefix : {"windows-", "cp", "CP"}) {
        if (name.starts_with(prefix)) {
            name.remove_prefix(prefix.size());
            break;
        }
    }
    int number = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (ec != std::errc() || end != name.data() + name.size() || number <= 0) {
        return 0;
    }
    return number;
}

} // namespace

int CodePageFromCharSet(int charSet)
{
    for (const auto& entry : kCharSets) {
        if (entry.charSet == charSet) {
            return entry.codePage;
        }
    }
    return kDefaultAnsiCodePage;
}

bool IsLeadByte(int codePage, uint8_t byte)
{
    if (codePage == kDefaultAnsiCodePage) {
        codePage = DefaultCodePage().number;
    }
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    case 1361:
        return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE) ||
               (byte >= 0xE0 && byte <= 0xF9);
    default:
        return false;
    }
}

QString DecodeCodePage(int codePage, std::string_view bytes)
{
    if (bytes.empty()) {
        return {};
    }
    QStringDecoder* decoder = Decoder(codePage);
    if (!decoder) {
        // No converter for this code page (Johab): keep the bytes as Latin-1 rather than lose them.
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return decoder->decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool SetDefaultAnsiCodePage(std::string_view name)
{
    const int number = ParseCodePageNumber(name);
    if (number != 0) {
        QByteArray decoderName = DecoderName(number);
        if (!QStringDecoder(decoderName.constData()).isValid()) {
            return false;
        }
        DefaultCodePage() = {decoderName, number};
        return true;
    }
    const QByteArray asked(name.data(), static_cast<qsizetype>(name.size()));
    if (asked.isEmpty() || !QStringDecoder(asked.constData()).isValid()) {
        return false;
    }
    // Names of the double-byte code pages keep their lead-byte table.
    const QByteArray lower = asked.toLower();
    int known = 0;
    if (lower == "shift_jis" || lower == "sjis" || lower == "shift-jis") {
        known = 932;
    } else if (lower == "gbk" || lower == "gb2312") {
        known = 936;
    } else if (lower == "euc-kr" || lower == "uhc") {
        known = 949;
    } else if (lower == "big5") {
        known = 950;
    }
    DefaultCodePage() = {asked, known};
    return true;
}

QByteArray DefaultAnsiCodePageName()
{
    return DefaultCodePage().name;
}

} // namespace quillary::scripts
