// CWebTextFile: downloads from a small HTTP server that the test runs on 127.0.0.1.
#include "scripts/web_text_file.h"

#include "script_test_support.h"

#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace quillary::scripts {
namespace {

// Answers GET requests from a fixed table of paths; everything else is a 404. Runs on the test's
// thread: the download's local event loop serves it.
class CTinyHttpServer {
public:
    explicit CTinyHttpServer(std::map<QByteArray, QByteArray> files) : m_files(std::move(files))
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { Accept(); });
        m_listening = m_server.listen(QHostAddress::LocalHost, 0);
    }

    [[nodiscard]] bool IsListening() const { return m_listening; }
    [[nodiscard]] QString Url(const char* path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

private:
    void Accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                *request += socket->readAll();
                if (!request->contains("\r\n\r\n")) {
                    return;
                }
                const QByteArray path = request->split(' ').value(1);
                const auto it = m_files.find(path);
                QByteArray response;
                if (it == m_files.end()) {
                    response = "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n"
                               "Connection: close\r\n\r\nnot found";
                } else {
                    response = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                               "Connection: close\r\nContent-Length: " +
                               QByteArray::number(it->second.size()) + "\r\n\r\n" + it->second;
                }
                socket->write(response);
                socket->disconnectFromHost();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    QTcpServer m_server;
    std::map<QByteArray, QByteArray> m_files;
    bool m_listening = false;
};

const QByteArray kSmallScript = "1\r\n00:00:01,000 --> 00:00:02,000\r\nfrom the web\r\n";

QByteArray BigFile()
{
    QByteArray big;
    for (int i = 0; big.size() < 1'500'000; ++i) {
        big += QByteArray::number(i) + " filler line of a large download\n";
    }
    return big;
}

TEST(WebTextFileTest, DownloadsIntoAPrivateTemporaryFile)
{
    CTinyHttpServer server({{"/dir/small.srt?x=1", kSmallScript}, {"/big.txt", BigFile()}});
    ASSERT_TRUE(server.IsListening());

    CWebTextFile file;
    ASSERT_TRUE(file.Open(server.Url("/dir/small.srt?x=1")));
    const QString temp = file.GetTempFileName();
    EXPECT_EQ(QFileInfo(temp).fileName(), "small.srt");
    EXPECT_EQ(file.GetFilePath(), temp);
    EXPECT_EQ(QFileInfo(QFileInfo(temp).path()).permissions() &
                  (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther |
                   QFileDevice::WriteGroup),
              QFileDevice::Permissions());
    QString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "1");
    file.Close();
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(temp).path()));

    ASSERT_TRUE(file.Open(server.Url("/big.txt")));
    EXPECT_EQ(file.GetLength(), 1'048'576u);

    CWebTextFile unlimited(-1);
    ASSERT_TRUE(unlimited.Open(server.Url("/big.txt")));
    EXPECT_EQ(unlimited.GetLength(), static_cast<uint64_t>(BigFile().size()));
}

TEST(WebTextFileTest, FailsOnHttpErrorsAndRefusedConnections)
{
    CTinyHttpServer server({});
    ASSERT_TRUE(server.IsListening());
    CWebTextFile file;
    EXPECT_FALSE(file.Open(server.Url("/missing.srt")));
    EXPECT_TRUE(file.GetTempFileName().isEmpty());

    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    EXPECT_FALSE(file.Open(QStringLiteral("http://127.0.0.1:%1/a.srt").arg(closedPort)));
    EXPECT_FALSE(file.Open(QStringLiteral("http://")));
}

TEST(WebTextFileTest, ScriptOpensFromAnAddress)
{
    CTinyHttpServer server({{"/movie.srt", kSmallScript}});
    ASSERT_TRUE(server.IsListening());
    CSimpleTextSubtitle script;
    ASSERT_TRUE(script.Open(server.Url("/movie.srt"), 1));
    EXPECT_EQ(script.name, "movie");
    ASSERT_EQ(script.GetCount(), 1u);
    EXPECT_EQ(script.GetText(0), "from the web");
}

} // namespace
} // namespace quillary::scripts
