// Selection files and the quick slots (Quick1.whl to Quick3.whl): any bytes opened as
// "Auswahl öffnen..." or a quick-slot button opens them, applied to a board.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Error.h"
#include "core/common/TextFile.h"
#include "core/rows/SelectionFile.h"
#include "fuzz/FuzzCheck.h"

using namespace losfix;

namespace {

// The main window's side of a selection: the board's choices and statuses.
class BoardTarget : public SelectionTarget {
public:
    void applyRowSizeItem(int item) override {
        FUZZ_CHECK(item >= 0 && item < kRowSizeItemCount);
        board.setRowSizeItem(item);
    }
    void applyPoolItem(int item) override {
        FUZZ_CHECK(item >= 0 && item < kPoolItemCount);
        board.setPoolItem(item);
    }
    int poolSize() const override { return board.poolSize(); }
    void applyStatus(int number, NumberStatus status) override {
        FUZZ_CHECK(number >= 1 && number <= board.poolSize());
        FUZZ_CHECK(IsStatusCode(static_cast<int>(status)));
        board.setStatus(number, status);
    }

    Board board;
};

// A message quotes at most an excerpt of the file, so the longest is short whatever the file.
constexpr std::size_t kLongestMessage = 200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = ReadTextLines(bytes);
    if (const auto problem = SelectionRangeProblem(lines)) {
        FUZZ_CHECK(problem->size() <= kLongestMessage);
        return 0;
    }
    BoardTarget target;
    target.board.resetStatuses();
    try {
        ApplySelection(lines, target);
    } catch (const Error& error) {
        FUZZ_CHECK(std::string_view(error.what()).size() <= kLongestMessage);
        return 0;
    }

    // An applied selection saves as the file it came from would read, and opens again as itself.
    const std::string saved = EncodeSelection(target.board);
    BoardTarget again;
    again.board.resetStatuses();
    ApplySelection(ReadTextLines(saved), again);
    FUZZ_CHECK(again.board.rowSizeItem() == target.board.rowSizeItem());
    FUZZ_CHECK(again.board.poolItem() == target.board.poolItem());
    FUZZ_CHECK(again.board.statuses() == target.board.statuses());
    return 0;
}
