#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/online/Download.h"
#include "core/online/VersionInfo.h"
#include "platform/Files.h"
#include "platform/QtNetwork.h"
#include "support/RawHttpServer.h"
#include "support/TestContext.h"

namespace losfix {
namespace {

using namespace std::chrono_literals;
using httplib::Request;
using httplib::Response;

// Serves on 127.0.0.1, on a thread of its own, for the life of the object.
template <typename Server>
struct Running {
    explicit Running(Server& server) : server(server) {
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { this->server.listen_after_bind(); });
    }
    ~Running() {
        server.stop();
        thread.join();
    }
    Server& server;
    int port = -1;
    std::thread thread;
};

// Bodies of n bytes, error pages, a transfer cut off after 10 of 100 bytes, one that stalls after
// 2 bytes, a file the test sets, and a record of the last request's headers.
class LoopbackServer {
public:
    LoopbackServer() {
        server_.Get(R"(/body/(\d+))", [](const Request& request, Response& response) {
            response.set_content(std::string(std::stoul(request.matches[1]), 'x'), "text/plain");
        });
        server_.Get(R"(/status/(\d+))", [](const Request& request, Response& response) {
            response.status = std::stoi(request.matches[1]);
            response.set_content("<html><p>Diese Seite ist kein Programm.</p></html>", "text/html");
        });
        server_.Get("/cut", [](const Request&, Response& response) {
            response.set_content_provider(
                100, "text/plain", [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                    return offset == 0 && sink.write("0123456789", 10);
                });
        });
        server_.Get("/stall", [this](const Request&, Response& response) {
            response.set_content_provider(
                10, "text/plain", [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                    if (offset == 0) {
                        return sink.write("01", 2);
                    }
                    for (int i = 0; i < 1000 && !released_; ++i) {
                        std::this_thread::sleep_for(10ms);
                    }
                    stallEnded = true;
                    return false;
                });
        });
        server_.Get("/file", [this](const Request& request, Response& response) {
            const std::lock_guard lock(mutex_);
            headers = {request.get_header_value("User-Agent"),
                       request.get_header_value("Cache-Control")};
            response.set_content(file, "application/octet-stream");
        });
        running_.emplace(server_);
    }
    ~LoopbackServer() {
        released_ = true;
        running_.reset();
    }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(running_->port) + path;
    }

    std::mutex mutex_;
    std::string file;                             // under the mutex
    std::pair<std::string, std::string> headers;  // under the mutex
    std::atomic<bool> stallEnded{false};

private:
    httplib::Server server_;
    std::optional<Running<httplib::Server>> running_;
    std::atomic<bool> released_{false};
};

class NetworkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "platform_tests";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }

    bool download(const std::string& url) {
        return DownloadFile(access_, FreshRequest(url), target_);
    }
    std::string target() const { return testing::ReadFileBytes(target_); }
    void serve(const std::string& bytes) {
        const std::lock_guard lock(server_.mutex_);
        server_.file = bytes;
    }

    LoopbackServer server_;
    QtNetwork network_;
    QTemporaryDir dir_;
    LocalFileSystem files_;
    OnlineAccess access_{network_, files_, dir_.filePath("tmp.tmp").toStdString(), "unused"};
    std::string target_ = dir_.filePath("Ziel Datei.lfx").toStdString();
};

TEST_F(NetworkTest, FourBytesAreTheLeastThatCount) {
    for (int size = 0; size < 4; ++size) {
        EXPECT_FALSE(download(server_.url("/body/" + std::to_string(size)))) << size;
        EXPECT_FALSE(files_.exists(target_));
    }
    EXPECT_TRUE(download(server_.url("/body/4")));
    EXPECT_EQ(target(), "xxxx");
    // Two downloads in a row: the second's first fetch replaces the probe.
    EXPECT_TRUE(download(server_.url("/body/30")));
    EXPECT_EQ(target(), std::string(30, 'x'));
    EXPECT_EQ(testing::ReadFileBytes(access_.probeFile), target());
}

