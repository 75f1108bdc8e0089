#pragma once

#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/common/StringGrid.h"
#include "core/export/SpreadsheetExport.h"
#include "platform/Shell.h"

namespace losfix {

// The spreadsheet program's calls turned into an .xlsx workbook: the calls only collect the
// sheet; save() writes it into a folder and, when it was made visible, opens it in the user's
// spreadsheet program. Cells show what a spreadsheet program shows for the texts it was given:
// a whole number becomes a number, an empty text leaves the cell empty, any other text stays.
class XlsxSpreadsheet : public SpreadsheetAutomation {
public:
    XlsxSpreadsheet(std::string folder, Shell& shell);

    void createApplication() override;
    void setVisible(bool visible) override;
    void addWorkbook(int templateKind) override;
    void selectWorksheet(int workbook, int sheet) override;
    void setSheetName(const std::string& name) override;
    void setNumberFormat(const std::string& range, const std::string& format) override;
    void setEntireColumnAlignment(const std::string& corner1, const std::string& corner2,
                                  int alignment) override;
    void autoFitColumns(const std::string& range) override;
    void setValue(const std::string& corner1, const std::string& corner2,
                  const ValueBlock& block) override;

    // Writes the workbook as "<sheet name> YYYY-MM-DD HH-MM-SS.xlsx" for the given local time,
    // with " (2)", " (3)", ... when that name is taken; never replaces a file and leaves no
    // partial one. Then opens it if visible (OpenWorkbook). Returns the path; throws Error when
    // the file cannot be created, WorkbookNotOpened when it was written but no program opens it.
    std::string save(const std::tm& localTime);
    std::string save();  // the current local time

private:
    struct Area {
        int top = 0, left = 0, bottom = 0, right = 0;
        bool contains(int row, int column) const {
            return row >= top && row <= bottom && column >= left && column <= right;
        }
    };
    struct Values {
        int top = 0, left = 0;
        ValueBlock block;
    };

    void requireSheet() const;
    void writeWorkbook(const std::string& path) const;

    std::string folder_;
    Shell& shell_;
    bool created_ = false;
    bool visible_ = false;
    int workbooks_ = 0;
    bool sheetSelected_ = false;
    std::string sheetName_ = "Tabelle1";
    std::vector<std::pair<Area, std::string>> numberFormats_;  // later ones win
    std::map<int, int> columnAlignment_;                       // column from 1 -> alignment code
    std::vector<int> fittedColumns_;
    std::vector<Values> values_;
};

// The workbook is saved, but neither the desktop nor a spreadsheet program started for it opened
// it; the message says where it lies.
class WorkbookNotOpened : public Error {
public:
    explicit WorkbookNotOpened(const std::string& path);
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Shows a written workbook: with the spreadsheet program the shell names when the desktop has
// none for workbooks, else (or when that program does not start) with the desktop's program.
// False when neither started.
bool OpenWorkbook(Shell& shell, const std::string& path);

// What the "Excel- Export" button does once the checks passed: the table's data through the
// automation calls into a workbook in folder, written and opened. Returns the workbook's path.
std::string ExportRowTableToWorkbook(const StringGrid& table, const std::string& folder,
                                     Shell& shell);

}  // namespace losfix
