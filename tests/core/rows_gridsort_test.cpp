#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <random>
#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/rows/GridSort.h"

namespace losfix {
namespace {

const auto kLocale = MakeGermanSortLocale();

// A grid of one fixed header row and one fixed label column; column 1 holds the given texts,
// column 2 an identity for each row so that moved rows can be followed.
StringGrid KeyGrid(const std::vector<std::string>& keys) {
    StringGrid grid(3, static_cast<int>(keys.size()) + 1, 1, 1);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        grid.setCell(0, row, std::string("L").append(std::to_string(row)));
        grid.setCell(1, row, keys[i]);
        grid.setCell(2, row, "id" + std::to_string(row));
    }
    return grid;
}

GridSortArgs OneKey(std::uint8_t type, int firstRow, int lastRow) {
    GridSortArgs args;
    args.keyColumns = {1};
    args.sortTypes = {type};
    args.firstRow = firstRow;
    args.lastRow = lastRow;
    return args;
}

std::vector<std::string> Column(const StringGrid& grid, int column) {
    std::vector<std::string> texts;
    for (int r = grid.fixedRows(); r < grid.rowCount(); ++r) {
        texts.push_back(grid.cell(column, r));
    }
    return texts;
}

// Sorts the texts in column 1 of a key grid and returns them in their new order.
std::vector<std::string> SortedKeys(const std::vector<std::string>& keys, GridSortArgs args) {
    StringGrid grid = KeyGrid(keys);
    args.lastRow = static_cast<int>(keys.size());
    args.firstRow = 1;
    GridSort(grid, args, *kLocale);
    return Column(grid, 1);
}

// The message of the error GridSort throws, or "" when it throws none.
std::string SortMessage(StringGrid& grid, const GridSortArgs& args) {
    try {
        GridSort(grid, args, *kLocale);
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

// A row table with the given rows of numbers and labels 1..n.
StringGrid RowTableOf(const std::vector<std::vector<std::string>>& rows) {
    StringGrid table(17, static_cast<int>(rows.size()) + 1, 1, 1);
    table.setCell(0, 0, "Reihe");
    for (int c = 1; c <= 16; ++c) {
        table.setCell(c, 0, std::to_string(c));
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        table.setCell(0, row, "  " + std::to_string(row));
        for (std::size_t c = 0; c < rows[i].size(); ++c) {
            table.setCell(static_cast<int>(c) + 1, row, rows[i][c]);
        }
    }
    return table;
}

TEST(GridSortChecks, FailWithTheirMessagesBeforeAnyRowMoves) {
    const StringGrid original = KeyGrid({"3", "1", "2", "5", "4", "0"});
    struct Case {
        const char* name;
        GridSortArgs args;
        const char* message;
    };
    std::vector<Case> cases;
    cases.push_back({"last row beyond the grid", OneKey(0, 1, 7), "Falsche Zeilenangabe"});
    cases.push_back({"first row after last row", OneKey(0, 5, 3), "Falsche Zeilenangabe"});
    cases.push_back({"negative first row", OneKey(0, -1, 6), "Falsche Zeilenangabe"});
    {
        GridSortArgs args = OneKey(0, 1, 6);
        args.keyColumns = {1, 2};
        args.sortTypes = {0, 0, 0};
        cases.push_back({"two keys, three types", args, "Falsche Anzahl bei Sortiertyp"});
    }
    {
        GridSortArgs args = OneKey(0, 1, 6);
        args.keyColumns = {20};
        cases.push_back({"column beyond the grid", args, "Falsche Spaltenangabe"});
    }
    {
        GridSortArgs args = OneKey(0, 1, 6);
        args.keyColumns = {1, 0};
        args.sortTypes = {0, 0};
        cases.push_back({"fixed column as key", args, "Falsche Spaltenangabe"});
    }
    {
        // The checks run in order: rows before sort types before columns.
        GridSortArgs args = OneKey(0, 5, 3);
        args.keyColumns = {20};
        args.sortTypes = {0, 0};
        cases.push_back({"rows checked first", args, "Falsche Zeilenangabe"});
        GridSortArgs typesFirst = OneKey(0, 1, 6);
        typesFirst.keyColumns = {20};
        typesFirst.sortTypes = {0, 0};
        cases.push_back({"types before columns", typesFirst, "Falsche Anzahl bei Sortiertyp"});
    }
    for (const Case& c : cases) {
        StringGrid grid = original;
        EXPECT_EQ(SortMessage(grid, c.args), c.message) << c.name;
        EXPECT_EQ(grid, original) << c.name;
    }
}

TEST(GridSortChecks, ClampPullsKeyColumnsIntoTheAllowedRange) {
    // Column 16 holds the order; column 1 the reverse, so the key used is visible.
    StringGrid grid(17, 5, 1, 1);
    const std::vector<std::string> last = {"4", "2", "3", "1"};
    for (int r = 1; r <= 4; ++r) {
        grid.setCell(0, r, "L" + std::to_string(r));
        grid.setCell(1, r, std::to_string(r));
        grid.setCell(16, r, last[static_cast<std::size_t>(r - 1)]);
    }
    GridSortArgs args = OneKey(0, 1, 4);
    args.keyColumns = {20};
    args.clampColumns = true;
    StringGrid byLast = grid;
    GridSort(byLast, args, *kLocale);
    EXPECT_EQ(Column(byLast, 16), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(Column(byLast, 1), (std::vector<std::string>{"4", "2", "3", "1"}));
    EXPECT_EQ(Column(byLast, 0), Column(grid, 0)) << "the fixed label column never moves";

    args.keyColumns = {0};  // below the lowest allowed column: becomes column 1
    StringGrid byFirst = byLast;
    GridSort(byFirst, args, *kLocale);
    EXPECT_EQ(Column(byFirst, 1), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST(GridSortNumbers, CompareByValueWithThousandsDotsAndDecimalComma) {
    GridSortArgs args = OneKey(0, 1, 1);
    EXPECT_EQ(SortedKeys({"10", "9", "100", "-3"}, args),
              (std::vector<std::string>{"-3", "9", "10", "100"}));
    EXPECT_EQ(SortedKeys({"1.234", "1235", "999"}, args),
              (std::vector<std::string>{"999", "1.234", "1235"}));
    EXPECT_EQ(SortedKeys({"2", "1,5", "1", "1.000,5", "1,49"}, args),
              (std::vector<std::string>{"1", "1,49", "1,5", "2", "1.000,5"}));
    // Blanks around the text, a sign and an exponent are all part of a number.
    EXPECT_EQ(SortedKeys({" 7 ", "+6", "1e1", "5,5E0", "-2E-1"}, args),
              (std::vector<std::string>{"-2E-1", "5,5E0", "+6", " 7 ", "1e1"}));
}

TEST(GridSortNumbers, UnreadableTextsFail) {
    // A single space is not an empty cell; it must read as a number and cannot.
    for (const std::string bad :
         {" ", "abc", "1,2,3", ",", "e5", "1e", "12abc", "1 2", "--1", "1e99999", "0x10", "1;5"}) {
        StringGrid grid = KeyGrid({"1", bad, "2"});
        EXPECT_EQ(SortMessage(grid, OneKey(0, 1, 3)), "Werte entsprechen nicht dem Typ Zahl")
            << "'" << bad << "'";
    }
    // Unreadable cells that are never compared do not matter: a one-row range compares nothing.
    StringGrid single = KeyGrid({"x"});
    EXPECT_EQ(SortMessage(single, OneKey(0, 1, 1)), "");
}

TEST(GridSortNumbers, ExtremeBlanksSitBetweenZeroAndThePositiveNumbers) {
    GridSortArgs args = OneKey(0, 1, 1);
    args.extremeBlankNumbers = true;
    // Ascending, blanks first: the blank is the smallest positive value.
    EXPECT_EQ(SortedKeys({"1", "", "0", "-5", "0,5"}, args),
              (std::vector<std::string>{"-5", "0", "", "0,5", "1"}));
    // Ascending, blanks last: beyond every number a cell can hold.
    args.blanksLast = true;
    EXPECT_EQ(SortedKeys({"", "1e300", "-5", "3"}, args),
              (std::vector<std::string>{"-5", "3", "1e300", ""}));
#if LDBL_MAX_10_EXP >= 4932
    EXPECT_EQ(SortedKeys({"", "1e4931", "2"}, args), (std::vector<std::string>{"2", "1e4931", ""}));
#endif
    // Descending, blanks first: the blank is the highest value again.
    args.ascending = false;
    args.blanksLast = false;
    EXPECT_EQ(SortedKeys({"3", "", "10", "-1"}, args),
              (std::vector<std::string>{"", "10", "3", "-1"}));
    // Descending, blanks last: the smallest positive value, still above the negative numbers.
    args.blanksLast = true;
    EXPECT_EQ(SortedKeys({"3", "", "10", "-1"}, args),
              (std::vector<std::string>{"10", "3", "", "-1"}));
}

TEST(GridSortNumbers, PlainBlanksCountAsZero) {
    GridSortArgs args = OneKey(0, 1, 1);
    args.blanksLast = true;  // without extreme blanks the blank is 0 either way
    const auto sorted = SortedKeys({"2", "", "-1", "1"}, args);
    EXPECT_EQ(sorted, (std::vector<std::string>{"-1", "", "1", "2"}));
    const auto tie = SortedKeys({"1", "0", "", "-1"}, args);
    EXPECT_EQ(tie.front(), "-1");
    EXPECT_EQ(tie.back(), "1");
    EXPECT_TRUE((tie[1] == "0" && tie[2].empty()) || (tie[1].empty() && tie[2] == "0"));
}

TEST(GridSortDates, OrderByDateAndTimeWithBlankSubstitutes) {
    GridSortArgs args = OneKey(1, 1, 1);
    EXPECT_EQ(
        SortedKeys({"01.02.2020", "31.01.2020 23:59", "", "1.2.2020 00:00:01"}, args),
        (std::vector<std::string>{"", "31.01.2020 23:59", "01.02.2020", "1.2.2020 00:00:01"}));
    // The blank of the last place is 31.12.9999 23:59 exactly.
    args.blanksLast = true;
    EXPECT_EQ(SortedKeys({"31.12.9999 23:59:30", "", "31.12.9999 23:58"}, args),
              (std::vector<std::string>{"31.12.9999 23:58", "", "31.12.9999 23:59:30"}));
    // The blank of the first place is 01.01.0001 00:00.
    args.blanksLast = false;
    EXPECT_EQ(SortedKeys({"01.01.0001 00:01", "", "01.01.1000"}, args),
              (std::vector<std::string>{"", "01.01.0001 00:01", "01.01.1000"}));
}

TEST(GridSortDates, UnreadableDatesFail) {
    for (const std::string bad :
         {" ", "30.02.2021", "29.02.1900", "32.01.2020", "01.13.2020", "01.01.2020 24:00",
          "01.01.2020 12:60", "2020-01-01", "01.01.20", "01.01.2020x", "00.01.2020"}) {
        StringGrid grid = KeyGrid({"01.01.2020", bad});
        EXPECT_EQ(SortMessage(grid, OneKey(1, 1, 2)), "Werte entsprechen nicht dem Typ Datum/Zeit")
            << "'" << bad << "'";
    }
}

TEST(GermanSortLocale, ReadsDatesAsDaysSince1899) {
    double value = -1;
    ASSERT_TRUE(kLocale->parseDateTime("30.12.1899", value));
    EXPECT_DOUBLE_EQ(value, 0.0);
    ASSERT_TRUE(kLocale->parseDateTime("31.12.1899 12:00", value));
    EXPECT_DOUBLE_EQ(value, 1.5);
    ASSERT_TRUE(kLocale->parseDateTime("01.01.0001", value));
    EXPECT_DOUBLE_EQ(value, -693593.0);
    ASSERT_TRUE(kLocale->parseDateTime(" 29.02.2000 06:00:00 ", value));
    EXPECT_DOUBLE_EQ(value, 36585.25);
    ASSERT_TRUE(kLocale->parseDateTime("31.12.9999 23:59", value));
    EXPECT_DOUBLE_EQ(value, 2958465.0 + 1439.0 / 1440.0);
    EXPECT_FALSE(kLocale->parseDateTime("", value));
    EXPECT_FALSE(kLocale->parseDateTime("31.04.2021", value));
    EXPECT_EQ(kLocale->decimalSeparator(), ',');
}

TEST(GermanSortLocale, ComparesTextIgnoringCase) {
    EXPECT_EQ(kLocale->compareText("abc", "ABC"), 0);
    EXPECT_EQ(kLocale->compareText("ÄRGER", "ärger"), 0);
    EXPECT_LT(kLocale->compareText("Alpha", "beta"), 0);
    EXPECT_GT(kLocale->compareText("BETA", "alpha"), 0);
    EXPECT_LT(kLocale->compareText("ab", "abc"), 0);
    EXPECT_LT(kLocale->compareText("", "a"), 0);
    // Umlauts beside their base letters, after them on a tie.
    EXPECT_LT(kLocale->compareText("Apfel", "Äpfel"), 0);
    EXPECT_LT(kLocale->compareText("Äpfel", "Birne"), 0);
    EXPECT_LT(kLocale->compareText("Ofen", "Öl"), 0);
    EXPECT_LT(kLocale->compareText("Öl", "Pfad"), 0);
    EXPECT_EQ(kLocale->compareText("Straße", "STRASSE") > 0, true);
    EXPECT_LT(kLocale->compareText("Straße", "Strasse1"), 0);
}

TEST(GridSortText, SortsCaseInsensitiveWithBlankSubstitutes) {
    GridSortArgs args = OneKey(2, 1, 1);
    EXPECT_EQ(SortedKeys({"beta", "Alpha", "", "Gamma", "alpha2"}, args),
              (std::vector<std::string>{"", "Alpha", "alpha2", "beta", "Gamma"}));
    args.blanksLast = true;
    // The blank of the last place is 255 letters Z: above 254 of them, below 256.
    const std::string z254(254, 'Z');
    const std::string z256(256, 'z');
    EXPECT_EQ(SortedKeys({z256, "zz", "", z254, "a"}, args),
              (std::vector<std::string>{"a", "zz", z254, "", z256}));
    // Any code other than 0 and 1 is text: numbers then compare as texts.
    GridSortArgs other = OneKey(7, 1, 1);
    EXPECT_EQ(SortedKeys({"9", "10", "2"}, other), (std::vector<std::string>{"10", "2", "9"}));
    // A single space is no blank in a text column either.
    EXPECT_EQ(SortedKeys({"a", " ", ""}, args), (std::vector<std::string>{" ", "a", ""}));
}

TEST(GridSortOrder, DescendingAndSeveralKeys) {
    GridSortArgs args = OneKey(0, 1, 1);
    args.ascending = false;
    EXPECT_EQ(SortedKeys({"9", "10", "2", "10"}, args),
              (std::vector<std::string>{"10", "10", "9", "2"}));

    // Two keys: the second decides only on a tie of the first; a third column never compared
    // may hold anything.
    StringGrid grid(4, 5, 1, 1);
    const std::vector<std::vector<std::string>> rows = {
        {"2", "b", "x"}, {"1", "z", "?"}, {"2", "a", "x"}, {"1", "y", "?"}};
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 3; ++c) {
            grid.setCell(c, r,
                         rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)]);
        }
    }
    GridSortArgs two;
    two.keyColumns = {1, 2};
    two.sortTypes = {0, 2};
    two.firstRow = 1;
    two.lastRow = 4;
    GridSort(grid, two, *kLocale);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"1", "1", "2", "2"}));
    EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"y", "z", "a", "b"}));
}

