#include "core/online/Donation.h"

#include "core/app/Program.h"
#include "core/common/Error.h"
#include "core/common/TextFile.h"

namespace losfix {

std::string DonationLine(std::string_view bytes) {
    const std::vector<std::string> lines = ReadTextLines(bytes);
    return lines.empty() ? std::string() : lines.front();
}

std::string FetchDonationCounter(const OnlineAccess& access) {
    if (!access.network.connected()) {
        return {};
    }
    const std::string localCopy = access.temporaryFolder() + kDonationFile;
    try {
        if (!DownloadFile(access, FreshRequest(access.url(kDonationPath)), localCopy)) {
            return {};
        }
    } catch (const Error&) {
        return {};
    }
    std::string bytes;
    if (!access.files.readAll(localCopy, bytes).ok) {
        return {};
    }
    return DonationLine(bytes);
}

std::string MailtoAddress() {
    return std::string("mailto:") + kMaker.mail + "?subject=" + kProgramName;
}

}  // namespace losfix
