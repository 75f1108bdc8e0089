// Core behaviour that once differed on Windows builds: the wide numbers of the grid sort, which
// MinGW's standard library reads only within the range of a double.
#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/rows/GridSort.h"

namespace losfix {
namespace {

#if LDBL_MAX_10_EXP >= 4932
// Column 1 of a grid with one fixed row and column, sorted ascending as numbers.
std::vector<std::string> SortedNumbers(const std::vector<std::string>& keys) {
    StringGrid grid(2, static_cast<int>(keys.size()) + 1, 1, 1);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        grid.setCell(1, static_cast<int>(i) + 1, keys[i]);
    }
    GridSortArgs args;
    args.keyColumns = {1};
    args.sortTypes = {0};
    args.firstRow = 1;
    args.lastRow = static_cast<int>(keys.size());
    GridSort(grid, args, *MakeGermanSortLocale());
    std::vector<std::string> sorted;
    for (int r = 1; r < grid.rowCount(); ++r) {
        sorted.push_back(grid.cell(1, r));
    }
    return sorted;
}

TEST(GridSortWideNumbers, BeyondTheRangeOfADoubleInOrder) {
    EXPECT_EQ(SortedNumbers({"2e400", "1,5e400", "-1e999", "123456789012345678901234567890e380",
                             "1e-400", "0", "0,00012e404", "16e399", "1e4932", "1e-4000"}),
              (std::vector<std::string>{"-1e999", "0", "1e-4000", "1e-400", "0,00012e404",
                                        "1,5e400", "16e399", "2e400",
                                        "123456789012345678901234567890e380", "1e4932"}));
    // Beyond every long double: no number, as everywhere.
    EXPECT_THROW(SortedNumbers({"1", "2e4932"}), Error);
}
#endif

}  // namespace
}  // namespace losfix
