#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/common/NumberSet.h"
#include "core/common/PadLabel.h"
#include "core/common/Random.h"
#include "core/common/StringGrid.h"

namespace losfix {
namespace {

// ---- NumberSet -------------------------------------------------------------------------------

TEST(NumberSetTest, MembersInBothWordsAndOutOfRangeIgnored) {
    NumberSet set;
    for (const int n : {0, 1, 63, 64, 90, 95}) {
        set.add(n);
    }
    set.add(-1);
    set.add(96);
    EXPECT_EQ(set.count(), 6);
    EXPECT_TRUE(set.contains(63));
    EXPECT_TRUE(set.contains(64));
    EXPECT_TRUE(set.contains(95));
    EXPECT_FALSE(set.contains(2));
    EXPECT_FALSE(set.contains(-1));
    EXPECT_FALSE(set.contains(96));

    set.remove(64);
    set.remove(0);
    set.remove(200);
    EXPECT_EQ(set.count(), 4);
    EXPECT_FALSE(set.contains(64));
    EXPECT_FALSE(set.contains(0));
    EXPECT_TRUE(set.contains(63));
}

TEST(NumberSetTest, SetOperationsAcrossTheWordBoundary) {
    NumberSet a;
    NumberSet b;
    for (const int n : {3, 40, 63, 64, 70}) {
        a.add(n);
    }
    for (const int n : {3, 63, 64, 71, 90}) {
        b.add(n);
    }
    const NumberSet both = a.intersection(b);
    EXPECT_EQ(both.count(), 3);
    EXPECT_EQ(a.sharedCount(b), 3);
    EXPECT_TRUE(both.contains(64));
    EXPECT_FALSE(both.contains(70));
    const NumberSet either = a.united(b);
    EXPECT_EQ(either.count(), 7);

    std::vector<int> order;
    either.forEach([&](int n) { order.push_back(n); });
    EXPECT_EQ(order, (std::vector<int>{3, 40, 63, 64, 70, 71, 90}));
}

TEST(NumberSetTest, EqualSetsHashAlike) {
    NumberSet a;
    NumberSet b;
    a.add(5);
    a.add(80);
    b.add(80);
    b.add(5);
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::hash<NumberSet>{}(a), std::hash<NumberSet>{}(b));

