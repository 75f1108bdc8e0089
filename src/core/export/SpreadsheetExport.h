#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/StringGrid.h"

namespace losfix {

inline constexpr const char* kSpreadsheetSheetName = "Losfixreihen";
inline constexpr const char* kEmptyTableMessage = "Eine leere Tabelle exportiere ich nicht.";
inline constexpr const char* kSpreadsheetMissingMessage =
    "Excel ist nicht auf Ihrem Rechner installiert, der Export daher nicht möglich.\r\r"
    "Ich breche ab.";

// The automation constants the export passes: a workbook of one worksheet, right alignment, and
// the general number format under its German name.
inline constexpr int kWorkbookOfOneWorksheet = -4167;  // xlWBATWorksheet
inline constexpr int kAlignRight = -4152;              // xlRight
inline constexpr const char* kGeneralNumberFormat = "Standard";

// Texts going into a spreadsheet range in one piece: rows x columns, addressed from 1 like the
// range they fill. The block is one row and one column larger than the table's data; that last
// row and column stay empty. The texts lie in one buffer: a block of 1.7 million cells is built
// and copied without a string per cell.
class ValueBlock {
public:
    ValueBlock() = default;
    // cell(row, column) gives each text as a string view; asked row by row, once per cell.
    template <typename CellText>
    ValueBlock(int rows, int columns, CellText&& cell)
        : rows_(rows > 0 && columns > 0 ? rows : 0), columns_(rows_ > 0 ? columns : 0) {
        offsets_.reserve(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_) + 1);
        offsets_.push_back(0);
        for (int r = 1; r <= rows_; ++r) {
            for (int c = 1; c <= columns_; ++c) {
                text_.append(cell(r, c));
                offsets_.push_back(text_.size());
            }
        }
    }

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    std::string_view at(int row, int column) const {
        const std::size_t i =
            static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(columns_) +
            static_cast<std::size_t>(column - 1);
        return std::string_view(text_).substr(offsets_[i], offsets_[i + 1] - offsets_[i]);
    }

private:
    int rows_ = 0;
    int columns_ = 0;
    std::string text_;
    std::vector<std::size_t> offsets_;
};

// The block of a table without its header row and label column: element (r, c) is the text of
// cell (c, r) for r below the row count and c up to lastColumn.
ValueBlock BuildValueBlock(const StringGrid& table, int lastColumn);

// "A1" notation for row and column (both from 1); columns go up to 702 ("ZZ"). Anything else
// is refused with an Error rather than turned into a wrong address.
inline constexpr int kLastAddressableColumn = 702;
std::string CellAddress(int row, int column);
// The reverse: false for anything that is not a column of one or two letters (either case)
// followed by a row number from 1.
bool ParseCellAddress(std::string_view address, int& row, int& column);

// The spreadsheet program as the export drives it. Each member is one automation call (or one
// chain of calls) in the program's own object model; "the sheet" is the one selected by
// selectWorksheet.
class SpreadsheetAutomation {
public:
    virtual ~SpreadsheetAutomation() = default;

    // Creates the application object.
    virtual void createApplication() = 0;
    // Application.Visible = visible
    virtual void setVisible(bool visible) = 0;
    // Application.Workbooks.Add(templateKind)
    virtual void addWorkbook(int templateKind) = 0;
    // Application.Workbooks(workbook).WorkSheets(sheet) becomes the sheet.
    virtual void selectWorksheet(int workbook, int sheet) = 0;
    // Sheet.Name = name
    virtual void setSheetName(const std::string& name) = 0;
    // Sheet.Range(range).NumberFormat = format
    virtual void setNumberFormat(const std::string& range, const std::string& format) = 0;
    // Sheet.Range(corner1, corner2).EntireColumn.HorizontalAlignment = alignment
    virtual void setEntireColumnAlignment(const std::string& corner1, const std::string& corner2,
                                          int alignment) = 0;
    // Sheet.Range(range).Columns.AutoFit
    virtual void autoFitColumns(const std::string& range) = 0;
    // Sheet.Range(corner1, corner2).Value = block
    virtual void setValue(const std::string& corner1, const std::string& corner2,
                          const ValueBlock& block) = 0;
};

// Copies the table's data (rows 1 on, columns 1 to lastColumn) into a new workbook of the
// spreadsheet program: builds the block first, then makes the ten automation calls in order.
// Errors of the spreadsheet program are not caught here.
void ExportGridToSpreadsheet(const StringGrid& table, const std::string& sheetName, int lastColumn,
                             SpreadsheetAutomation& spreadsheet);

// A message for the user in place of an export, without any window behind it.
struct ExportNotice {
    enum class Icon { Information, Error };
    Icon icon = Icon::Information;
    std::string text;  // the program's text; the dialogs show "\r" as a line break

    bool operator==(const ExportNotice&) const = default;
};

// What the "Excel- Export" button must say instead of exporting, or nothing when the export may
// go ahead: an empty first cell refuses the table, a missing spreadsheet program the export. The
// program is looked for only when the table is not empty.
std::optional<ExportNotice> CheckSpreadsheetExport(const StringGrid& table,
                                                   const std::function<bool()>& installed);

}  // namespace losfix
