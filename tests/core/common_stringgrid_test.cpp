// The grid against a plain table of strings: random edits of every kind, texts of every length
// the cells store differently (empty, short, long lengths, NUL and high bytes, leading spaces),
// and after each edit every cell, every row and the comparison must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/StringGrid.h"

namespace losfix {
namespace {

// What the grid must behave like: every row holds all its cells.
struct PlainGrid {
    int columns = 0;
    std::vector<std::vector<std::string>> rows;

    PlainGrid(int columnCount, int rowCount)
        : columns(columnCount),
          rows(static_cast<std::size_t>(rowCount),
               std::vector<std::string>(static_cast<std::size_t>(columnCount))) {}

    bool inside(int c, int r) const {
        return c >= 0 && c < columns && r >= 0 && r < static_cast<int>(rows.size());
    }
    std::string cell(int c, int r) const {
        return inside(c, r) ? rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] : "";
    }
    void setColumnCount(int n) {
        columns = std::max(n, 0);
        for (auto& row : rows) {
            row.resize(static_cast<std::size_t>(columns));
        }
    }
    void setRowCount(int n) {
        rows.resize(static_cast<std::size_t>(std::max(n, 0)),
                    std::vector<std::string>(static_cast<std::size_t>(columns)));
    }
};

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = {
        "",
        " ",
        "7",
        "49",
        "    12",
        "Reihe",
        std::string("a\0b", 3),
        std::string(1, '\0'),
        "\x80\xFF",
        "Gr\xC3\xB6\xC3\x9F"
        "e",
        std::string(127, 'x'),
        std::string(128, 'y'),
        std::string(300, ' ') + "1",
        std::string(16384, 'z'),
        "    ",
    };
    return texts;
}

class Editor {
public:
    explicit Editor(unsigned seed) : random_(seed) {}

    int below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }
    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    const std::string& text() {
        // Mostly short texts, as in the tables; now and then a long one.
        const int pick = below(10) < 7 ? below(6) : below(static_cast<int>(Texts().size()));
        return Texts()[static_cast<std::size_t>(pick)];
    }
    std::vector<std::string> cells(int columns) {
        std::vector<std::string> cells(static_cast<std::size_t>(below(columns + 3)));
        for (auto& cell : cells) {
            cell = text();
        }
        return cells;
    }

    void write(StringGrid& grid, PlainGrid& plain, int c, int r) {
        const std::string& t = text();
        grid.setCell(c, r, t);
        if (plain.inside(c, r)) {
            plain.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = t;
        }
    }

    // One random edit to both grids; `other` is a second pair to copy rows from.
    void edit(StringGrid& grid, PlainGrid& plain, const StringGrid& other,
              const PlainGrid& otherPlain) {
        const int rows = grid.rowCount();
        const int columns = grid.columnCount();
        switch (below(11)) {
            case 10: {
                // A row written from left to right as the generators do, now and then skipping a
                // column or writing an empty text, then perhaps an earlier column again.
                const int r = between(-1, rows);
                for (int c = between(-1, 1); c <= columns; c += between(1, 2)) {
                    write(grid, plain, c, r);
                }
                if (below(2) == 0) {
                    write(grid, plain, below(columns), r);
                }
                break;
            }
            case 0:
            case 1:
            case 2:
                write(grid, plain, between(-1, columns), between(-1, rows));
                break;
            case 3: {
                const int r = between(-1, rows);
                auto row = cells(columns);
                grid.setRowCells(r, row);
                if (r >= 0 && r < rows) {
                    row.resize(static_cast<std::size_t>(columns));
                    plain.rows[static_cast<std::size_t>(r)] = row;
                }
                break;
            }
            case 4: {
                const int r = below(rows);
                if (below(3) == 0) {
                    grid.clearRow(r);
                    if (r < rows) {
                        plain.rows[static_cast<std::size_t>(r)].assign(
                            static_cast<std::size_t>(columns), "");
                    }
                } else {
                    const bool self = below(4) == 0;
                    grid.copyRow(self ? grid : other, r);
                    if (!self && r < rows) {
                        for (int c = 0; c < columns; ++c) {
                            plain.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                                c < otherPlain.columns ? otherPlain.cell(c, r) : "";
                        }
                    }
                }
                break;
            }
            case 5: {
                const int a = between(-1, rows);
                const int b = below(rows);
                const int from = between(-1, columns + 1);
                grid.swapRows(a, b, from);
                if (a >= 0 && a < rows && b < rows && a != b) {
                    for (int c = std::max(from, 0); c < columns; ++c) {
                        std::swap(
                            plain.rows[static_cast<std::size_t>(a)][static_cast<std::size_t>(c)],
                            plain.rows[static_cast<std::size_t>(b)][static_cast<std::size_t>(c)]);
                    }
                }
                break;
            }
            case 6:
            case 7: {
                if (rows == 0) {
                    break;
                }
                const int first = below(rows);
                const int count = below(rows - first + 1);
                std::vector<int> order(static_cast<std::size_t>(count));
                std::iota(order.begin(), order.end(), first);
                std::shuffle(order.begin(), order.end(), random_);
                const int from = between(-1, columns + 1);
                grid.permuteRows(first, order, from);
                const int kept = std::clamp(from, 0, columns);
                const auto before = plain.rows;
                for (int i = 0; i < count; ++i) {
                    auto& row = plain.rows[static_cast<std::size_t>(first + i)];
                    const auto& source =
                        before[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
                    for (int c = kept; c < columns; ++c) {
                        row[static_cast<std::size_t>(c)] = source[static_cast<std::size_t>(c)];
                    }
                }
                break;
            }
            case 8: {
                const int n = between(0, 7);
                grid.setColumnCount(n);
                plain.setColumnCount(n);
                break;
            }
            default: {
                const int n = between(0, 9);
                grid.setRowCount(n);
                plain.setRowCount(n);
                break;
            }
        }
    }

private:
    std::mt19937 random_;
};

