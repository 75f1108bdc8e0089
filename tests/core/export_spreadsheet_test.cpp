#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/export/SpreadsheetExport.h"
#include "core/lottery/RowTable.h"
#include "support/core/FixedMeasure.h"

namespace losfix {
namespace {

// A row table of `rows` data rows with `numbers` numbers each, labelled like generated rows.
StringGrid TableOfRows(int rows, int numbers) {
    StringGrid table = MakeRowTable(testing::FixedMeasure);
    table.setRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        table.setCell(0, r, RowLabel(r, testing::FixedMeasure));
        for (int c = 1; c <= numbers; ++c) {
            table.setCell(c, r, std::to_string((r * 7 + c * 5) % 90 + 1));
        }
    }
    return table;
}

// Writes down every call in the spreadsheet program's own notation.
class RecordingSpreadsheet : public SpreadsheetAutomation {
public:
    void createApplication() override { calls.push_back("CreateObject(\"Excel.Application\")"); }
    void setVisible(bool visible) override {
        calls.push_back(std::string("Visible = ") + (visible ? "true" : "false"));
    }
    void addWorkbook(int templateKind) override {
        calls.push_back("Workbooks.Add(" + std::to_string(templateKind) + ")");
    }
    void selectWorksheet(int workbook, int sheet) override {
        calls.push_back("Workbooks(" + std::to_string(workbook) + ").WorkSheets(" +
                        std::to_string(sheet) + ")");
    }
    void setSheetName(const std::string& name) override {
        calls.push_back("Name = \"" + name + "\"");
    }
    void setNumberFormat(const std::string& range, const std::string& format) override {
        calls.push_back("Range(\"" + range + "\").NumberFormat = \"" + format + "\"");
    }
    void setEntireColumnAlignment(const std::string& corner1, const std::string& corner2,
                                  int alignment) override {
        calls.push_back("Range(\"" + corner1 + "\", \"" + corner2 +
                        "\").EntireColumn.HorizontalAlignment = " + std::to_string(alignment));
    }
    void autoFitColumns(const std::string& range) override {
        calls.push_back("Range(\"" + range + "\").Columns.AutoFit");
    }
    void setValue(const std::string& corner1, const std::string& corner2,
                  const ValueBlock& value) override {
        calls.push_back("Range(\"" + corner1 + "\", \"" + corner2 + "\").Value = block " +
                        std::to_string(value.rows()) + "x" + std::to_string(value.columns()));
        block = value;
    }

