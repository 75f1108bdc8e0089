// Text decoding: byte-order marks, UTF-8, UTF-16, Windows-1252 and the three line ends, as every
// text file of the program is read; and writing the lines back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/TextFile.h"
#include "fuzz/FuzzCheck.h"

using namespace losfix;
using losfix::fuzz::IsUtf8;
using losfix::fuzz::ThroughWindows1252;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = DecodeText(bytes);
    FUZZ_CHECK(IsUtf8(text));

    const std::vector<std::string> lines = ReadTextLines(bytes);
    FUZZ_CHECK(lines == SplitLines(text));
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        breaks += (text[i] == '\r' || text[i] == '\n') ? 1 : 0;
        i += crlf ? 1 : 0;
    }
    const bool openLastLine = !text.empty() && text.back() != '\r' && text.back() != '\n';
    FUZZ_CHECK(lines.size() == breaks + (openLastLine ? 1 : 0));
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    }

    // Saved and read again, every line comes back as Windows-1252 can hold it, the first
    // included, whatever its first bytes look like.
    const std::string written = WriteTextLines(lines);
    const std::vector<std::string> again = ReadTextLines(written);
    FUZZ_CHECK(again.size() == lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(again[i] == ThroughWindows1252(lines[i]));
    }
    FUZZ_CHECK(WriteTextLines(again) == written);
    return 0;
}