    EXPECT_TRUE(NumberSet().empty());
    EXPECT_FALSE(a.empty());
}

// ---- Random ----------------------------------------------------------------------------------

// seed := seed * 134775813 + 1 (mod 2^32), worked by hand from seed 0:
//   1st: 0 * 134775813 + 1                     = 1
//   2nd: 1 * 134775813 + 1                     = 134775814
//   3rd: 134775814 * 134775813 + 1 = 18164519904586783
//        = 4229253 * 4294967296 + 3698175007   -> 3698175007
// below(n) is (seed * n) >> 32:
//   134775814 * 100 = 13477581400, / 4294967296 = 3.14  -> 3
//   3698175007 * 100 = 369817500700, / 4294967296 = 86.1 -> 86
TEST(RandomTest, SeedSequenceAndDrawsFromSeedZero) {
    Random random(CountingSeedSource(0));
    random.reseed();
    EXPECT_EQ(random.seed(), 0U);

    EXPECT_EQ(random.below(100), 0U);
    EXPECT_EQ(random.seed(), 1U);
    EXPECT_EQ(random.below(100), 3U);
    EXPECT_EQ(random.seed(), 134775814U);
    EXPECT_EQ(random.below(100), 86U);
    EXPECT_EQ(random.seed(), 3698175007U);
}

TEST(RandomTest, DrawUsesTheUpperHalfOfTheProduct) {
    // Seeds chosen so that the step lands on a known value: the predecessor of s is
    // (s - 1) * 3645876429, the inverse of 134775813 modulo 2^32.
    ASSERT_EQ(134775813U * 3645876429U, 1U);
    auto before = [](std::uint32_t s) { return (s - 1U) * 3645876429U; };

    Random random(nullptr);
    random.setSeed(before(0xFFFFFFFFU));
    EXPECT_EQ(random.below(49), 48U);  // the largest seed gives the largest draw
    EXPECT_EQ(random.seed(), 0xFFFFFFFFU);

    random.setSeed(before(0x80000000U));
    EXPECT_EQ(random.below(10), 5U);  // half of 2^32 halves n exactly

    random.setSeed(before(0x80000000U));
    EXPECT_EQ(random.below(0xFFFFFFFFU), 0x7FFFFFFFU);  // needs the full 64-bit product
}

TEST(RandomTest, ReseedTakesTheNextValueOfTheSource) {
    Random random(CountingSeedSource(7, 5));
    random.reseed();
    EXPECT_EQ(random.seed(), 7U);
    random.below(3);
    random.reseed();
    EXPECT_EQ(random.seed(), 12U);
    random.reseed();
    EXPECT_EQ(random.seed(), 17U);
}

// Seeds given back come again in their order before the source's next, also when more are given
// back before all of the first ones came again.
TEST(RandomTest, SeedsGivenBackComeAgainFirst) {
    Random random(CountingSeedSource(1));
    std::vector<std::uint32_t> taken;
    for (int i = 0; i < 4; ++i) {
        random.reseed();
        taken.push_back(random.seed());
    }
    random.giveBack(taken.data() + 1, 3);  // 2, 3, 4
    random.reseed();
    EXPECT_EQ(random.seed(), 2U);
    random.reseed();
    const std::uint32_t three = random.seed();
    random.giveBack(&three, 1);
    std::vector<std::uint32_t> next;
    for (int i = 0; i < 4; ++i) {
        random.reseed();
        next.push_back(random.seed());
    }
    EXPECT_EQ(next, (std::vector<std::uint32_t>{3, 4, 5, 6}));
}

// ---- PadLabel --------------------------------------------------------------------------------

// 6 pixels per character, 3 for a space.
int FixedMeasure(std::string_view text) {
    int width = 0;
    for (const char c : text) {
        width += c == ' ' ? 3 : 6;
    }
    return width;
}

TEST(PadLabelTest, CentresInTheColumn) {
    // Width 44: round(30.8) = 31; "1" is 6 px: (31 - 6) / 6 = 4.17 -> 4 spaces.
    EXPECT_EQ(PadLabel("1", 44, FixedMeasure), "    1");
    // "100" is 18 px: 13 / 6 = 2.17 -> 2.
    EXPECT_EQ(PadLabel("100", 44, FixedMeasure), "  100");
    // Too wide for the column: no spaces, nothing cut.
    EXPECT_EQ(PadLabel("123456789", 44, FixedMeasure), "123456789");
}

TEST(PadLabelTest, ExactHalvesGoToTheEvenNeighbour) {
    // Width 21: round(14.7) = 15; (15 - 6) / 6 = 1.5 -> 2.
    EXPECT_EQ(PadLabel("1", 21, FixedMeasure), "  1");
    // Width 30: 21; (21 - 6) / 6 = 2.5 -> 2.
    EXPECT_EQ(PadLabel("1", 30, FixedMeasure), "  1");
    // Width 13: round(9.1) = 9; (9 - 6) / 6 = 0.5 -> 0.
    EXPECT_EQ(PadLabel("1", 13, FixedMeasure), "1");
    // Width 5: 0.7 * 5 = 3.5 -> 4 (even); 4 / 6 = 0.67 -> 1. Rounding 3.5 up-or-down wrongly to
    // 3 would give 0.5 -> 0.
    EXPECT_EQ(PadLabel("", 5, FixedMeasure), " ");
}

TEST(PadLabelTest, RoundHalfEvenDivision) {
    EXPECT_EQ(RoundHalfEvenDiv(5, 2), 2);
    EXPECT_EQ(RoundHalfEvenDiv(7, 2), 4);
    EXPECT_EQ(RoundHalfEvenDiv(-5, 2), -2);
    EXPECT_EQ(RoundHalfEvenDiv(-7, 2), -4);
    EXPECT_EQ(RoundHalfEvenDiv(-7, 3), -2);
    EXPECT_EQ(RoundHalfEvenDiv(8, -3), -3);
}

// ---- StringGrid ------------------------------------------------------------------------------

TEST(StringGridTest, OutsideCellsReadEmptyAndIgnoreWrites) {
    StringGrid grid(3, 2, 1, 1);
    grid.setCell(1, 1, "x");
    grid.setCell(3, 0, "lost");
    grid.setCell(0, 2, "lost");
    grid.setCell(-1, 0, "lost");
    EXPECT_EQ(grid.cell(1, 1), "x");
    EXPECT_EQ(grid.cell(3, 0), "");
    EXPECT_EQ(grid.cell(0, -1), "");
    EXPECT_EQ(grid.rowCells(0), (std::vector<std::string>{"", "", ""}));
}

TEST(StringGridTest, RowCountKeepsOldRowsAndAddsEmptyOnes) {
    StringGrid grid(2, 2);
    grid.setCell(1, 1, "b");
    grid.setRowCount(1);
    grid.setRowCount(3);
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.cell(1, 1), "");  // removed rows are gone
    grid.setRowCells(2, {"p", "q", "surplus"});
    EXPECT_EQ(grid.rowCells(2), (std::vector<std::string>{"p", "q"}));
    grid.setRowCells(0, {"only"});
    EXPECT_EQ(grid.rowCells(0), (std::vector<std::string>{"only", ""}));
}

