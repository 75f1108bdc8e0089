#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/export/SpreadsheetExport.h"
#include "core/lottery/RowTable.h"
#include "core/rows/RowFile.h"
#include "platform/SpreadsheetApp.h"
#include "platform/XlsxSpreadsheet.h"
#include "support/TestContext.h"
#include "support/core/FixedMeasure.h"
#include "support/core/LargeTables.h"

namespace losfix {
namespace {

// 9 December 2026, 14:05:33 local time.
std::tm ExportTime() {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 11;
    time.tm_mday = 9;
    time.tm_hour = 14;
    time.tm_min = 5;
    time.tm_sec = 33;
    return time;
}

// Ascending rows of `numbers` numbers out of 90, labelled like generated rows.
StringGrid TableOfRows(int rows, int numbers) {
    StringGrid table = MakeRowTable(testing::FixedMeasure);
    table.setRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        table.setCell(0, r, RowLabel(r, testing::FixedMeasure));
        for (int c = 1; c <= numbers; ++c) {
            table.setCell(c, r, std::to_string((r % 5) + (c - 1) * 5 + 1));
        }
    }
    return table;
}

std::string Export(const StringGrid& table, const std::string& folder, Shell& shell) {
    XlsxSpreadsheet spreadsheet(folder, shell);
    ExportGridToSpreadsheet(table, kSpreadsheetSheetName, table.columnCount() - 1, spreadsheet);
    return spreadsheet.save(ExportTime());
}

// The CSV the spreadsheet program writes for the table's data: numbers bare, texts quoted,
// rows and columns up to the last one holding something.
std::string ExpectedCsv(const StringGrid& table) {
    int lastRow = 0;
    int lastColumn = 0;
    for (int r = 1; r < table.rowCount(); ++r) {
        for (int c = 1; c < table.columnCount(); ++c) {
            if (!table.cell(c, r).empty()) {
                lastRow = r;
                lastColumn = std::max(lastColumn, c);
            }
        }
    }
    const std::regex wholeNumber("[+-]?[0-9]{1,15}");
    std::string csv;
    for (int r = 1; r <= lastRow; ++r) {
        for (int c = 1; c <= lastColumn; ++c) {
            const std::string& text = table.cell(c, r);
            if (c > 1) {
                csv += ',';
            }
            if (std::regex_match(text, wholeNumber)) {
                csv += std::to_string(std::stoll(text));
            } else if (!text.empty()) {
                csv += '"' + std::regex_replace(text, std::regex("\""), "\"\"") + '"';
            }
        }
        csv += '\n';
    }
    return csv;
}

std::string Unzipped(const std::string& xlsx, const std::string& member) {
    const ProgramAnswer answer = RunProgram("unzip", {"-p", xlsx, member}, 30000);
    EXPECT_TRUE(answer.finished && answer.exitCode == 0) << member;
    return answer.output;
}

// Column (from 1) -> its <col> element's attributes.
std::map<int, std::map<std::string, std::string>> ColumnElements(const std::string& sheetXml) {
    std::map<int, std::map<std::string, std::string>> columns;
    const std::regex colElement("<col ([^>]*)/>");
    const std::regex attribute("(\\w+)=\"([^\"]*)\"");
    for (std::sregex_iterator col(sheetXml.begin(), sheetXml.end(), colElement), end; col != end;
         ++col) {
        const std::string attributes = (*col)[1];
        std::map<std::string, std::string> values;
        for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != end;
             ++a) {
            values[(*a)[1]] = (*a)[2];
        }
        for (int c = std::stoi(values["min"]); c <= std::stoi(values["max"]); ++c) {
            columns[c] = values;
        }
    }
    return columns;
}

// The horizontal alignment of cell style number `index`, "" for the general one.
std::string StyleAlignment(const std::string& stylesXml, int index) {
    const std::size_t cellXfs = stylesXml.find("<cellXfs");
    const std::regex xf("<xf [^>]*?(/>|>(.*?)</xf>)");
    std::sregex_iterator it(stylesXml.begin() + static_cast<long>(cellXfs), stylesXml.end(), xf);
    std::advance(it, index);
    std::smatch horizontal;
    const std::string element = (*it)[0];
    return std::regex_search(element, horizontal, std::regex("horizontal=\"(\\w+)\""))
               ? horizontal[1].str()
               : "";
}

