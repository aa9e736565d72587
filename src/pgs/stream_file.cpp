// CStreamFile: creating, filling, closing and discarding the output files.
#include "pgs/stream_file.h"

#include <filesystem>

namespace quillary::pgs {

namespace {
// Removes `path` when it is a regular file: an output named /dev/null stays where it is.
void RemoveOutput(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error))
        std::filesystem::remove(path, error);
}
} // namespace

std::string CStreamFile::IndexPathFor(const std::string& pesPath)
{
    std::string path;
    path.reserve(pesPath.size() + 4);
    path.append(pesPath).append(".mui");
    return path;
}

bool CStreamFile::Open(const std::string& path, OutputKind kind)
{
    m_path = path;
    m_kind = kind;
    if (!m_output.Open(path))
        return false;
    m_outputCreated = true;
    if (kind == OutputKind::Pes) {
        m_index = std::make_unique<CFileSink>();
        m_indexCreated = m_index->Open(IndexPathFor(path));
        if (!m_indexCreated || !m_index->Write(kMuiFileHeader.data(), kMuiFileHeader.size())) {
            Discard();
            return false;
        }
    }
    m_writer = std::make_unique<CStreamWriter>(m_output, m_index.get(), kind);
    return true;
}

WriteStatus CStreamFile::WriteEpoch(CEpochData& epoch)
{
    if (!m_writer)
        return WriteStatus::WriteFailed;
    return m_writer->WriteEpoch(epoch);
}

bool CStreamFile::Close()
{
    bool ok = m_writer != nullptr;
    m_writer.reset();
    if (m_index) {
        const auto terminator = IndexTerminator();
        ok = m_index->Write(terminator.data(), terminator.size()) && ok;
        ok = m_index->Close() && ok;
    }
    ok = m_output.Close() && ok;
    return ok;
}

void CStreamFile::Discard()
{
    m_writer.reset();
    // Only files this stream created are removed; a file that could not be opened may be
    // someone else's, and devices are never removed.
    (void)m_output.Close();
    if (m_outputCreated)
        RemoveOutput(m_path);
    if (m_index) {
        (void)m_index->Close();
        if (m_indexCreated)
            RemoveOutput(m_index->Path());
    }
    m_outputCreated = m_indexCreated = false;
}

std::string CStreamFile::ErrorText() const
{
    if (!m_output.ErrorText().empty())
        return m_output.ErrorText();
    if (m_index)
        return m_index->ErrorText();
    return {};
}

} // namespace quillary::pgs