TEST(GridSortOrder, IncludedFixedColumnsMoveWithTheRow) {
    StringGrid grid = KeyGrid({"3", "1", "2"});
    GridSortArgs args = OneKey(0, 1, 3);
    args.includeFixedColumns = true;
    GridSort(grid, args, *kLocale);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"L2", "L3", "L1"}));
    EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"id2", "id3", "id1"}));
}

TEST(GridSortOrder, SortsOnlyTheGivenRange) {
    StringGrid grid = KeyGrid({"9", "8", "7", "6", "5", "4", "3"});
    GridSortArgs args = OneKey(0, 3, 5);
    GridSort(grid, args, *kLocale);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"9", "8", "5", "6", "7", "4", "3"}));
}

TEST(GridSortOrder, TwoRowsFromRowZeroAreSorted) {
    // The halved gap of last row 1 is 0; the two rows must still be put in order.
    StringGrid grid(1, 2);
    grid.setCell(0, 0, "2");
    grid.setCell(0, 1, "1");
    GridSortArgs args;
    args.keyColumns = {0};
    args.sortTypes = {0};
    args.firstRow = 0;
    args.lastRow = 1;
    GridSort(grid, args, *kLocale);
    EXPECT_EQ(grid.cell(0, 0), "1");
    EXPECT_EQ(grid.cell(0, 1), "2");
}