TEST(XlsxExportTest, SpreadsheetProgramReadsBackEveryCell) {
    const std::string soffice = QStandardPaths::findExecutable("soffice").toStdString();
    if (soffice.empty()) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    testing::TestContext tc;
    const StringGrid sixes = TableOfRows(120, 6);
    StringGrid sixteens = TableOfRows(40, 16);
    // A row as a foreign row file may leave it, and empty rows below the data.
    sixteens.setRowCount(45);
    sixteens.setRowCells(
        41, {"", " ", "007", "-12", "Größe", "a,b", "say \"hi\"", "12345678901234567", "", "90"});

    testing::ScriptedShell shell;
    const std::string first = Export(sixes, tc.folders().base, shell);
    const std::string second = Export(sixteens, tc.folders().base, shell);
    EXPECT_EQ(QFileInfo(QString::fromStdString(first)).fileName().toStdString(),
              "Losfixreihen 2026-12-09 14-05-33.xlsx");
    // The same second again: a name of its own, the first workbook stays.
    EXPECT_EQ(QFileInfo(QString::fromStdString(second)).fileName().toStdString(),
              "Losfixreihen 2026-12-09 14-05-33 (2).xlsx");
    EXPECT_EQ(shell.openedFiles, (std::vector<std::string>{first, second}));

    const std::string out = tc.path("csv");
    const ProgramAnswer converted = RunProgram(
        soffice,
        {"-env:UserInstallation=file://" + tc.path("lo-profile"), "--headless", "--convert-to",
         "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,true", "--outdir", out, first, second},
        180000);
    ASSERT_TRUE(converted.finished && converted.exitCode == 0) << converted.output;

    const std::string sixesCsv =
        testing::ReadFileBytes(out + "/Losfixreihen 2026-12-09 14-05-33.csv");
    EXPECT_EQ(sixesCsv, ExpectedCsv(sixes));
    EXPECT_EQ(std::count(sixesCsv.begin(), sixesCsv.end(), '\n'), 120);
    EXPECT_EQ(testing::ReadFileBytes(out + "/Losfixreihen 2026-12-09 14-05-33 (2).csv"),
              ExpectedCsv(sixteens));
}

TEST(XlsxExportTest, WorkbookHoldsSheetNameAlignmentAndFittedWidths) {
    testing::TestContext tc;
    testing::ScriptedShell shell;
    StringGrid table = TableOfRows(3, 16);
    table.setCell(3, 2, "Zusatzzahl");  // a wider text widens its column only
    const std::string xlsx = Export(table, tc.folders().base, shell);

    EXPECT_NE(Unzipped(xlsx, "xl/workbook.xml").find("<sheet name=\"Losfixreihen\""),
              std::string::npos);
    const std::string sheet = Unzipped(xlsx, "xl/worksheets/sheet1.xml");
    const std::string styles = Unzipped(xlsx, "xl/styles.xml");
    auto columns = ColumnElements(sheet);

    // Columns A and B right-aligned as whole columns, and so are their cells.
    for (const int c : {1, 2}) {
        ASSERT_EQ(columns.count(c), 1U) << c;
        EXPECT_EQ(StyleAlignment(styles, std::stoi(columns[c]["style"])), "right") << c;
    }
    const std::smatch a1 = [&] {
        std::smatch m;
        std::regex_search(sheet, m, std::regex("<c r=\"A1\" s=\"(\\d+)\"><v>2</v></c>"));
        return m;
    }();
    ASSERT_FALSE(a1.empty()) << "A1 is the number 2 in a styled cell";
    EXPECT_EQ(StyleAlignment(styles, std::stoi(a1[1])), "right");
    EXPECT_EQ(columns[3].count("style"), 0U);

    // Widths in characters of 7 pixels, kept to 1/256: one digit with the cell's 7 pixels of
    // margin is 14 pixels, two digits 21; "Zusatzzahl" is 7+8+6+7+5+6+6+7+8+4 = 64 pixels.
    for (int c = 1; c <= 13; ++c) {
        const double pixels = c <= 2 ? 14 : c == 3 ? 64 + 7 : 21;
        ASSERT_EQ(columns.count(c), 1U) << c;
        EXPECT_EQ(columns[c]["customWidth"], "1") << c;
        EXPECT_DOUBLE_EQ(std::stod(columns[c]["width"]), std::floor(pixels / 7 * 256) / 256) << c;
    }
    // N to Q lie outside the fitted range: no width of their own.
    for (int c = 14; c <= 17; ++c) {
        EXPECT_EQ(columns.count(c), 0U) << c;
    }
}

