// The football quick selection file "Quick.wh13": any bytes opened by its button, applied to a
// match board.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Error.h"
#include "core/common/TextFile.h"
#include "core/football/TipFiles.h"
#include "fuzz/FuzzCheck.h"

using namespace losfix;

namespace {
constexpr std::size_t kLongestMessage = 200;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines =
        ReadTextLines(std::string_view(reinterpret_cast<const char*>(data), size));
    MatchBoard board;
    if (const auto problem = QuickTipProblem(lines)) {
        // Refused files change nothing.
        FUZZ_CHECK(problem->size() <= kLongestMessage);
        FUZZ_CHECK(board.statuses() == MatchBoard().statuses());
        return 0;
    }
    try {
        ApplyQuickTips(lines, board);
    } catch (const Error& error) {
        FUZZ_CHECK(std::string_view(error.what()).size() <= kLongestMessage);
    }
    // Whatever was stored is a valid status, and saving gives a file that reads back as itself.
    for (int slot = 1; slot <= 39; ++slot) {
        FUZZ_CHECK(IsTipStatusCode(static_cast<int>(board.status(slot))));
    }
    MatchBoard again;
    ApplyQuickTips(ReadTextLines(EncodeQuickTips(board.statuses())), again);
    FUZZ_CHECK(again.statuses() == board.statuses());
    return 0;
}