// The plain grid's cells written into a fresh grid row by row.
StringGrid Rebuilt(const PlainGrid& plain) {
    StringGrid grid(plain.columns, static_cast<int>(plain.rows.size()));
    for (std::size_t r = 0; r < plain.rows.size(); ++r) {
        grid.setRowCells(static_cast<int>(r), plain.rows[r]);
    }
    return grid;
}

void ExpectSame(const StringGrid& grid, const PlainGrid& plain, int step) {
    ASSERT_EQ(grid.columnCount(), plain.columns) << step;
    ASSERT_EQ(grid.rowCount(), static_cast<int>(plain.rows.size())) << step;
    for (int r = -1; r <= grid.rowCount(); ++r) {
        for (int c = -1; c <= grid.columnCount(); ++c) {
            ASSERT_EQ(grid.cell(c, r), plain.cell(c, r))
                << "step " << step << " cell " << c << "," << r;
            ASSERT_EQ(grid.cellView(c, r), plain.cell(c, r)) << step;
        }
        std::vector<std::string_view> views;
        grid.cellViews(r, views);
        ASSERT_EQ(views.size(), static_cast<std::size_t>(grid.columnCount())) << step;
        for (int c = 0; c < grid.columnCount(); ++c) {
            ASSERT_EQ(views[static_cast<std::size_t>(c)], plain.cell(c, r)) << step;
        }
        if (r >= 0 && r < grid.rowCount()) {
            ASSERT_EQ(grid.rowCells(r), plain.rows[static_cast<std::size_t>(r)]) << step;
        }
    }
    // However the cells came about, equal cells compare equal.
    ASSERT_TRUE(grid == Rebuilt(plain)) << step;
}

TEST(StringGridTest, RandomEditsAgreeWithAPlainTable) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        Editor editor(seed);
        StringGrid grid(5, 6);
        PlainGrid plain(5, 6);
        StringGrid other(7, 5);
        PlainGrid otherPlain(7, 5);
        for (int step = 0; step < 400; ++step) {
            if (editor.below(4) == 0) {
                editor.edit(other, otherPlain, grid, plain);
            } else {
                editor.edit(grid, plain, other, otherPlain);
            }
            ExpectSame(grid, plain, step);
            if (step % 50 == 49) {
                ExpectSame(other, otherPlain, step);
            }
            if (HasFatalFailure()) {
                FAIL() << "seed " << seed;
            }
        }
    }
}

TEST(StringGridTest, CopiesAreDeepAndOneChangedCellMakesGridsDiffer) {
    StringGrid grid(4, 3, 1, 1);
    grid.setRowCells(1, {"  1", std::string(200, 'q'), "", "90"});
    grid.setCell(2, 2, std::string("n\0l", 3));
    StringGrid copy(grid);
    StringGrid assigned;
    assigned = grid;
    EXPECT_TRUE(copy == grid);
    EXPECT_TRUE(assigned == grid);

    copy.setCell(1, 1, std::string(200, 'r'));
    assigned.setCell(3, 1, "");
    EXPECT_EQ(grid.cell(1, 1), std::string(200, 'q'));
    EXPECT_EQ(grid.cell(3, 1), "90");
    EXPECT_FALSE(copy == grid);
    EXPECT_FALSE(assigned == grid);

    // An emptied last cell takes the empty cells before it along; the cells stay equal.
    assigned.setCell(3, 1, "90");
    EXPECT_TRUE(assigned == grid);
    StringGrid moved(std::move(assigned));
    EXPECT_TRUE(moved == grid);
    EXPECT_EQ(moved.cell(2, 2), std::string("n\0l", 3));

    // A text returned keeps its value after the grid changes.
    const std::string& text = grid.cell(1, 1);
    grid.setRowCount(0);
    EXPECT_EQ(text, std::string(200, 'q'));
}

}  // namespace
}  // namespace losfix