// Every part of the workbook but the document properties, which carry the time of writing (as
// does the archive itself).
std::string WorkbookParts(const std::string& xlsx) {
    const ProgramAnswer list = RunProgram("unzip", {"-Z1", xlsx}, 30000);
    EXPECT_TRUE(list.finished && list.exitCode == 0);
    std::string parts;
    std::size_t start = 0;
    while (start < list.output.size()) {
        const std::size_t end = list.output.find('\n', start);
        const std::string member = list.output.substr(start, end - start);
        if (member != "docProps/core.xml") {
            // unzip takes a name as a pattern, where "[" opens a set of characters.
            std::string pattern;
            for (const char c : member) {
                pattern += c == '[' ? std::string("[[]") : std::string(1, c);
            }
            parts += member + "\n" + Unzipped(xlsx, pattern);
        }
        start = end == std::string::npos ? list.output.size() : end + 1;
    }
    return parts;
}

TEST(XlsxExportTest, LargeTablesGiveTheSameWorkbook) {
    testing::TestContext tc;
    testing::ScriptedShell shell;
    const std::string rows = Export(testing::LargeRowTable(20000), tc.folders().base, shell);
    EXPECT_EQ(testing::Of(WorkbookParts(rows)), testing::Digest({9091687, 0xc95b6c3c749b209dULL}));

    StringGrid foreign = MakeRowTable(testing::FixedMeasure);
    DecodeRowFile(testing::ForeignRowFile(), foreign);
    const std::string odd = Export(foreign, tc.folders().base, shell);
    EXPECT_EQ(testing::Of(WorkbookParts(odd)), testing::Digest({2527746, 0x7335d3524db0e7ccULL}));
}

TEST(XlsxExportTest, FailureLeavesNoFileAndSaysWhy) {
    testing::TestContext tc;
    testing::ScriptedShell shell;
    const std::string missing = tc.path("fehlt");
    try {
        Export(TableOfRows(3, 6), missing, shell);
        FAIL() << "no error for a missing folder";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  messages::CannotCreate(missing + "/Losfixreihen 2026-12-09 14-05-33.xlsx",
                                         "Das System kann den angegebenen Pfad nicht finden"));
    }

    // A cell text too long for a spreadsheet cell ends the writing half-way.
    const std::string folder = tc.path("leer");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    StringGrid table = TableOfRows(3, 6);
    table.setCell(2, 3, std::string(40000, 'x'));
    EXPECT_THROW(Export(table, folder, shell), Error);
    EXPECT_TRUE(QDir(QString::fromStdString(folder))
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
    EXPECT_TRUE(shell.openedFiles.empty());

    // Written, but no program opens it: the message says where it lies, and the workbook stays.
    shell.answer = false;
    shell.unassociatedProgram = "/usr/bin/soffice";
    const std::string written = folder + "/Losfixreihen 2026-12-09 14-05-33.xlsx";
    try {
        Export(TableOfRows(3, 6), folder, shell);
        FAIL() << "no word of the workbook that did not open";
    } catch (const WorkbookNotOpened& e) {
        EXPECT_EQ(e.path(), written);
        EXPECT_EQ(std::string(e.what()),
                  "Die Reihen sind in der Arbeitsmappe\r" + written +
                      "\rgespeichert. Ich konnte aber kein Programm starten, das sie öffnet: "
                      "Bitte öffnen Sie die Datei selbst.");
    }
    EXPECT_EQ(QDir(QString::fromStdString(folder))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"Losfixreihen 2026-12-09 14-05-33.xlsx"});
}