// Reference order of the key columns: plain integers or blanks, compared as GridSort must.
struct RandomCase {
    StringGrid grid;
    GridSortArgs args;
};

long double ReferenceKey(const std::string& text, const GridSortArgs& args) {
    if (!text.empty()) {
        return std::stoi(text);
    }
    if (!args.extremeBlankNumbers) {
        return 0;
    }
    return args.ascending == args.blanksLast ? 1e300L : 1e-300L;
}

std::vector<std::vector<long double>> ReferenceKeys(const StringGrid& grid,
                                                    const GridSortArgs& args) {
    std::vector<std::vector<long double>> keys;
    for (int r = args.firstRow; r <= args.lastRow; ++r) {
        std::vector<long double> key;
        for (const auto column : args.keyColumns) {
            key.push_back(ReferenceKey(grid.cell(column, r), args));
        }
        keys.push_back(key);
    }
    return keys;
}

TEST(GridSortOrder, RandomTablesEndInTheOrderOfAStableSort) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 400; ++round) {
        const int rows = 1 + static_cast<int>(random() % 80);
        const int columns = 6;
        const int valueRange = 1 + static_cast<int>(random() % 12);  // small ranges make ties
        StringGrid grid(columns, rows, 1, static_cast<int>(random() % 2));
        for (int r = 0; r < rows; ++r) {
            grid.setCell(0, r, "fix" + std::to_string(r));
            grid.setCell(columns - 1, r, "id" + std::to_string(r));
            for (int c = 1; c < columns - 1; ++c) {
                const int v = static_cast<int>(random() % static_cast<unsigned>(valueRange + 1));
                grid.setCell(c, r, v == valueRange ? "" : std::to_string(v - valueRange / 2));
            }
        }
        GridSortArgs args;
        const int keyCount = 1 + static_cast<int>(random() % 3);
        for (int k = 0; k < keyCount; ++k) {
            args.keyColumns.push_back(static_cast<std::uint16_t>(1 + random() % 4));
            args.sortTypes.push_back(0);
        }
        args.firstRow = static_cast<int>(random() % static_cast<unsigned>(rows));
        args.lastRow = args.firstRow +
                       static_cast<int>(random() % static_cast<unsigned>(rows - args.firstRow));
        args.ascending = random() % 2 == 0;
        args.blanksLast = random() % 2 == 0;
        args.extremeBlankNumbers = random() % 2 == 0;

        auto expected = ReferenceKeys(grid, args);
        std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
            return args.ascending ? a < b : b < a;
        });
        const StringGrid before = grid;
        GridSort(grid, args, *kLocale);
        ASSERT_EQ(ReferenceKeys(grid, args), expected) << "round " << round;

        // Rows move whole (from column 1 on), rows outside the range and column 0 stay.
        std::vector<std::vector<std::string>> movedBefore;
        std::vector<std::vector<std::string>> movedAfter;
        for (int r = 0; r < rows; ++r) {
            ASSERT_EQ(grid.cell(0, r), before.cell(0, r));
            if (r < args.firstRow || r > args.lastRow) {
                ASSERT_EQ(grid.rowCells(r), before.rowCells(r));
            } else {
                movedBefore.push_back(before.rowCells(r));
                movedAfter.push_back(grid.rowCells(r));
                movedBefore.back()[0].clear();
                movedAfter.back()[0].clear();
            }
        }
        std::sort(movedBefore.begin(), movedBefore.end());
        std::sort(movedAfter.begin(), movedAfter.end());
        ASSERT_EQ(movedAfter, movedBefore) << "round " << round;
    }
}

