#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <QCoreApplication>
#include <QTemporaryDir>
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
#include "support/TestContext.h"

namespace losfix {
namespace {

using namespace std::chrono_literals;

// Runs a server on 127.0.0.1 on a thread of its own for the life of the object.
template <typename ServerType>
class Running {
public:
    explicit Running(ServerType& server) : server_(server) {
        port = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~Running() {
        server_.stop();
        thread_.join();
    }
    int port = -1;

private:
    ServerType& server_;
    std::thread thread_;
};

// The routes every case needs: bodies of n bytes, error pages, a cut-off and a stalled transfer,
// one file whose content the test sets, and a record of the request headers.
class LoopbackServer {
public:
    LoopbackServer() {
        server_.Get(R"(/body/(\d+))",
                    [](const httplib::Request& request, httplib::Response& response) {
                        const std::size_t size = std::stoul(request.matches[1]);
                        std::string body;
                        for (std::size_t i = 0; i < size; ++i) {
                            body += static_cast<char>('a' + i % 26);
                        }
                        response.set_content(body, "application/octet-stream");
                    });
        server_.Get(
            R"(/status/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
                response.status = std::stoi(request.matches[1]);
                response.set_content("<html><body><h1>Fehler " + std::string(request.matches[1]) +
                                         "</h1><p>Diese Seite ist kein Programm.</p></body></html>",
                                     "text/html");
            });
        // Promises 100 bytes, sends 10, closes.
        server_.Get("/cut", [](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(
                100, "application/octet-stream",
                [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                    return offset == 0 && sink.write("0123456789", 10);
                });
        });
        // Sends 2 of 10 bytes, then nothing until the test ends (or ten seconds passed).
        server_.Get("/stall", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(
                10, "application/octet-stream",
                [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
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
        server_.Get("/file", [this](const httplib::Request&, httplib::Response& response) {
            const std::lock_guard lock(mutex_);
            response.set_content(file_, "application/octet-stream");
        });
        server_.Get("/headers",
                    [this](const httplib::Request& request, httplib::Response& response) {
                        const std::lock_guard lock(mutex_);
                        userAgent_ = request.get_header_value("User-Agent");
                        cacheControl_ = request.get_header_value("Cache-Control");
                        response.set_content("seen", "text/plain");
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
    void setFile(const std::string& bytes) {
        const std::lock_guard lock(mutex_);
        file_ = bytes;
    }
    std::pair<std::string, std::string> lastHeaders() {
        const std::lock_guard lock(mutex_);
        return {userAgent_, cacheControl_};
    }

    std::atomic<bool> stallEnded{false};

private:
    httplib::Server server_;
    std::optional<Running<httplib::Server>> running_;
    std::atomic<bool> released_{false};
    std::mutex mutex_;
    std::string file_;
    std::string userAgent_;
    std::string cacheControl_;
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

    std::string path(const std::string& name) const {
        return dir_.path().toStdString() + "/" + name;
    }
    bool download(const std::string& url) {
        return DownloadFile(access_, FreshRequest(url), target_);
    }
    std::string target() const { return testing::ReadFileBytes(target_); }

    LoopbackServer server_;
    QtNetwork network_;
    QTemporaryDir dir_;
    LocalFileSystem files_;
    OnlineAccess access_{network_, files_, path("tmp.tmp"), "http://127.0.0.1:1"};
    std::string target_ = path("Ziel Datei.lfx");
};

TEST_F(NetworkTest, FourBytesAreTheLeastThatCount) {
    for (int size = 0; size < 4; ++size) {
        EXPECT_FALSE(download(server_.url("/body/" + std::to_string(size)))) << size;
        EXPECT_FALSE(files_.exists(target_));
        EXPECT_EQ(testing::ReadFileBytes(access_.probeFile).size(), static_cast<std::size_t>(size));
    }
    EXPECT_TRUE(download(server_.url("/body/4")));
    EXPECT_EQ(target(), "abcd");
    // Two downloads in a row: the second's first fetch replaces the probe.
    EXPECT_TRUE(download(server_.url("/body/30")));
    EXPECT_EQ(target(), "abcdefghijklmnopqrstuvwxyzabcd");
    EXPECT_EQ(testing::ReadFileBytes(access_.probeFile), target());
}

TEST_F(NetworkTest, ErrorPagesAndRefusedConnectionsFail) {
    ASSERT_TRUE(testing::WriteFileBytes(target_, "old"));
    for (const int status : {404, 500}) {
        const DownloadResult page =
            network_.download(FreshRequest(server_.url("/status/" + std::to_string(status))));
        EXPECT_FALSE(page.ok);
        EXPECT_EQ(page.httpStatus, status);
        EXPECT_NE(page.bytes.find("kein Programm"), std::string::npos);
        EXPECT_FALSE(download(server_.url("/status/" + std::to_string(status))));
    }
    const DownloadResult refused = network_.download(FreshRequest("http://127.0.0.1:1/x"));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.httpStatus, 0);
    EXPECT_FALSE(refused.errorText.empty());
    EXPECT_EQ(target(), "old");
}

TEST_F(NetworkTest, BrokenOffStalledAndOversizedTransfersFail) {
    const DownloadResult cut = network_.download(FreshRequest(server_.url("/cut")));
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.errorText, "Die Verbindung wurde unterbrochen");
    EXPECT_FALSE(download(server_.url("/cut")));
    EXPECT_FALSE(files_.exists(target_));

    DownloadRequest stall = FreshRequest(server_.url("/stall"));
    stall.idleTimeout = 300ms;
    const DownloadResult stalled = network_.download(stall);
    EXPECT_FALSE(stalled.ok);
    EXPECT_EQ(stalled.errorText, "Zeitüberschreitung");
    // It gave up while the server still held the transfer open.
    EXPECT_FALSE(server_.stallEnded);

    const std::string big = server_.url("/body/70000");
    const DownloadResult oversized = network_.download(FreshRequest(big));
    EXPECT_FALSE(oversized.ok);
    EXPECT_LE(oversized.bytes.size(), kSmallFileLimit);
    const DownloadResult installer = network_.download(InstallerRequest(big));
    EXPECT_TRUE(installer.ok);
    EXPECT_EQ(installer.bytes.size(), 70000u);
}

TEST_F(NetworkTest, RequestsNameTheProgramAndAskForAFreshCopy) {
    EXPECT_TRUE(network_.download(FreshRequest(server_.url("/headers"))).ok);
    EXPECT_EQ(server_.lastHeaders(),
              std::make_pair(std::string("Quotrix"), std::string("no-cache")));
    EXPECT_TRUE(network_.download(InstallerRequest(server_.url("/headers"))).ok);
    EXPECT_EQ(server_.lastHeaders().second, "");
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
    struct Case {
        const char* what;
        std::string file;
        bool delivered;
        UpdateWindowState state;  // after a check in a new window
    };
    const Case cases[] = {
        {"same version", Record("1.5.0.0", 7), true, {"1.5.0.0", false, false}},
        {"older version", Record("1.4.9.0", 7), true, {"1.4.9.0", true, false}},
        {"two records",
         Record("1.5.0.0", 7) + Record("1.6.0.0", 7),
         true,
         {"1.6.0.0", true, false}},
        {"30 bytes", Record("1.5.0.0", 7) + "1.6.0.", true, {"1.5.0.0", false, false}},
        {"length byte 0", Record("1.6.0.0", 0), true, {"", true, false}},
        {"no record", "1.6.0.0", true, {}},
        {"empty file", "", false, {}},
    };
    for (const Case& c : cases) {
        server_.setFile(c.file);
        const bool delivered = download(server_.url("/file"));
        EXPECT_EQ(delivered, c.delivered) << c.what;
        std::optional<std::string> available;
        if (delivered) {
            available = ReadVersionFile(files_, target_);
        }
        EXPECT_EQ(AfterVersionCheck({}, available), c.state) << c.what;
    }
}

// A key and a certificate for 127.0.0.1 that nobody vouches for.
struct SelfSigned {
    SelfSigned() {
        key = EVP_EC_gen("P-256");
        cert = X509_new();
        ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
        X509_gmtime_adj(X509_getm_notBefore(cert), 0);
        X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
        X509_set_pubkey(cert, key);
        X509_NAME* name = X509_get_subject_name(cert);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
        X509_set_issuer_name(cert, name);
        X509_sign(cert, key, EVP_sha256());
    }
    ~SelfSigned() {
        X509_free(cert);
        EVP_PKEY_free(key);
    }
    EVP_PKEY* key = nullptr;
    X509* cert = nullptr;
};

TEST_F(NetworkTest, AnUnverifiableCertificateFails) {
    const SelfSigned identity;
    ASSERT_NE(identity.key, nullptr);
    httplib::SSLServer tls(identity.cert, identity.key);
    ASSERT_TRUE(tls.is_valid());
    tls.Get("/body", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("eine ganze Datei", "application/octet-stream");
    });
    const Running running(tls);

    // The server answers a client that does not check ...
    httplib::SSLClient trusting("127.0.0.1", running.port);
    trusting.enable_server_certificate_verification(false);
    const auto answer = trusting.Get("/body");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);

    // ... but the program does check.
    const std::string url = "https://127.0.0.1:" + std::to_string(running.port) + "/body";
    const DownloadResult result = network_.download(FreshRequest(url));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.httpStatus, 0);
    EXPECT_EQ(result.errorText, "Die sichere Verbindung ließ sich nicht prüfen");
    EXPECT_TRUE(result.bytes.empty());
    EXPECT_FALSE(download(url));
    EXPECT_FALSE(files_.exists(target_));
}

}  // namespace
}  // namespace losfix
