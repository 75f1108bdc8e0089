#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/common/TextFile.h"
#include "core/rows/RowFile.h"
#include "core/rows/SelectionFile.h"

namespace losfix {
namespace {

std::string ReadTestFile(const std::string& name) {
    std::ifstream in(std::string(LOSFIX_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lines of a file this program wrote: every line ends with CR LF.
std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "last line without CR LF";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

StringGrid EmptyRowTable(int rows) {
    StringGrid table(17, rows, 1, 1);
    table.setCell(0, 0, "Reihe");
    for (int c = 1; c <= 16; ++c) {
        table.setCell(c, 0, std::string(" ").append(std::to_string(c)));
    }
    return table;
}

// The rows of tests/data/rows_6of49.lrei.
StringGrid SixOf49Table() {
    StringGrid table = EmptyRowTable(4);
    const std::vector<std::vector<std::string>> rows = {
        {"   1", "3", "11", "17", "28", "40", "49"},
        {"   2", "5", "9", "10", "23", "31", "44"},
        {"  10", "1", "2", "3", "4", "5", "6"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        table.setRowCells(static_cast<int>(i) + 1, rows[i]);
    }
    return table;
}

// A table full of leftovers, as before a load.
StringGrid UsedTable() {
    StringGrid table = EmptyRowTable(55);
    for (int r = 1; r < 55; ++r) {
        for (int c = 0; c < 17; ++c) {
            table.setCell(c, r, "old");
        }
    }
    return table;
}

TEST(RowFileSave, WritesTheGoldenFileByteForByte) {
    const std::string bytes = EncodeRowFile(SixOf49Table());
    EXPECT_EQ(bytes, ReadTestFile("rows_6of49.lrei"));
    for (const std::string& line : CrLfLines(bytes)) {
        EXPECT_EQ(line.substr(line.size() - 10), std::string(10, ',')) << line;
    }
}

TEST(RowFileSave, NoDataRowsGiveAnEmptyFile) {
    EXPECT_EQ(EncodeRowFile(EmptyRowTable(1)), "");
    EXPECT_EQ(EncodeRowFile(StringGrid(17, 0, 1, 1)), "");
}

TEST(RowFileSave, QuotesCommasQuotesAndBlanksAndReadsThemBack) {
    StringGrid table = EmptyRowTable(2);
    table.setRowCells(1, {"a,b", "say \"hi\"", "x y", "tab\there", "plain", "ä"});
    const std::string bytes = EncodeRowFile(table);
    EXPECT_EQ(bytes, "\"a,b\",\"say \"\"hi\"\"\",\"x y\",\"tab\there\",plain,\xE4,,,,,,,,,,,\r\n");
    StringGrid loaded = UsedTable();
    DecodeRowFile(bytes, loaded);
    ASSERT_EQ(loaded.rowCount(), 2);
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(loaded.cell(c, 1), table.cell(c, 1)) << "column " << c;
    }
    for (int c = 6; c < 17; ++c) {
        EXPECT_EQ(loaded.cell(c, 1), " ") << "column " << c;
    }
}

TEST(RowFileLoad, ReadsTheGoldenFileAndKeepsTheHeader) {
    StringGrid table = UsedTable();
    const std::vector<std::string> header = table.rowCells(0);
    DecodeRowFile(ReadTestFile("rows_6of49.lrei"), table);
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.rowCells(0), header);
    const StringGrid expected = SixOf49Table();
    for (int r = 1; r <= 3; ++r) {
        for (int c = 0; c <= 6; ++c) {
            EXPECT_EQ(table.cell(c, r), expected.cell(c, r)) << c << "," << r;
        }
        // The empty cells between the commas come back as single spaces.
        for (int c = 7; c < 17; ++c) {
            EXPECT_EQ(table.cell(c, r), " ") << c << "," << r;
        }
    }
}

TEST(RowFileLoad, SaveLoadSaveTurnsEmptyCellsIntoQuotedSpaces) {
    StringGrid table = SixOf49Table();
    const std::string first = EncodeRowFile(table);
    DecodeRowFile(first, table);
    const std::string second = EncodeRowFile(table);
    EXPECT_EQ(second, ReadTestFile("rows_6of49_resaved.lrei"));
    // Loading either file gives the same table; a third save changes nothing more.
    StringGrid again = EmptyRowTable(1);
    DecodeRowFile(second, again);
    EXPECT_EQ(again.rowCells(2), table.rowCells(2));
    EXPECT_EQ(EncodeRowFile(again), second);
}

std::string Utf16(const std::string& utf8, bool bigEndian) {
    // Enough for the test texts: ASCII and two-byte UTF-8 sequences.
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned code = static_cast<unsigned char>(utf8[i]);
        if ((code & 0xE0) == 0xC0) {
            code = ((code & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        }
        const char high = static_cast<char>(code >> 8);
        const char low = static_cast<char>(code & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

TEST(RowFileLoad, AcceptsEveryByteOrderMarkAndLineEnd) {
    const std::vector<std::string> lines = {"\"Zeile ä\",1,2", "x,3,,4"};
    for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
        for (const bool finalBreak : {true, false}) {
            const std::string text = lines[0] + lineEnd + lines[1] + (finalBreak ? lineEnd : "");
            std::string ansi = text;
            ansi.replace(ansi.find("ä"), 2, "\xE4");
            const std::vector<std::pair<std::string, std::string>> variants = {
                {"ANSI", ansi},
                {"UTF-8", "\xEF\xBB\xBF" + text},
                {"UTF-16 LE", "\xFF\xFE" + Utf16(text, false)},
                {"UTF-16 BE", "\xFE\xFF" + Utf16(text, true)},
            };
            for (const auto& [name, bytes] : variants) {
                StringGrid table = UsedTable();
                DecodeRowFile(bytes, table);
                const std::string what = name + ", line end " + std::to_string(lineEnd.size()) +
                                         (finalBreak ? "" : ", no final break");
                ASSERT_EQ(table.rowCount(), 3) << what;
                EXPECT_EQ(table.rowCells(1),
                          (std::vector<std::string>{"Zeile ä", "1", "2", "", "", "", "", "", "", "",
                                                    "", "", "", "", "", "", ""}))
                    << what;
                EXPECT_EQ(table.rowCells(2),
                          (std::vector<std::string>{"x", "3", " ", "4", "", "", "", "", "", "", "",
                                                    "", "", "", "", "", ""}))
                    << what;
            }
        }
    }
}

TEST(RowFileLoad, LongShortAndEmptyLines) {
    std::string twenty = "L";
    for (int i = 1; i < 20; ++i) {
        twenty.append(",").append(std::to_string(i));
    }
    const std::string bytes = twenty + "\r\n\r\nA,5,9\r\n";
    StringGrid table = UsedTable();
    DecodeRowFile(bytes, table);
    ASSERT_EQ(table.rowCount(), 4);
    // Twenty items fill the 17 cells; 17, 18 and 19 are dropped.
    EXPECT_EQ(table.cell(0, 1), "L");
    for (int c = 1; c < 17; ++c) {
        EXPECT_EQ(table.cell(c, 1), std::to_string(c));
    }
    // The empty line gives a row with every cell empty, label included.
    EXPECT_EQ(table.rowCells(2), std::vector<std::string>(17));
    // Three items: label and columns 1 and 2; the rest stays empty.
    EXPECT_EQ(table.cell(0, 3), "A");
    EXPECT_EQ(table.cell(1, 3), "5");
    EXPECT_EQ(table.cell(2, 3), "9");
    for (int c = 3; c < 17; ++c) {
        EXPECT_EQ(table.cell(c, 3), "") << c;
    }
}

TEST(RowFileLoad, FirstCellLikeAByteOrderMarkReadsBackUnchanged) {
    // In Windows-1252 these cells begin with the bytes of a UTF-8 or UTF-16 mark.
    for (const std::string first : {"ï»¿", "ÿþ", "þÿ"}) {
        StringGrid table = SixOf49Table();
        table.setCell(0, 1, first);
        table.setCell(1, 2, "Größe €");
        StringGrid loaded = UsedTable();
        DecodeRowFile(EncodeRowFile(table), loaded);
        ASSERT_EQ(loaded.rowCount(), 4) << first;
        for (int r = 1; r < 4; ++r) {
            for (int c = 0; c <= 6; ++c) {
                EXPECT_EQ(loaded.cell(c, r), table.cell(c, r)) << first << " " << c << "," << r;
            }
        }
    }
}

TEST(RowFileLoad, EmptyFileLeavesOnlyTheHeader) {
    StringGrid table = UsedTable();
    const std::vector<std::string> header = table.rowCells(0);
    DecodeRowFile("", table);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.rowCells(0), header);
}

// Applies a selection to a board and records every call in order.
class RecordingTarget : public SelectionTarget {
public:
    void applyRowSizeItem(int item) override {
        calls.push_back("row size " + std::to_string(item));
        board.setRowSizeItem(item);
    }
    void applyPoolItem(int item) override {
        calls.push_back("pool " + std::to_string(item));
        board.setPoolItem(item);
    }
    int poolSize() const override { return board.poolSize(); }
    void applyStatus(int number, NumberStatus status) override {
        calls.push_back(std::to_string(number) + "=" + std::to_string(static_cast<int>(status)));
        board.setStatus(number, status);
    }

    Board board;
    std::vector<std::string> calls;
};

Board Pool35Board() {
    Board board;
    board.setRowSizeItem(3);
    board.setPoolItem(0);
    board.setStatus(1, NumberStatus::Bank);
    board.setStatus(7, NumberStatus::Out);
    board.setStatus(12, NumberStatus::FavI);
    board.setStatus(20, NumberStatus::FavII);
    board.setStatus(35, NumberStatus::FavIII);
    board.setStatus(36, NumberStatus::Bank);  // above the pool: not saved
    return board;
}

std::vector<std::string> GoldenSelectionLines() {
    return CrLfLines(ReadTestFile("selection_pool35.whl"));
}

std::string SelectionError(const std::vector<std::string>& lines, RecordingTarget& target) {
    try {
        ApplySelection(lines, target);
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

TEST(SelectionFileSave, WritesTheGoldenFileByteForByte) {
    EXPECT_EQ(EncodeSelection(Pool35Board()), ReadTestFile("selection_pool35.whl"));
}

TEST(SelectionFileSave, Pool90WithSixteenNumbersHas92Lines) {
    Board board;
    board.setRowSizeItem(13);
    board.setPoolItem(11);
    board.setStatus(90, NumberStatus::Bank);
    const std::vector<std::string> lines = CrLfLines(EncodeSelection(board));
    ASSERT_EQ(lines.size(), 92u);
    EXPECT_EQ(lines[0], "13");
    EXPECT_EQ(lines[1], "11");
    EXPECT_EQ(lines[91], "5");
}

TEST(SelectionFileLoad, AppliesTheGoldenFileInOrder) {
    RecordingTarget target;
    target.board.setPoolItem(11);
    ApplySelection(GoldenSelectionLines(), target);
    ASSERT_EQ(target.calls.size(), 37u);
    EXPECT_EQ(target.calls[0], "row size 3");
    EXPECT_EQ(target.calls[1], "pool 0");
    EXPECT_EQ(target.calls[2], "1=5");
    EXPECT_EQ(target.calls[36], "35=4");
    // Saving the loaded board gives the file again; numbers above 35 were not touched.
    EXPECT_EQ(EncodeSelection(target.board), ReadTestFile("selection_pool35.whl"));
    EXPECT_EQ(target.board.status(36), NumberStatus::Normal);
}

TEST(SelectionFileLoad, LinesAfterThePoolAreIgnoredAndBlanksBeforeNumbersAllowed) {
    std::vector<std::string> lines = GoldenSelectionLines();
    lines[0] = " 3";
    lines.push_back("9");
    lines.push_back("kein Wert");
    RecordingTarget target;
    EXPECT_EQ(SelectionError(lines, target), "");
    EXPECT_EQ(target.calls.size(), 37u);
}

TEST(SelectionFileLoad, NotAnIntegerStopsWithEarlierLinesApplied) {
    std::vector<std::string> lines = GoldenSelectionLines();
    lines[4] = "4 ";
    RecordingTarget target;
    EXPECT_EQ(SelectionError(lines, target), "''4 '' ist kein gültiger Integer-Wert");
    EXPECT_EQ(target.calls, (std::vector<std::string>{"row size 3", "pool 0", "1=5", "2=0"}));

    RecordingTarget first;
    EXPECT_EQ(SelectionError({"drei", "0"}, first), "''drei'' ist kein gültiger Integer-Wert");
    EXPECT_TRUE(first.calls.empty());
}

TEST(SelectionFileLoad, HugeLineIsQuotedShortened) {
    // Ten megabytes of digits: the message quotes 40 of them, not the whole line.
    std::vector<std::string> lines = GoldenSelectionLines();
    lines[2] = std::string(10 << 20, '7');
    RecordingTarget target;
    EXPECT_EQ(SelectionError(lines, target),
              "''" + std::string(40, '7') + "…'' ist kein gültiger Integer-Wert");
    EXPECT_EQ(target.calls, (std::vector<std::string>{"row size 3", "pool 0"}));
}

TEST(SelectionFileLoad, MissingLineReportsItsZeroBasedIndex) {
    std::vector<std::string> lines = GoldenSelectionLines();
    lines.resize(12);  // row size, pool and the statuses of 1..10
    RecordingTarget target;
    EXPECT_EQ(SelectionError(lines, target), "Listenindex überschreitet das Maximum (12)");
    ASSERT_EQ(target.calls.size(), 12u);
    EXPECT_EQ(target.calls.back(), "10=0");
    EXPECT_EQ(target.board.status(7), NumberStatus::Out);

    RecordingTarget empty;
    EXPECT_EQ(SelectionError({}, empty), "Listenindex überschreitet das Maximum (0)");
    EXPECT_TRUE(empty.calls.empty());

    RecordingTarget one;
    EXPECT_EQ(SelectionError({"5"}, one), "Listenindex überschreitet das Maximum (1)");
    EXPECT_EQ(one.calls, std::vector<std::string>{"row size 5"});
}

TEST(SelectionFileLoad, RangeProblemsAreNamedAndNothingIsApplied) {
    const std::vector<std::string> golden = GoldenSelectionLines();
    EXPECT_EQ(SelectionRangeProblem(golden), std::nullopt);

    struct Case {
        std::size_t line;
        std::string value;
        std::string message;
    };
    const std::vector<Case> cases = {
        {0, "14",
         "Die Auswahl-Datei enthält ungültige Werte (Zeile 1: Anzahl der Zahlen pro Reihe, "
         "Eintrag 14)."},
        {0, "-1",
         "Die Auswahl-Datei enthält ungültige Werte (Zeile 1: Anzahl der Zahlen pro Reihe, "
         "Eintrag -1)."},
        {1, "12",
         "Die Auswahl-Datei enthält ungültige Werte (Zeile 2: Größe der Zahlenmenge, Eintrag "
         "12)."},
        {1, "-1",
         "Die Auswahl-Datei enthält ungültige Werte (Zeile 2: Größe der Zahlenmenge, Eintrag "
         "-1)."},
        {2, "7", "Die Auswahl-Datei enthält ungültige Werte (Zeile 3: Status 7)."},
        {36, "6", "Die Auswahl-Datei enthält ungültige Werte (Zeile 37: Status 6)."},
        {10, "-1", "Die Auswahl-Datei enthält ungültige Werte (Zeile 11: Status -1)."},
        {10, "$10", "Die Auswahl-Datei enthält ungültige Werte (Zeile 11: Status 16)."},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = golden;
        lines[c.line] = c.value;
        EXPECT_EQ(SelectionRangeProblem(lines), c.message) << c.line << ": " << c.value;
        RecordingTarget target;
        EXPECT_EQ(SelectionError(lines, target), c.message);
        EXPECT_TRUE(target.calls.empty()) << c.line << ": " << c.value;
    }
}

TEST(SelectionFileLoad, RangeCheckLooksOnlyAtLinesThatAreRead) {
    std::vector<std::string> lines = GoldenSelectionLines();
    lines.push_back("9");  // line 38: beyond pool 35
    EXPECT_EQ(SelectionRangeProblem(lines), std::nullopt);

    // A bad code after a line that is no integer is never read: the integer error wins.
    lines = GoldenSelectionLines();
    lines[5] = "x";
    lines[6] = "9";
    EXPECT_EQ(SelectionRangeProblem(lines), std::nullopt);
    RecordingTarget target;
    EXPECT_EQ(SelectionError(lines, target), "''x'' ist kein gültiger Integer-Wert");

    // Before it, the range problem wins.
    lines[3] = "8";
    EXPECT_EQ(SelectionRangeProblem(lines),
              "Die Auswahl-Datei enthält ungültige Werte (Zeile 4: Status 8).");

    // A short file with good values is no range problem; ApplySelection reports the gap.
    EXPECT_EQ(SelectionRangeProblem({"3", "0", "1"}), std::nullopt);
    EXPECT_EQ(SelectionRangeProblem({}), std::nullopt);
}

TEST(SelectionFileLoad, StatusesComeFromTheTargetsPool) {
    // The statuses read follow the pool the target reports after the pool item was applied.
    class FixedPool : public RecordingTarget {
    public:
        int poolSize() const override { return 3; }
    };
    FixedPool target;
    EXPECT_EQ(SelectionError({"0", "5", "1", "2", "3", "x"}, target), "");
    EXPECT_EQ(target.calls,
              (std::vector<std::string>{"row size 0", "pool 5", "1=1", "2=2", "3=3"}));
}

TEST(QuickSlots, FileNames) {
    EXPECT_EQ(QuickSlotFileName(1), "Quick1.whl");
    EXPECT_EQ(QuickSlotFileName(2), "Quick2.whl");
    EXPECT_EQ(QuickSlotFileName(3), "Quick3.whl");
}

}  // namespace
}  // namespace losfix