TEST(GridSortOrder, AdversarialOrdersEnd) {
    // Reversed, equal, sawtooth and organ-pipe inputs of many sizes, including ranges that start
    // deep inside the grid, where the first gaps exceed the range.
    for (int n = 2; n <= 130; n += 3) {
        for (int shape = 0; shape < 4; ++shape) {
            std::vector<std::string> keys;
            for (int i = 0; i < n; ++i) {
                int v = 0;
                switch (shape) {
                    case 0:
                        v = n - i;
                        break;
                    case 1:
                        v = 7;
                        break;
                    case 2:
                        v = i % 5;
                        break;
                    default:
                        v = i < n / 2 ? i : n - i;
                        break;
                }
                keys.push_back(std::to_string(v));
            }
            StringGrid grid = KeyGrid(keys);
            GridSortArgs args = OneKey(0, 1 + n / 3, n);
            GridSort(grid, args, *kLocale);
            std::vector<int> tail;
            for (int r = args.firstRow; r <= n; ++r) {
                tail.push_back(std::stoi(grid.cell(1, r)));
            }
            EXPECT_TRUE(std::is_sorted(tail.begin(), tail.end()))
                << "n " << n << " shape " << shape;
        }
    }
}

TEST(SortRowTable, NineBeforeTenAndLabelsStay) {
    StringGrid table = RowTableOf({{"10", "11", "12"}, {"9", "20", "31"}, {"9", "20", "30"}});
    const StringGrid before = table;
    StringGrid backup;
    SortRowTable(table, 3, backup, *kLocale);
    EXPECT_EQ(table.rowCells(1)[1], "9");
    EXPECT_EQ(table.rowCells(1)[3], "30");
    EXPECT_EQ(table.rowCells(2)[3], "31");
    EXPECT_EQ(table.rowCells(3)[1], "10");
    for (int r = 0; r <= 3; ++r) {
        EXPECT_EQ(table.cell(0, r), before.cell(0, r));
    }
    EXPECT_EQ(table.rowCells(0), before.rowCells(0)) << "the header stays";
}

