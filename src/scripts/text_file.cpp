// CTextFile: byte-order-mark detection and the four line readers.
#include "scripts/text_file.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace quillary::scripts {
namespace {

// Strict UTF-8 check: no overlong forms, no surrogates, nothing above U+10FFFF.
// Returns true when the bytes are valid UTF-8 and at least one of them is not ASCII.
bool IsNonAsciiUtf8(const QByteArray& data)
{
    const auto* p = reinterpret_cast<const uint8_t*>(data.constData());
    const auto* end = p + data.size();
    bool nonAscii = false;
    while (p < end) {
        const uint8_t b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        nonAscii = true;
        int length = 0;
        uint32_t min = 0;
        uint32_t cp = 0;
        if ((b & 0xE0) == 0xC0) {
            length = 2, min = 0x80, cp = b & 0x1Fu;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3, min = 0x800, cp = b & 0x0Fu;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4, min = 0x10000, cp = b & 0x07u;
        } else {
            return false;
        }
        if (end - p < length) {
            return false;
        }
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (p[i] & 0x3Fu);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        p += length;
    }
    return nonAscii;
}

} // namespace

bool CTextFile::Open(const QString& fileName)
{
    CTextFile::Close();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    return OpenBytes(std::move(bytes), fileName);
}

bool CTextFile::OpenBytes(QByteArray bytes, const QString& path)
{
    CTextFile::Close();
    m_data = std::move(bytes);
    m_path = path;
    m_open = true;
    DetectEncoding();
    return true;
}

void CTextFile::DetectEncoding()
{
    encoding = defaultEncoding;
    offset = 0;
    const auto byte = [this](qsizetype i) { return static_cast<uint8_t>(m_data[i]); };
    if (m_data.size() > 1) {
        if (byte(0) == 0xFF && byte(1) == 0xFE) {
            encoding = Encoding::Utf16Le, offset = 2;
        } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
            encoding = Encoding::Utf16Be, offset = 2;
        } else if (byte(0) == 0xEF && byte(1) == 0xBB && m_data.size() > 2 && byte(2) == 0xBF) {
            encoding = Encoding::Utf8, offset = 3;
        }
    }
    // Most scripts today are UTF-8 without a mark; reading them as single bytes through a legacy
    // code page would garble every accented letter.
    if (encoding == defaultEncoding && IsNonAsciiUtf8(m_data)) {
        encoding = Encoding::Utf8;
    }
    m_pos = offset;
}

void CTextFile::Close()
{
    m_data.clear();
    m_path.clear();
    m_pos = 0;
    offset = 0;
    encoding = defaultEncoding;
    m_open = false;
}

bool CTextFile::ReadString(QString& str)
{
    str.clear();
    if (!m_open || m_pos >= m_data.size()) {
        return false;
    }
    switch (encoding) {
    case Encoding::Ascii:
        return ReadAscii(str);
    case Encoding::Utf8:
        return ReadUtf8(str);
    case Encoding::Utf16Le:
        return ReadUtf16(str, false);
    case Encoding::Utf16Be:
        return ReadUtf16(str, true);
    }
    return false;
}

// Text mode: a CR LF pair reads as LF; a CR anywhere else stays in the line. Every byte becomes
// the character of the same value; the code page is applied later by the script model.
bool CTextFile::ReadAscii(QString& str)
{
    const char* data = m_data.constData();
    const qsizetype size = m_data.size();
    const char* begin = data + m_pos;
    const char* lf = static_cast<const char*>(std::memchr(begin, '\n', size - m_pos));
    const char* lineEnd = lf ? lf : data + size;
    m_pos = lf ? (lf - data) + 1 : size;
    if (lf && lineEnd > begin && lineEnd[-1] == '\r') {
        --lineEnd;
    }
    str = QString::fromLatin1(begin, lineEnd - begin);
    return true;
}

// Two- and three-byte sequences are decoded without checking their continuation bytes; any other
// byte with the high bit set reads as "?". The CR and LF tests apply to the decoded character.
bool CTextFile::ReadUtf8(QString& str)
{
    const auto* data = reinterpret_cast<const uint8_t*>(m_data.constData());
    const qsizetype size = m_data.size();
    while (m_pos < size) {
        const uint8_t lead = data[m_pos++];
        char16_t c = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            if (m_pos >= size) {
                break;
            }
            c = static_cast<char16_t>(((lead & 0x1F) << 6) | (data[m_pos++] & 0x3F));
        } else if ((lead & 0xF0) == 0xE0) {
            if (size - m_pos < 2) {
                m_pos = size;
                break;
            }
            c = static_cast<char16_t>(((lead & 0x0F) << 12) | ((data[m_pos] & 0x3F) << 6) |
                                      (data[m_pos + 1] & 0x3F));
            m_pos += 2;
        } else {
            str += QLatin1Char('?');
            continue;
        }
        if (c == u'\n') {
            break;
        }
        if (c != u'\r') {
            str += QChar(c);
        }
    }
    return true;
}

// Every 16-bit unit is kept as it is (surrogate pairs pass through); CR is dropped anywhere.
bool CTextFile::ReadUtf16(QString& str, bool bigEndian)
{
    const auto* data = reinterpret_cast<const uint8_t*>(m_data.constData());
    const qsizetype size = m_data.size();
    while (size - m_pos >= 2) {
        const uint8_t first = data[m_pos];
        const uint8_t second = data[m_pos + 1];
        m_pos += 2;
        const auto c =
            static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        if (c == u'\n') {
            return true;
        }
        if (c != u'\r') {
            str += QChar(c);
        }
    }
    m_pos = size; // a lone last byte ends the file
    return true;
}

uint64_t CTextFile::GetPosition() const
{
    return m_open ? static_cast<uint64_t>(m_pos - offset) : 0;
}

uint64_t CTextFile::GetLength() const
{
    return m_open ? static_cast<uint64_t>(m_data.size() - offset) : 0;
}

uint64_t CTextFile::Seek(uint64_t position)
{
    if (!m_open) {
        return 0;
    }
    position = std::min(position, GetLength());
    m_pos = static_cast<qsizetype>(position) + offset;
    return position;
}

const char* EncodingName(CTextFile::Encoding encoding)
{
    switch (encoding) {
    case CTextFile::Encoding::Ascii:
        return "single-byte (code page)";
    case CTextFile::Encoding::Utf8:
        return "UTF-8";
    case CTextFile::Encoding::Utf16Le:
        return "UTF-16 LE";
    case CTextFile::Encoding::Utf16Be:
        return "UTF-16 BE";
    }
    return "?";
}

} // namespace quillary::scripts
