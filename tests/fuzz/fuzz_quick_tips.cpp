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
#include "support/core/MemoryFileSystem.h"

using namespace losfix;

namespace {
constexpr std::size_t kLongestMessage = 200;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = ReadTextLines(bytes);
    // A board the user has marked, a different one for every length of input, with its labels
    // counted: a refused file must leave all of it as it was.
    MatchBoard board;
    for (int slot = 1; slot <= 39; ++slot) {
        board.setTipStatus(slot, static_cast<TipStatus>((size + 3 * slot) % kTipStatusCount));
    }
    board.kombisAnzeigen();
    const MatchBoard marked = board;
    if (const auto problem = QuickTipProblem(lines)) {
        FUZZ_CHECK(problem->size() <= kLongestMessage);
        // Opened by its button ...
        testing::MemoryFileSystem files;
        files.files["Quick.wh13"] = std::string(bytes);
        FUZZ_CHECK(LoadQuickTips(files, "Quick.wh13", board) == problem);
        FUZZ_CHECK(board.statuses() == marked.statuses());
        FUZZ_CHECK(board.labels() == marked.labels());
        // ... or applied directly, which refuses before anything changes.
        bool refused = false;
        try {
            ApplyQuickTips(lines, board);
        } catch (const Error&) {
            refused = true;
        }
        FUZZ_CHECK(refused);
        FUZZ_CHECK(board.statuses() == marked.statuses());
        FUZZ_CHECK(board.labels() == marked.labels());
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
