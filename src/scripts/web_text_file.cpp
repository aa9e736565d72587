// CWebTextFile: the HTTP download goes through Qt Network into a file of a private temporary
// directory, so no other user can plant or read it.
#include "scripts/web_text_file.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

namespace quillary::scripts {
namespace {

constexpr int kBlockSize = 1024;
constexpr int kTransferTimeoutMs = 60'000;

// The downloaded file is named after the last part of the address, without a query.
QString TempFileBaseName(const QString& address)
{
    QString base = address.mid(address.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype query = base.indexOf(QLatin1Char('?'), 1);
    if (query > 0) {
        base.truncate(query);
    }
    base.remove(QLatin1Char('\\'));
    if (base.isEmpty() || base == QLatin1String(".") || base == QLatin1String("..") ||
        base.startsWith(QLatin1Char('?'))) {
        base = QStringLiteral("download");
    }
    return base;
}

bool IsLoopback(const QUrl& url)
{
    const QString host = url.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

// Copies the body of a GET of `url` into `out`, stopping after the block that reaches `maxSize`
// bytes (whole 1,024-byte blocks, as the limit has always counted them). False on any network or
// HTTP error.
bool Download(const QUrl& url, int64_t maxSize, QFile& out)
{
    if (!QCoreApplication::instance()) {
        return false;
    }
    int64_t limit = -1;
    if (maxSize >= 0) {
        limit = std::max<int64_t>(kBlockSize, (maxSize + kBlockSize - 1) / kBlockSize * kBlockSize);
    }

    QNetworkAccessManager manager;
    if (IsLoopback(url)) {
        manager.setProxy(QNetworkProxy::NoProxy);
    } else {
        const auto proxies = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
        if (!proxies.isEmpty()) {
            manager.setProxy(proxies.first());
        }
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply* reply = manager.get(request);

    QEventLoop loop;
    int64_t total = 0;
    bool cut = false;
    bool writeFailed = false;
    const auto copy = [&] {
        while (!cut && reply->bytesAvailable() > 0) {
            int64_t want = reply->bytesAvailable();
            if (limit >= 0) {
                want = std::min(want, limit - total);
            }
            const QByteArray block = reply->read(want);
            if (block.isEmpty()) {
                break;
            }
            if (out.write(block) != block.size()) {
                writeFailed = true;
            }
            total += block.size();
            if (limit >= 0 && total >= limit) {
                cut = true;
                reply->abort();
            }
        }
    };
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, copy);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    copy();
    const bool ok = !writeFailed && (cut || reply->error() == QNetworkReply::NoError);
    return ok;
}

} // namespace

CWebTextFile::CWebTextFile(int64_t maxSize_) : maxSize(maxSize_) {}

CWebTextFile::~CWebTextFile()
{
    Close();
}

bool CWebTextFile::Open(const QString& fileName)
{
    Close();
    if (!fileName.startsWith(QLatin1String("http://"))) {
        return CTextFile::Open(fileName);
    }
    const QUrl url(fileName, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()) {
        return false;
    }
    auto dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid()) {
        return false;
    }
    const QString path = dir->filePath(TempFileBaseName(fileName));
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            return false;
        }
        if (!Download(url, maxSize, out)) {
            return false; // the directory and its file go with `dir`
        }
        out.close();
        if (out.error() != QFileDevice::NoError) {
            return false;
        }
    }
    m_tempDir = std::move(dir);
    tempFileName = path;
    return CTextFile::Open(path);
}

void CWebTextFile::Close()
{
    CTextFile::Close();
    if (!tempFileName.isEmpty()) {
        QFile::remove(tempFileName);
        tempFileName.clear();
    }
    m_tempDir.reset();
}

} // namespace quillary::scripts
