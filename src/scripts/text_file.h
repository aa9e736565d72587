// CTextFile: reads a script file line by line as 16-bit text, detecting its encoding.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace quillary::scripts {

class CTextFile {
public:
    // The numbers are the values the script model stores.
    enum class Encoding : int32_t { Ascii = 0, Utf8 = 1, Utf16Le = 2, Utf16Be = 3 };

    CTextFile() = default;
    virtual ~CTextFile() = default;
    CTextFile(const CTextFile&) = delete;
    CTextFile& operator=(const CTextFile&) = delete;

    // Opens a local file and detects its encoding from the byte-order mark. A file without a mark
    // whose bytes are valid UTF-8 and hold at least one non-ASCII character is read as UTF-8
    // (offset 0); any other file without a mark is read as single bytes with CR LF read as LF.
    [[nodiscard]] virtual bool Open(const QString& fileName);
    // The same over bytes already in memory; `path` is only reported by GetFilePath.
    [[nodiscard]] bool OpenBytes(QByteArray bytes, const QString& path = {});
    virtual void Close();

    // Reads the next line without its terminator into `str` (emptied first). True when at least
    // one byte was read, an empty line included; false at the end of the file.
    [[nodiscard]] bool ReadString(QString& str);

    // Positions count bytes from the start of the text, the byte-order mark excluded.
    [[nodiscard]] uint64_t GetPosition() const;
    [[nodiscard]] uint64_t GetLength() const;
    // Clamps `position` to 0 .. GetLength() and returns the new position.
    uint64_t Seek(uint64_t position);

    [[nodiscard]] const QString& GetFilePath() const { return m_path; }
    [[nodiscard]] Encoding GetEncoding() const { return encoding; }
    [[nodiscard]] int32_t GetOffset() const { return offset; }
    [[nodiscard]] bool IsOpen() const { return m_open; }
    [[nodiscard]] bool IsUnicode() const { return encoding != Encoding::Ascii; }

private:
    void DetectEncoding();
    bool ReadAscii(QString& str);
    bool ReadUtf8(QString& str);
    bool ReadUtf16(QString& str, bool bigEndian);

    Encoding encoding = Encoding::Ascii;
    Encoding defaultEncoding = Encoding::Ascii;
    int32_t offset = 0; // length of the byte-order mark in bytes

    QByteArray m_data;   // the whole file; scripts are small and are read at once
    qsizetype m_pos = 0; // byte index into m_data, mark included
    QString m_path;
    bool m_open = false;
};

[[nodiscard]] const char* EncodingName(CTextFile::Encoding encoding);

} // namespace quillary::scripts