TEST(SortRowTable, UndoRestoresEveryCell) {
    StringGrid table = RowTableOf({{"5", "6", "7", "8", "9", "10"},
                                   {"1", "2", "3", "4", "5", "6"},
                                   {"5", "6", "7", "8", "9", "9"},
                                   {"1", "2", "3", "4", "5", "7"},
                                   {"40", "41", "42", "43", "44", "45"}});
    table.setCell(16, 2, "extra");  // cells beyond the key travel along and come back
    const StringGrid before = table;
    StringGrid backup(17, 3);
    backup.setCell(5, 2, "stale");
    SortRowTable(table, 6, backup, *kLocale);
    EXPECT_EQ(backup.rowCount(), table.rowCount());
    for (int r = 1; r < table.rowCount(); ++r) {
        EXPECT_EQ(backup.rowCells(r), before.rowCells(r)) << "backup row " << r;
    }
    EXPECT_EQ(table.cell(16, 1), "extra");
    EXPECT_NE(table, before);
    UndoRowTableSort(table, backup);
    EXPECT_EQ(table, before);
}

TEST(SortRowTable, OneOrNoDataRowsChangeNothing) {
    StringGrid one = RowTableOf({{"3", "2", "1"}});
    const StringGrid oneBefore = one;
    StringGrid backup;
    SortRowTable(one, 3, backup, *kLocale);
    EXPECT_EQ(one, oneBefore);
    EXPECT_EQ(backup.rowCells(1), oneBefore.rowCells(1));

    // An empty loaded file leaves only the header: sorting it is simply nothing to do.
    StringGrid none = RowTableOf({});
    const StringGrid noneBefore = none;
    EXPECT_NO_THROW(SortRowTable(none, 6, backup, *kLocale));
    EXPECT_EQ(none, noneBefore);
    EXPECT_EQ(backup.rowCount(), 1);
}

