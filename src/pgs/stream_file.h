// CStreamFile: the output files of one build: a .sup file, or a .pes file with its .mui index.
#pragma once

#include "pgs/byte_sink.h"
#include "pgs/stream_writer.h"

#include <memory>
#include <string>

namespace quillary::pgs {

class CStreamFile final : public IEpochSink {
public:
    // The index file of a .pes file: its full name with ".mui" appended.
    static std::string IndexPathFor(const std::string& pesPath);

    // Creates the output (and for .pes the index, with its file header). On failure nothing is
    // left behind and ErrorText() says why.
    [[nodiscard]] bool Open(const std::string& path, OutputKind kind);

    // Writes an epoch. Invalid epochs are not written from the failing display set on;
    // WriteFailed means the files are unusable.
    [[nodiscard]] WriteStatus WriteEpoch(CEpochData& epoch) override;

    // Writes the index's terminating record and closes both files; false when any write,
    // flush or close failed.
    [[nodiscard]] bool Close();

    // Closes both files and deletes them (after a cancel or a failure).
    void Discard();

    const std::string& Path() const { return m_path; }
    OutputKind Kind() const { return m_kind; }
    // "<path>: <reason>" of the first failure, or empty.
    std::string ErrorText() const;

private:
    std::string m_path;
    OutputKind m_kind = OutputKind::Sup;
    CFileSink m_output;
    std::unique_ptr<CFileSink> m_index;
    std::unique_ptr<CStreamWriter> m_writer;
    bool m_outputCreated = false;
    bool m_indexCreated = false;
};

} // namespace quillary::pgs