// Without a program for workbooks on the desktop, the spreadsheet program found opens it; when
// it does not start, the desktop is still asked.
TEST(XlsxExportTest, OpensTheWorkbookWithTheProgramFoundWhereTheDesktopHasNone) {
    const std::string workbook = "/tmp/Mappe mit Leerzeichen.xlsx";
    struct Case {
        std::string program;  // what the shell names to start directly
        bool opensFiles;
        bool starts;
        bool opened;
        std::string started;  // program and argument, or ""
        bool askedDesktop;
    };
    for (const Case& c : {Case{"", true, true, true, "", true},
                          Case{"/usr/bin/localc", false, true, true, "/usr/bin/localc", false},
                          Case{"/usr/bin/soffice", true, false, false, "/usr/bin/soffice", true}}) {
        testing::ScriptedShell shell;
        shell.unassociatedProgram = c.program;
        shell.opensFiles = c.opensFiles;
        shell.answer = c.starts;
        EXPECT_EQ(OpenWorkbook(shell, workbook), c.opened) << c.program;
        std::string started;
        for (const auto& program : shell.started) {
            started += program.program;
            EXPECT_EQ(program.arguments, std::vector<std::string>{workbook});
        }
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(shell.openedFiles.size(), c.askedDesktop ? 1U : 0U) << c.program;
    }
}

TEST(SpreadsheetInstalledTest, AsksXdgMimeThenLooksForLibreOffice) {
    std::vector<std::string> onPath;
    ProgramAnswer xdgAnswer;
    std::vector<std::string> asked;
    SpreadsheetProbe probe;
    probe.findProgram = [&](const std::string& name) {
        return std::find(onPath.begin(), onPath.end(), name) != onPath.end() ? "/usr/bin/" + name
                                                                             : "";
    };
    probe.run = [&](const std::string& program, const std::vector<std::string>& arguments) {
        asked.push_back(program);
        for (const std::string& argument : arguments) {
            asked.back() += " " + argument;
        }
        return xdgAnswer;
    };

    EXPECT_FALSE(SpreadsheetInstalled(probe));
    onPath = {"xdg-mime"};
    xdgAnswer = {true, 0, "libreoffice-calc.desktop\n"};
    EXPECT_TRUE(SpreadsheetInstalled(probe));
    EXPECT_EQ(asked.back(),
              "/usr/bin/xdg-mime query default "
              "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
    xdgAnswer = {true, 0, "\n"};
    EXPECT_FALSE(SpreadsheetInstalled(probe));
    xdgAnswer = {false, -1, ""};  // timed out
    onPath = {"xdg-mime", "localc"};
    EXPECT_TRUE(SpreadsheetInstalled(probe));
    onPath = {"soffice"};
    EXPECT_TRUE(SpreadsheetInstalled(probe));

    // The program to start directly: LibreOffice found while no default application is set.
    EXPECT_EQ(UnassociatedSpreadsheetProgram(probe), "/usr/bin/soffice");
    onPath = {"xdg-mime", "libreoffice", "localc"};
    EXPECT_EQ(UnassociatedSpreadsheetProgram(probe), "/usr/bin/localc");
    xdgAnswer = {true, 0, "libreoffice-calc.desktop\n"};
    EXPECT_EQ(UnassociatedSpreadsheetProgram(probe), "");
    xdgAnswer = {true, 1, ""};
    onPath = {"xdg-mime"};
    EXPECT_EQ(UnassociatedSpreadsheetProgram(probe), "");

#ifndef _WIN32
    // The real runner ends a program that takes too long.
    EXPECT_EQ(RunProgram("sh", {"-c", "printf calc.desktop; exit 3"}, 10000).output,
              "calc.desktop");
    EXPECT_EQ(RunProgram("sh", {"-c", "exit 3"}, 10000).exitCode, 3);
    EXPECT_FALSE(RunProgram("sleep", {"30"}, 200).finished);
    EXPECT_FALSE(RunProgram("/nonexistent/program", {}, 1000).finished);
#endif
}

}  // namespace
}  // namespace losfix