TEST(StringGridTest, SwapRowsFromColumnAndRevisionCountsChanges) {
    StringGrid grid(3, 2);
    grid.setRowCells(0, {"a", "b", "c"});
    grid.setRowCells(1, {"x", "y", "z"});
    const auto before = grid.revision();
    grid.swapRows(0, 1, 1);
    EXPECT_GT(grid.revision(), before);
    EXPECT_EQ(grid.rowCells(0), (std::vector<std::string>{"a", "y", "z"}));
    EXPECT_EQ(grid.rowCells(1), (std::vector<std::string>{"x", "b", "c"}));
    grid.clearRow(1);
    EXPECT_EQ(grid.rowCells(1), (std::vector<std::string>{"", "", ""}));
}

TEST(StringGridTest, RowsOfDifferentLengthsSwapShrinkAndCompareByTheirCells) {
    StringGrid grid(4, 3);
    grid.setRowCells(0, {"a", "b", "c", "d"});
    grid.setCell(1, 1, "y");  // row 1 holds cells up to column 1 only
    grid.swapRows(0, 1, 1);
    EXPECT_EQ(grid.rowCells(0), (std::vector<std::string>{"a", "y", "", ""}));
    EXPECT_EQ(grid.rowCells(1), (std::vector<std::string>{"", "b", "c", "d"}));
    grid.swapRows(1, 2);
    EXPECT_EQ(grid.rowCells(1), (std::vector<std::string>(4)));
    EXPECT_EQ(grid.rowCells(2), (std::vector<std::string>{"", "b", "c", "d"}));

    // Grids with the same cells are equal however their cells were written.
    StringGrid same(4, 3);
    same.setRowCells(0, {"a", "y"});
    same.setCell(3, 1, "");
    same.setRowCells(2, {"", "b", "c", "d", "surplus"});
    EXPECT_EQ(same, grid);
    same.setCell(2, 1, "z");
    EXPECT_FALSE(same == grid);

    grid.setColumnCount(2);
    EXPECT_EQ(grid.rowCells(2), (std::vector<std::string>{"", "b"}));
    grid.setColumnCount(4);
    EXPECT_EQ(grid.cell(2, 2), "");  // cut cells do not come back
}

