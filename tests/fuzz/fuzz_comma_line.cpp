// Comma lines: every line of a row file is read as one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/CommaLine.h"
#include "fuzz/FuzzCheck.h"

using namespace losfix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> items = ReadCommaLine(line);
    FUZZ_CHECK(items.size() <= line.size() + 1);

    // A reader that stops early gives the first items of the whole line.
    for (const std::size_t keep : {std::size_t{0}, std::size_t{1}, std::size_t{17}, size % 23}) {
        const std::vector<std::string> first = ReadCommaLine(line, keep);
        FUZZ_CHECK(first.size() == std::min(keep, items.size()));
        FUZZ_CHECK(std::equal(first.begin(), first.end(), items.begin()));
    }

    // Written and read again, the items come back; a single empty item writes an empty line,
    // which holds no items.
    const std::string written = WriteCommaLine(items);
    const std::vector<std::string> again = ReadCommaLine(written);
    if (items.size() == 1 && items[0].empty()) {
        FUZZ_CHECK(again.empty());
    } else {
        FUZZ_CHECK(again == items);
    }
    return 0;
}