TEST_F(NetworkTest, ErrorPagesRefusedAndBrokenTransfersFail) {
    ASSERT_TRUE(testing::WriteFileBytes(target_, "old"));
    for (const int status : {404, 500}) {
        const std::string url = server_.url("/status/" + std::to_string(status));
        const DownloadResult page = network_.download(FreshRequest(url));
        EXPECT_FALSE(page.ok);
        EXPECT_EQ(page.httpStatus, status);
        EXPECT_NE(page.bytes.find("kein Programm"), std::string::npos);
        EXPECT_FALSE(download(url));
    }
    const DownloadResult refused = network_.download(FreshRequest("http://127.0.0.1:1/x"));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.httpStatus, 0);

    const DownloadResult cut = network_.download(FreshRequest(server_.url("/cut")));
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.errorText, "Die Verbindung wurde unterbrochen");
    EXPECT_FALSE(download(server_.url("/cut")));
    EXPECT_EQ(target(), "old");
}

TEST_F(NetworkTest, StalledAndOversizedTransfersFail) {
    DownloadRequest stall = FreshRequest(server_.url("/stall"));
    stall.idleTimeout = 300ms;
    const DownloadResult stalled = network_.download(stall);
    EXPECT_FALSE(stalled.ok);
    EXPECT_EQ(stalled.errorText, "Zeitüberschreitung");
    EXPECT_FALSE(server_.stallEnded) << "gave up only when the server did";

    const std::string big = server_.url("/body/70000");
    EXPECT_FALSE(network_.download(FreshRequest(big)).ok);
    EXPECT_EQ(network_.download(InstallerRequest(big)).bytes.size(), 70000u);
}

TEST_F(NetworkTest, AFinishedTransferIsNotTimedOutByABusyWindow) {
    // A message box or a run opened while the transfer runs holds its own event loop open past
    // the idle timeout; the transfer finished meanwhile and counts.
    DownloadRequest request = FreshRequest(server_.url("/body/100"));
    request.idleTimeout = 800ms;
    bool nestedLoopRan = false;
    QTimer::singleShot(0, [&] {
        QEventLoop nested;
        QTimer::singleShot(2500ms, &nested, &QEventLoop::quit);
        nested.exec();
        nestedLoopRan = true;
    });
    const DownloadResult result = network_.download(request);
    EXPECT_TRUE(nestedLoopRan);
    EXPECT_TRUE(result.ok) << result.errorText;
    EXPECT_EQ(result.bytes, std::string(100, 'x'));
}

TEST_F(NetworkTest, OnlyABodyOfTheAnnouncedLengthCounts) {
    using testing::Chunked;
    using testing::HttpAnswer;
    using Ending = testing::RawHttpServer::Ending;
    const std::string body(5000, 'u');
    const struct {
        const char* name;
        std::string answer;
        Ending ending;
        bool ok;
    } cases[] = {
        {"length met", HttpAnswer("HTTP/1.1 200 OK", "Content-Length: 5000", body), Ending::Close,
         true},
        {"HTTP/1.0, length met", HttpAnswer("HTTP/1.0 200 OK", "Content-Length: 5000", body),
         Ending::Close, true},
        // Whole, but Qt cannot tell it from the cut one below.
        {"chunks", HttpAnswer("HTTP/1.1 200 OK", "Transfer-Encoding: chunked", Chunked(body, 1500)),
         Ending::Close, false},
        // The end of these is only the end of the connection.
        {"closed", HttpAnswer("HTTP/1.1 200 OK", "Connection: close", body), Ending::Close, false},
        {"HTTP/1.0, closed", HttpAnswer("HTTP/1.0 200 OK", "", body), Ending::Close, false},
        {"reset", HttpAnswer("HTTP/1.1 200 OK", "", body), Ending::Reset, false},
        // Cut short of what was announced.
        {"length not met", HttpAnswer("HTTP/1.1 200 OK", "Content-Length: 6000", body),
         Ending::Close, false},
        {"no last chunk",
         HttpAnswer("HTTP/1.1 200 OK", "Transfer-Encoding: chunked",
                    Chunked(body, 1000).substr(0, 3000)),
         Ending::Close, false},
    };
    for (const auto& c : cases) {
        testing::RawHttpServer raw;
        raw.answer("/f", c.answer, c.ending);
        const std::string url = raw.url() + "/f";
        const DownloadResult small = network_.download(FreshRequest(url));
        EXPECT_EQ(small.ok, c.ok) << c.name << ": " << small.errorText;
        EXPECT_EQ(network_.download(InstallerRequest(url)).ok, c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(small.bytes, body) << c.name;
        } else {
            EXPECT_FALSE(small.errorText.empty()) << c.name;
        }
        // Without compression the announced length is the length received.
        EXPECT_NE(raw.lastRequest().find("\r\nAccept-Encoding: identity\r\n"), std::string::npos);
    }
}

