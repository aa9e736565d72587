// CFileSink: checked writes to a file.
#include "pgs/byte_sink.h"

#include <cerrno>
#include <cstring>

namespace quillary::pgs {

CFileSink::~CFileSink()
{
    if (m_file != nullptr)
        std::fclose(m_file);
}

bool CFileSink::Open(const std::string& path)
{
    m_path = path;
    m_error.clear();
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file == nullptr) {
        Fail(errno);
        return false;
    }
    return true;
}

bool CFileSink::Write(const uint8_t* bytes, size_t size)
{
    if (m_file == nullptr) {
        if (m_error.empty())
            Fail(EBADF);
        return false;
    }
    if (size == 0)
        return true;
    if (std::fwrite(bytes, 1, size, m_file) != size) {
        Fail(errno);
        return false;
    }
    return true;
}

bool CFileSink::Close()
{
    if (m_file == nullptr)
        return m_error.empty();
    const bool flushed = std::fflush(m_file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(m_file) == 0;
    const int closeError = errno;
    m_file = nullptr;
    if (!flushed)
        Fail(flushError);
    else if (!closed)
        Fail(closeError);
    return m_error.empty();
}

void CFileSink::Fail(int errorNumber)
{
    if (m_error.empty())
        m_error = m_path + ": " + std::strerror(errorNumber ? errorNumber : EIO);
}

} // namespace quillary::pgs