TEST(SortRowTable, ShortLoadedRowFailsAndBackupHoldsTheRowsBefore) {
    // A row saved with fewer numbers reads back with single spaces in the key columns.
    StringGrid table = RowTableOf({{"1", "2", "3", "7"}, {"1", "2", "3", " "}});
    const StringGrid before = table;
    StringGrid backup;
    try {
        SortRowTable(table, 4, backup, *kLocale);
        FAIL() << "expected an error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Werte entsprechen nicht dem Typ Zahl");
    }
    for (int r = 1; r < before.rowCount(); ++r) {
        EXPECT_EQ(backup.rowCells(r), before.rowCells(r));
    }
}

TEST(SortRowTable, UndoFillsRowsTheBackupLacksWithEmptyCells) {
    StringGrid table = RowTableOf({{"2"}, {"1"}});
    StringGrid backup;
    SortRowTable(table, 1, backup, *kLocale);
    table.setRowCount(4);  // a longer file was loaded meanwhile
    table.setCell(1, 3, "77");
    UndoRowTableSort(table, backup);
    EXPECT_EQ(table.cell(1, 1), "2");
    EXPECT_EQ(table.cell(1, 2), "1");
    EXPECT_EQ(table.rowCells(3), std::vector<std::string>(17));
}

}  // namespace
}  // namespace losfix