// ---- Errors and StrToInt ---------------------------------------------------------------------

TEST(ErrorTest, FullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(ErrorBoxText("Zugriff verweigert"), "Zugriff verweigert.");
    EXPECT_EQ(ErrorBoxText("Fertig."), "Fertig.");
    EXPECT_EQ(ErrorBoxText("Wirklich?"), "Wirklich?.");  // '?' lies above '.'
    EXPECT_EQ(ErrorBoxText("Ende!"), "Ende!");           // '!' lies below
    EXPECT_EQ(ErrorBoxText("(5)"), "(5)");               // ')' lies below
    EXPECT_EQ(ErrorBoxText("Wert 12"), "Wert 12.");
    EXPECT_EQ(ErrorBoxText("a/"), "a/.");  // '/' is the next code after '.'
    EXPECT_EQ(ErrorBoxText("Größe"), "Größe.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ErrorTest, MessagesFillTheirPlaceholders) {
    EXPECT_EQ(messages::CannotWrite("/x/einstellungen.ini"),
              "In /x/einstellungen.ini kann nicht geschrieben werden");
    EXPECT_EQ(messages::CannotCreate("a.lrei", "Zugriff verweigert"),
              "Datei \"a.lrei\" kann nicht erstellt werden. Zugriff verweigert");
    EXPECT_EQ(messages::CannotOpen("a.lrei", "Zugriff verweigert"),
              "Datei a.lrei kann nicht geöffnet werden. Zugriff verweigert");
}

TEST(ErrorTest, QuotedFileTextIsShortenedToFortyCharacters) {
    const std::string forty(40, '1');
    EXPECT_EQ(messages::NotAnInteger(forty), "''" + forty + "'' ist kein gültiger Integer-Wert");
    EXPECT_EQ(messages::NotAnInteger(forty + "23"),
              "''" + forty + "…'' ist kein gültiger Integer-Wert");
    // Characters, not bytes: no UTF-8 sequence is cut.
    std::string umlauts;
    for (int i = 0; i < 41; ++i) {
        umlauts += "ä";
    }
    EXPECT_EQ(messages::Excerpt(umlauts), umlauts.substr(0, 80) + "…");
    EXPECT_EQ(messages::Excerpt(umlauts.substr(0, 80)), umlauts.substr(0, 80));
    EXPECT_EQ(messages::Excerpt(""), "");
    // Stray continuation bytes do not stretch one character over a whole damaged line.
    const std::string stray = "\xff" + std::string(100000, '\x8f');
    EXPECT_EQ(messages::Excerpt(stray).size(), 4 * 40 + std::string("…").size());
}

TEST(StrToIntTest, AcceptedForms) {
    EXPECT_EQ(StrToInt("12"), 12);
    EXPECT_EQ(StrToInt(" 12"), 12);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("0x1F"), 31);
    EXPECT_EQ(StrToInt("0X1f"), 31);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
}

TEST(StrToIntTest, RejectedFormsThrowTheRuntimeMessage) {
    try {
        StrToInt("");
        FAIL() << "empty text read as a number";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "'''' ist kein gültiger Integer-Wert");
    }
    try {
        StrToInt("12a");
        FAIL() << "12a read as a number";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "''12a'' ist kein gültiger Integer-Wert");
    }
    int value = 99;
    EXPECT_FALSE(TryStrToInt("2147483648", value));
    EXPECT_FALSE(TryStrToInt("-2147483649", value));
    EXPECT_FALSE(TryStrToInt("99999999999999999999", value));
    EXPECT_FALSE(TryStrToInt("$100000000", value));
    EXPECT_FALSE(TryStrToInt("12 ", value));
    EXPECT_FALSE(TryStrToInt("-", value));
    EXPECT_FALSE(TryStrToInt("0x", value));
    EXPECT_EQ(value, 99);  // untouched on failure
}

}  // namespace
}  // namespace losfix
