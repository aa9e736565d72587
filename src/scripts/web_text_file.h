// CWebTextFile: a CTextFile that can also fetch its script from an "http://" address.
#pragma once

#include "scripts/text_file.h"

#include <cstdint>
#include <memory>

class QTemporaryDir;

namespace quillary::scripts {

class CWebTextFile : public CTextFile {
public:
    static constexpr int64_t kDefaultMaxSize = 1'048'576;

    // `maxSize` limits a download in bytes; negative means no limit.
    explicit CWebTextFile(int64_t maxSize = kDefaultMaxSize);
    ~CWebTextFile() override;

    // A name that begins with "http://" is downloaded into a private temporary file, which is
    // then opened as a local file; every other name is opened as a local file. A download needs
    // a running QCoreApplication (it spins a local event loop) and fails without one.
    [[nodiscard]] bool Open(const QString& fileName) override;
    // Closes the file and deletes a downloaded temporary file.
    void Close() override;

    [[nodiscard]] const QString& GetTempFileName() const { return tempFileName; }

private:
    int64_t maxSize;
    QString tempFileName;
    std::unique_ptr<QTemporaryDir> m_tempDir;
};

} // namespace quillary::scripts