namespace losfix {
namespace {

// The sort as it was first written: rows exchanged in the grid, every cell read at every
// comparison. Reading the keys once must give the same grid, also when an error stops half way.
void ReferenceShellSort(StringGrid& grid, int first, int last, int keys) {
    auto value = [&](int column, int row) {
        long double v = 0;
        const std::string& text = grid.cell(column, row);
        if (text.empty()) {
            return -1.0L;
        }
        std::size_t used = 0;
        try {
            v = std::stold(text, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != text.size()) {
            throw Error("Werte entsprechen nicht dem Typ Zahl");
        }
        return v;
    };
    auto outOfOrder = [&](int a, int b) {
        for (int c = 1; c <= keys; ++c) {
            const long double va = value(c, a);
            const long double vb = value(c, b);
            if (va != vb) {
                return va > vb;
            }
        }
        return false;
    };
    for (int gap = std::max(last / 2, last > first ? 1 : 0); gap > 0; gap /= 2) {
        for (int i = first; i <= last - gap; ++i) {
            for (int j = i; j >= first && outOfOrder(j, j + gap); j = j > gap ? j - gap : first) {
                grid.swapRows(j, j + gap, 1);
            }
        }
    }
}

TEST(GridSortOrder, ReadingKeysOnceKeepsTheOrderAndTheStateAtAnError) {
    std::mt19937 random(4711);
    for (int round = 0; round < 60; ++round) {
        const int rows = 1 + static_cast<int>(random() % 300);
        StringGrid grid(5, rows + 1, 1, 1);
        for (int r = 1; r <= rows; ++r) {
            grid.setCell(0, r, std::string("L").append(std::to_string(r)));
            // Few distinct values, so that many rows tie, or many, so that none do; small and
            // wide ranges are ranked in different ways.
            const unsigned range = round % 2 == 0 ? 4 : (round % 4 == 1 ? 1000000 : 2000000000);
            for (int c = 1; c <= 3; ++c) {
                grid.setCell(c, r, std::to_string(random() % range));
            }
            grid.setCell(4, r, std::string("id").append(std::to_string(r)));
        }
        if (round % 3 == 0) {
            grid.setCell(2, 1 + static_cast<int>(random() % rows), " x");
        }
        StringGrid expected = grid;
        std::string expectedError;
        try {
            ReferenceShellSort(expected, 1, rows, 3);
        } catch (const Error& e) {
            expectedError = e.what();
        }
        GridSortArgs args;
        args.keyColumns = {1, 2, 3};
        args.sortTypes = {0, 0, 0};
        args.firstRow = 1;
        args.lastRow = rows;
        EXPECT_EQ(SortMessage(grid, args), expectedError) << "round " << round;
        EXPECT_TRUE(grid == expected) << "round " << round;
    }
}

}  // namespace
}  // namespace losfix
