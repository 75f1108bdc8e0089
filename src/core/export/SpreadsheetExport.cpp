#include "core/export/SpreadsheetExport.h"

#include <algorithm>

#include "core/common/Error.h"

namespace losfix {

namespace {

// The ranges the export formats are fixed; they do not follow the amount of data.
constexpr const char* kFirstColumnFormatRange = "A1:A14";
constexpr const char* kNumberColumnsFormatRange = "B1:M15";
constexpr const char* kRightAlignedFrom = "A1";
constexpr const char* kRightAlignedTo = "B15";
constexpr const char* kAutoFitRange = "A1:M15";
constexpr long long kMaxAddressRow = 1LL << 30;

}  // namespace

ValueBlock BuildValueBlock(const StringGrid& table, int lastColumn) {
    // The block's last column and row stay empty whatever the caller asks for.
    const int lastRow = table.rowCount() - 1;
    const int columns = std::min(lastColumn, table.columnCount() - 1);
    // A row's texts are read at once; the views stay valid while the block copies them.
    std::vector<std::string_view> row;
    int rowRead = -1;
    return ValueBlock(table.rowCount(), table.columnCount(), [&](int r, int c) -> std::string_view {
        if (r > lastRow || c > columns) {
            return {};
        }
        if (r != rowRead) {
            table.cellViews(r, row);
            rowRead = r;
        }
        return row[static_cast<std::size_t>(c)];
    });
}

std::string CellAddress(int row, int column) {
    if (row < 1 || column < 1 || column > kLastAddressableColumn) {
        throw Error("Die Zelle in Zeile " + std::to_string(row) + ", Spalte " +
                    std::to_string(column) + " liegt außerhalb der Tabelle");
    }
    int q = column / 26;
    int m = column % 26;
    if (m == 0) {
        --q;
        m = 26;
    }
    std::string address;
    if (q > 0) {
        address += static_cast<char>('A' + q - 1);
    }
    address += static_cast<char>('A' + m - 1);
    return address + std::to_string(row);
}

bool ParseCellAddress(std::string_view address, int& row, int& column) {
    std::size_t i = 0;
    int letters = 0;
    int col = 0;
    for (; i < address.size() && i < 3; ++i) {
        const char c = address[i];
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper < 'A' || upper > 'Z') {
            break;
        }
        col = col * 26 + (upper - 'A' + 1);
        ++letters;
    }
    if (letters == 0 || letters > 2 || i == address.size() || address[i] == '0') {
        return false;
    }
    long long r = 0;
    for (; i < address.size(); ++i) {
        if (address[i] < '0' || address[i] > '9' || r > kMaxAddressRow) {
            return false;
        }
        r = r * 10 + (address[i] - '0');
    }
    if (r > kMaxAddressRow) {
        return false;
    }
    row = static_cast<int>(r);
    column = col;
    return true;
}

void ExportGridToSpreadsheet(const StringGrid& table, const std::string& sheetName, int lastColumn,
                             SpreadsheetAutomation& spreadsheet) {
    // Complete before the spreadsheet program starts, so that all values travel in one call.
    const ValueBlock block = BuildValueBlock(table, lastColumn);
    const std::string farCorner = CellAddress(block.rows(), block.columns());

    spreadsheet.createApplication();
    spreadsheet.setVisible(true);
    spreadsheet.addWorkbook(kWorkbookOfOneWorksheet);
    spreadsheet.selectWorksheet(1, 1);
    spreadsheet.setSheetName(sheetName);
    spreadsheet.setNumberFormat(kFirstColumnFormatRange, kGeneralNumberFormat);
    spreadsheet.setNumberFormat(kNumberColumnsFormatRange, kGeneralNumberFormat);
    spreadsheet.setEntireColumnAlignment(kRightAlignedFrom, kRightAlignedTo, kAlignRight);
    spreadsheet.autoFitColumns(kAutoFitRange);
    spreadsheet.setValue(CellAddress(1, 1), farCorner, block);
}

std::optional<ExportNotice> CheckSpreadsheetExport(const StringGrid& table,
                                                   const std::function<bool()>& installed) {
    if (table.cell(1, 1).empty()) {
        return ExportNotice{ExportNotice::Icon::Error, kEmptyTableMessage};
    }
    if (!installed()) {
        return ExportNotice{ExportNotice::Icon::Information, kSpreadsheetMissingMessage};
    }
    return std::nullopt;
}

std::string WorkbookNotOpenedMessage(std::string_view path) {
    return "Die Reihen sind in der Arbeitsmappe\r" + std::string(path) +
           "\rgespeichert. Ich konnte aber kein Programm starten, das sie öffnet: Bitte öffnen "
           "Sie die Datei selbst.";
}

}  // namespace losfix