    std::vector<std::string> calls;
    ValueBlock block;
};

TEST(SpreadsheetExportTest, MakesTheTenCallsInOrderWithTheirArguments) {
    RecordingSpreadsheet spreadsheet;
    const StringGrid table = TableOfRows(120, 6);
    ExportGridToSpreadsheet(table, kSpreadsheetSheetName, table.columnCount() - 1, spreadsheet);

    const std::vector<std::string> expected = {
        "CreateObject(\"Excel.Application\")",
        "Visible = true",
        "Workbooks.Add(-4167)",
        "Workbooks(1).WorkSheets(1)",
        "Name = \"Losfixreihen\"",
        "Range(\"A1:A14\").NumberFormat = \"Standard\"",
        "Range(\"B1:M15\").NumberFormat = \"Standard\"",
        "Range(\"A1\", \"B15\").EntireColumn.HorizontalAlignment = -4152",
        "Range(\"A1:M15\").Columns.AutoFit",
        "Range(\"A1\", \"Q121\").Value = block 121x17",
    };
    EXPECT_EQ(spreadsheet.calls, expected);

    // Numbers in A1:F120 as the texts they are; G..P empty texts; row 121 and column Q empty.
    const ValueBlock& block = spreadsheet.block;
    for (int r = 1; r <= 121; ++r) {
        for (int c = 1; c <= 17; ++c) {
            const std::string expectedText = r <= 120 && c <= 6 ? table.cell(c, r) : "";
            ASSERT_EQ(block.at(r, c), expectedText) << "row " << r << ", column " << c;
        }
    }
}

TEST(SpreadsheetExportTest, BlockSkipsHeaderAndLabelsAndKeepsEmptyRows) {
    StringGrid table = TableOfRows(3, 16);
    table.setRowCount(6);  // three rows below the data stay empty
    const ValueBlock block = BuildValueBlock(table, table.columnCount() - 1);
    ASSERT_EQ(block.rows(), 6);
    ASSERT_EQ(block.columns(), 17);
    for (int r = 1; r <= 6; ++r) {
        for (int c = 1; c <= 17; ++c) {
            EXPECT_EQ(block.at(r, c), r <= 3 && c <= 16 ? table.cell(c, r) : "");
        }
    }
    // A smaller last column leaves the columns after it empty.
    EXPECT_EQ(BuildValueBlock(table, 2).at(1, 3), "");
    EXPECT_EQ(BuildValueBlock(table, 2).at(1, 2), table.cell(2, 1));
}

TEST(SpreadsheetExportTest, CellAddressAtItsEdges) {
    EXPECT_EQ(CellAddress(1, 1), "A1");
    EXPECT_EQ(CellAddress(1, 26), "Z1");
    EXPECT_EQ(CellAddress(5, 27), "AA5");
    EXPECT_EQ(CellAddress(2, 52), "AZ2");
    EXPECT_EQ(CellAddress(3, 53), "BA3");
    EXPECT_EQ(CellAddress(121, 17), "Q121");
    EXPECT_EQ(CellAddress(1048576, 702), "ZZ1048576");
    EXPECT_THROW(CellAddress(1, 703), Error);
    EXPECT_THROW(CellAddress(1, 0), Error);
    EXPECT_THROW(CellAddress(0, 1), Error);

    for (const int column : {1, 26, 27, 52, 53, 702}) {
        int row = 0;
        int parsed = 0;
        EXPECT_TRUE(ParseCellAddress(CellAddress(15, column), row, parsed));
        EXPECT_EQ(parsed, column);
        EXPECT_EQ(row, 15);
    }
    int row = 0;
    int column = 0;
    EXPECT_TRUE(ParseCellAddress("q121", row, column));
    EXPECT_EQ(column * 1000 + row, 17121);
    for (const char* bad : {"", "A", "12", "A0", "AAA1", "A1B", "A-1", "Ä1"}) {
        EXPECT_FALSE(ParseCellAddress(bad, row, column)) << bad;
    }
}

TEST(SpreadsheetExportTest, RefusesAnEmptyTableBeforeLookingForTheProgram) {
    int lookups = 0;
    const auto installed = [&lookups] {
        ++lookups;
        return false;
    };
    StringGrid table = TableOfRows(120, 6);
    table.setCell(1, 1, "");
    EXPECT_EQ(
        CheckSpreadsheetExport(table, installed),
        (ExportNotice{ExportNotice::Icon::Error, "Eine leere Tabelle exportiere ich nicht."}));
    EXPECT_EQ(lookups, 0);

    table.setCell(1, 1, "5");
    EXPECT_EQ(CheckSpreadsheetExport(table, installed),
              (ExportNotice{ExportNotice::Icon::Information,
                            "Excel ist nicht auf Ihrem Rechner installiert, der Export daher "
                            "nicht möglich.\r\rIch breche ab."}));
    EXPECT_EQ(lookups, 1);
    EXPECT_EQ(CheckSpreadsheetExport(table, [] { return true; }), std::nullopt);
}

TEST(SpreadsheetExportTest, ErrorsOfTheProgramReachTheCallerAndEndTheCalls) {
    struct FailingOnFormat : RecordingSpreadsheet {
        void setNumberFormat(const std::string&, const std::string&) override {
            throw Error("Formate werden nicht angenommen");
        }
    } spreadsheet;
    EXPECT_THROW(ExportGridToSpreadsheet(TableOfRows(2, 6), kSpreadsheetSheetName, 16, spreadsheet),
                 Error);
    EXPECT_EQ(spreadsheet.calls.size(), 5U);
    EXPECT_EQ(spreadsheet.calls.back(), "Name = \"Losfixreihen\"");
}

}  // namespace
}  // namespace losfix
