#include "support/RawHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace losfix::testing {

namespace {

// With a linger time of zero, closing sends a reset instead of the orderly end.
void ResetOnClose(QTcpSocket& socket) {
    linger option{};
    option.l_onoff = 1;
    option.l_linger = 0;
#ifdef _WIN32
    setsockopt(static_cast<SOCKET>(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER,
               reinterpret_cast<const char*>(&option), sizeof option);
#else
    setsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &option,
               sizeof option);
#endif
}

}  // namespace

RawHttpServer::RawHttpServer() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, &RawHttpServer::accept);
}

void RawHttpServer::answer(const std::string& path, const std::string& bytes, Ending ending) {
    answers_[path] = {bytes, ending};
}

std::string RawHttpServer::url() const {
    return "http://127.0.0.1:" + std::to_string(server_.serverPort());
}

int RawHttpServer::requestsFor(const std::string& path) const {
    const auto found = requests_.find(path);
    return found == requests_.end() ? 0 : found->second;
}

void RawHttpServer::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            if (received->endsWith("\r\n\r\n")) {
                return;  // answered already
            }
            *received += socket->readAll();
            const qsizetype end = received->indexOf("\r\n\r\n");
            if (end < 0) {
                return;
            }
            received->truncate(end + 4);
            lastRequest_ = received->toStdString();
            // "GET <path> HTTP/1.1"
            const QList<QByteArray> words = received->left(received->indexOf("\r\n")).split(' ');
            serve(socket, words.size() >= 2 ? words[1].toStdString() : std::string());
        });
    }
}

void RawHttpServer::serve(QTcpSocket* socket, const std::string& path) {
    ++requests_[path];
    const auto found = answers_.find(path);
    const Scripted scripted =
        found != answers_.end()
            ? found->second
            : Scripted{HttpAnswer("HTTP/1.1 404 Not Found",
                                  "Content-Length: 6\r\nConnection: close", "Fehlt."),
                       Ending::Close};
    socket->write(scripted.bytes.data(), static_cast<qint64>(scripted.bytes.size()));
    socket->flush();
    if (scripted.ending == Ending::Close) {
        socket->disconnectFromHost();
        return;
    }
    // The client takes in the whole body before the reset arrives.
    QTimer::singleShot(200, socket, [socket] {
        ResetOnClose(*socket);
        socket->abort();
        socket->deleteLater();
    });
}

std::string HttpAnswer(const std::string& statusLine, const std::string& headers,
                       const std::string& body) {
    std::string answer = statusLine + "\r\n";
    if (!headers.empty()) {
        answer += headers + "\r\n";
    }
    return answer + "\r\n" + body;
}

std::string Chunked(const std::string& body, std::size_t chunk) {
    static const char* const kHex = "0123456789abcdef";
    std::string chunked;
    for (std::size_t at = 0; at < body.size(); at += chunk) {
        const std::string part = body.substr(at, chunk);
        std::string size;
        for (std::size_t n = part.size(); n > 0; n /= 16) {
            size.insert(size.begin(), kHex[n % 16]);
        }
        chunked += size + "\r\n" + part + "\r\n";
    }
    return chunked + "0\r\n\r\n";
}

}  // namespace losfix::testing
