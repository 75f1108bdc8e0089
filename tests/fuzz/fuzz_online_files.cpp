// What the server sends: the version file (24-byte records) and the donation file (its first
// line is shown in the main window). Both arrive from the network and are stored on disk.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/online/Donation.h"
#include "core/online/VersionInfo.h"
#include "fuzz/FuzzCheck.h"

using namespace losfix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto version = LastVersionRecord(bytes)) {
        FUZZ_CHECK(size >= kVersionRecordSize);
        FUZZ_CHECK(fuzz::IsUtf8(*version));
        // At most 15 bytes of Windows-1252, each at most three bytes of UTF-8.
        FUZZ_CHECK(version->size() <= 3 * kVersionTextMax);
    } else {
        FUZZ_CHECK(size < kVersionRecordSize);
    }
    const std::string line = DonationLine(bytes);
    FUZZ_CHECK(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos);
    return 0;
}