// One record of the version file: eight filler bytes, the length byte, the text padded to 15.
std::string Record(const std::string& text, int lengthByte) {
    std::string record(8, '\0');
    record += static_cast<char>(lengthByte);
    record += text;
    record.resize(24, ' ');
    return record;
}

TEST_F(NetworkTest, VersionFilesFromTheServer) {
    const struct {
        std::string file;
        bool delivered;
        UpdateWindowState state;  // after a check in a new window
    } cases[] = {
        {Record("1.5.0.0", 7), true, {"1.5.0.0", false, false}},
        {Record("1.4.9.0", 7), true, {"1.4.9.0", true, false}},
        {Record("1.5.0.0", 7) + Record("1.6.0.0", 7), true, {"1.6.0.0", true, false}},
        {Record("1.5.0.0", 7) + "1.6.0.", true, {"1.5.0.0", false, false}},  // 30 bytes
        {Record("1.6.0.0", 0), true, {"", true, false}},
        {"1.6.0.0", true, {}},  // no complete record
        {"", false, {}},
    };
    for (const auto& c : cases) {
        serve(c.file);
        const bool delivered = download(server_.url("/file"));
        EXPECT_EQ(delivered, c.delivered) << c.file.size();
        const auto available = delivered ? ReadVersionFile(files_, target_) : std::nullopt;
        EXPECT_EQ(AfterVersionCheck({}, available), c.state) << c.file.size();
    }
    // The program names itself and asks for a fresh copy of the version file only.
    const std::lock_guard lock(server_.mutex_);
    EXPECT_EQ(server_.headers, std::make_pair(std::string("Quotrix"), std::string("no-cache")));
}

TEST_F(NetworkTest, AnUnverifiableCertificateFails) {
    // A key and a certificate for 127.0.0.1 that nobody vouches for.
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* cert = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    ASSERT_GT(X509_sign(cert, key, EVP_sha256()), 0);
    httplib::SSLServer tls(cert, key);
    X509_free(cert);
    EVP_PKEY_free(key);
    ASSERT_TRUE(tls.is_valid());
    tls.Get("/body", [](const Request&, Response& response) {
        response.set_content("eine ganze Datei", "text/plain");
    });
    const Running running(tls);

    // The server answers a client that does not check the certificate ...
    httplib::SSLClient trusting("127.0.0.1", running.port);
    trusting.enable_server_certificate_verification(false);
    const auto answer = trusting.Get("/body");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);

    // ... but the program checks it.
    const std::string url = "https://127.0.0.1:" + std::to_string(running.port) + "/body";
    const DownloadResult result = network_.download(FreshRequest(url));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorText, "Die sichere Verbindung ließ sich nicht prüfen");
    EXPECT_TRUE(result.bytes.empty());
    EXPECT_FALSE(download(url));
    EXPECT_FALSE(files_.exists(target_));
}

}  // namespace
}  // namespace losfix
