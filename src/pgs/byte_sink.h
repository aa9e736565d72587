// Destinations of written stream bytes: a file, or memory for tests and tools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quillary::pgs {

class IByteSink {
public:
    virtual ~IByteSink() = default;
    // Whether every byte was accepted.
    [[nodiscard]] virtual bool Write(const uint8_t* bytes, size_t size) = 0;
};

class CMemorySink final : public IByteSink {
public:
    [[nodiscard]] bool Write(const uint8_t* bytes, size_t size) override
    {
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
        return true;
    }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

// A file opened for writing. A failure of any write, or of the final flush and close, is kept
// with the system's reason so that the caller can report it.
class CFileSink final : public IByteSink {
public:
    CFileSink() = default;
    CFileSink(const CFileSink&) = delete;
    CFileSink& operator=(const CFileSink&) = delete;
    ~CFileSink() override;

    // Creates or truncates `path`.
    [[nodiscard]] bool Open(const std::string& path);
    [[nodiscard]] bool Write(const uint8_t* bytes, size_t size) override;
    // Flushes and closes; false when that, or any earlier write, failed.
    [[nodiscard]] bool Close();
    bool IsOpen() const { return m_file != nullptr; }
    const std::string& Path() const { return m_path; }
    // "<path>: <reason>" of the first failure, or empty.
    const std::string& ErrorText() const { return m_error; }

private:
    void Fail(int errorNumber);

    std::FILE* m_file = nullptr;
    std::string m_path;
    std::string m_error;
};

} // namespace quillary::pgs
