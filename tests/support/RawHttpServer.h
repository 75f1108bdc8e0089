#pragma once

#include <QObject>
#include <QTcpServer>
#include <map>
#include <string>

class QTcpSocket;

namespace losfix::testing {

// An HTTP server on 127.0.0.1 that sends every answer byte for byte as scripted, also the ones a
// server library will not send: a body that only the closed connection ends, a connection reset
// after the body. It serves on the thread that creates it, so a download's local event loop runs
// it; each connection gets one answer and is then closed. Unscripted paths get a 404.
class RawHttpServer : public QObject {
public:
    enum class Ending { Close, Reset };

    RawHttpServer();

    void answer(const std::string& path, const std::string& bytes, Ending ending = Ending::Close);
    // "http://127.0.0.1:<port>", without a closing "/".
    std::string url() const;
    int requestsFor(const std::string& path) const;
    // The request line and headers of the last request.
    const std::string& lastRequest() const { return lastRequest_; }

private:
    struct Scripted {
        std::string bytes;
        Ending ending = Ending::Close;
    };

    void accept();
    void serve(QTcpSocket* socket, const std::string& path);

    QTcpServer server_;
    std::map<std::string, Scripted> answers_;
    std::map<std::string, int> requests_;
    std::string lastRequest_;
};

// A whole HTTP answer: the status line ("HTTP/1.1 200 OK"), the header lines as given (separated
// by "\r\n"), a blank line and the body.
std::string HttpAnswer(const std::string& statusLine, const std::string& headers,
                       const std::string& body);
// A body in chunks of at most `chunk` bytes, with the closing chunk of length zero.
std::string Chunked(const std::string& body, std::size_t chunk);

}  // namespace losfix::testing
