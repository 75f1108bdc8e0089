#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/online/Donation.h"
#include "core/online/Download.h"
#include "support/core/MemoryFileSystem.h"

namespace losfix {
namespace {

constexpr const char* kProbe = "/tmp/tmp.tmp";
constexpr const char* kTarget = "/data/Losfix 2.0/verinfos.lfx";
constexpr const char* kServer = "http://127.0.0.1:8080";

// Answers each fetch from a queue; an empty queue answers as a refused connection.
class QueueNetwork : public Network {
public:
    bool connected() override { return online; }
    DownloadResult download(const DownloadRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) {
            return {};
        }
        DownloadResult next = answers.front();
        answers.pop_front();
        return next;
    }
    void body(const std::string& bytes, int status = 200) {
        answers.push_back({status >= 200 && status < 300, status, bytes, ""});
    }

    bool online = true;
    std::deque<DownloadResult> answers;
    std::vector<DownloadRequest> requests;
};

class DownloadTest : public ::testing::Test {
protected:
    bool download(const std::string& url = "http://127.0.0.1:8080/downloads/verinfos.lfx") {
        return DownloadFile(access, FreshRequest(url), kTarget);
    }
    bool hasTarget() const { return files.files.count(kTarget) != 0; }

    QueueNetwork network;
    testing::MemoryFileSystem files;
    OnlineAccess access{network, files, kProbe, kServer};
};

TEST_F(DownloadTest, AFailedFetchNeverReachesTheTarget) {
    files.files[kTarget] = "old version file";
    // An error page is long enough but is no resource.
    network.body("<html>Not Found</html>", 404);
    EXPECT_FALSE(download());
    // The first fetch succeeds, the second breaks off.
    network.body("full body");
    network.answers.push_back({false, 200, "ful", "Verbindung unterbrochen"});
    EXPECT_FALSE(download());
    // The second fetch answers with a server error.
    network.body("full body");
    network.body("<html>Internal Server Error</html>", 500);
    EXPECT_FALSE(download());
    // The second fetch is too short.
    network.body("full body");
    network.body("ful");
    EXPECT_FALSE(download());
    EXPECT_EQ(files.files.at(kTarget), "old version file");

    // Each download leaves its own first fetch in the probe, not an earlier one's.
    network.body("new body");
    network.body("new body");
    EXPECT_TRUE(download());
    EXPECT_EQ(files.files.at(kTarget), "new body");
    EXPECT_FALSE(download());  // refused
    EXPECT_EQ(files.files.at(kProbe), "");
}

TEST_F(DownloadTest, UnwritableFilesRaiseTheCreateError) {
    files.unwritable.insert(kProbe);
    network.body("body");
    try {
        download();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), messages::CannotCreate(kProbe, "Zugriff verweigert"));
    }
    files.unwritable = {kTarget};
    network.body("body");
    network.body("body");
    EXPECT_THROW(download(), Error);
    EXPECT_FALSE(hasTarget());

    // No private temporary folder: nothing is fetched, and nothing lands in the current folder.
    network.requests.clear();
    access.probeFile.clear();
    try {
        download();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), kNoPrivateTemporaryFolder);
    }
    EXPECT_TRUE(network.requests.empty());
    EXPECT_EQ(FetchDonationCounter(access), "");
    EXPECT_TRUE(network.requests.empty());
    EXPECT_EQ(files.files.count(kDonationFile), 0u);
}

TEST_F(DownloadTest, Addresses) {
    EXPECT_EQ(ServerUrl("").rfind("https://", 0), 0u);
    EXPECT_EQ(ServerUrl("http://127.0.0.1:9"), "http://127.0.0.1:9");
    EXPECT_EQ(ResourceUrl("https://www.losfix.example/", kInstallerPath),
              "https://www.losfix.example/downloads/lfxupdate.exe");
}

TEST_F(DownloadTest, DonationCounterIsTheFirstLine) {
    const std::string local = "/tmp/wachLfx.txt";
    network.body("1.234,56\r\nDanke!\r\n");
    network.body("1.234,56\r\nDanke!\r\n");
    EXPECT_EQ(FetchDonationCounter(access), "1.234,56");
    EXPECT_EQ(network.requests.back().url, "http://127.0.0.1:8080/downloads/wachLfx.txt");
    EXPECT_TRUE(network.requests.back().noCache);
    EXPECT_EQ(files.files.at(local), "1.234,56\r\nDanke!\r\n");

    EXPECT_EQ(DonationLine("\nx\ny"), "");
    EXPECT_EQ(DonationLine(std::string("\xFF\xFE\x31\x00\x30\x00\x20\x00\xAC\x20\n\x00", 12)),
              "10 €");
    EXPECT_EQ(DonationLine("12 \x80"), "12 €");
    EXPECT_EQ(DonationLine("\xEF\xBB\xBF"
                           "7\r8"),
              "7");

    // Too short, refused, unwritable, offline: the box empties.
    network.body("12");
    EXPECT_EQ(FetchDonationCounter(access), "");
    EXPECT_EQ(FetchDonationCounter(access), "");
    files.unwritable.insert(local);
    network.body("1234");
    network.body("1234");
    EXPECT_EQ(FetchDonationCounter(access), "");
    network.online = false;
    const std::size_t asked = network.requests.size();
    EXPECT_EQ(FetchDonationCounter(access), "");
    EXPECT_EQ(network.requests.size(), asked);
}

}  // namespace
}  // namespace losfix
