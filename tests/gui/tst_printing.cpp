#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <regex>

#include "core/common/IniFile.h"
#include "core/export/PrintDocument.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipTable.h"
#include "core/lottery/RowTable.h"
#include "gui/app/TFMain.h"
#include "gui/common/RadioGroup.h"
#include "gui/football/TFKick.h"
#include "gui/football/TipButton.h"
#include "gui/print/Printing.h"
#include "platform/Files.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/PdfText.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::Lines;
using losfix::testing::PdfPages;
using losfix::testing::TestContext;
using losfix::testing::Words;
using Kind = losfix::testing::ScriptedDialogs::Kind;
using Row = std::vector<std::string>;

namespace {

// Runs the queued work of a press or a menu entry.
void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

void Trigger(QObject& window, const char* action) {
    QAction* entry = Find<QAction>(window, action);
    QVERIFY(entry->isEnabled());
    entry->trigger();
    Settle();
}

// The rows as the table holds them: the label and the numbers ascending.
std::vector<Row> TableRows(const StringGrid& table) {
    std::vector<Row> rows;
    for (int r = 1; r < table.rowCount(); ++r) {
        std::vector<int> numbers;
        for (int c = 1; c < kRowTableColumns; ++c) {
            if (const int number = CellNumber(table.cell(c, r))) {
                numbers.push_back(number);
            }
        }
        if (numbers.empty()) {
            continue;
        }
        std::sort(numbers.begin(), numbers.end());
        Row row{std::to_string(r)};
        for (const int number : numbers) {
            row.push_back(std::to_string(number));
        }
        rows.push_back(row);
    }
    return rows;
}

// A favourite's number carries its level as a small raised I, II or III.
std::string WithoutLevel(const std::string& word) {
    const auto end = word.find_last_not_of('I');
    return end == std::string::npos ? word : word.substr(0, end + 1);
}

bool Numeric(const std::string& word) {
    static const std::regex number("[0-9]+I{0,3}");
    return std::regex_match(word, number);
}

// The rows of a flowing table as the pages show them: every line that holds only numbers is cut
// into rows of `words` words, one per column; the columns of a page are read one after the other.
// A row split across a line or a page would break a line's count and fail here. Reading stops at
// the first line that contains `stop`.
std::vector<Row> PrintedRows(const std::vector<std::string>& pages, std::size_t words,
                             const std::string& stop = "\x01") {
    std::vector<Row> rows;
    for (const std::string& page : pages) {
        std::vector<std::vector<Row>> columns;
        bool stopped = false;
        for (const std::string& line : Lines(page)) {
            if (line.find(stop) != std::string::npos) {
                stopped = true;
                break;
            }
            std::vector<std::string> all = Words(line);
            // A favourite's level may be read as a word of its own, even on a line of its own.
            std::erase_if(all, [](const std::string& word) {
                return word.find_first_not_of('I') == std::string::npos;
            });
            if (all.empty() || !std::all_of(all.begin(), all.end(), Numeric)) {
                continue;
            }
            if (all.size() % words != 0) {
                QTest::qFail(("a line that is no whole number of rows: " + line).c_str(), __FILE__,
                             __LINE__);
                return {};
            }
            for (std::size_t group = 0; group * words < all.size(); ++group) {
                if (columns.size() <= group) {
                    columns.resize(group + 1);
                }
                Row row;
                for (std::size_t i = 0; i < words; ++i) {
                    row.push_back(WithoutLevel(all[group * words + i]));
                }
                columns[group].push_back(row);
            }
        }
        for (const auto& column : columns) {
            rows.insert(rows.end(), column.begin(), column.end());
        }
        if (stopped) {
            break;
        }
    }
    return rows;
}

bool Contains(const std::string& page, const std::string& text) {
    return page.find(text) != std::string::npos;
}

// Every page names itself and the count, and the count is the number of pages.
void CheckPageNumbers(const std::vector<std::string>& pages) {
    QVERIFY(!pages.empty());
    const std::string count = std::to_string(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string text = "Seite " + std::to_string(i + 1) + " von " + count;
        QVERIFY2(Contains(pages[i], text), text.c_str());
        QVERIFY(Contains(pages[i], "Losfix 2.0"));
    }
}

std::string SavePdf(TestContext& env, QObject& window, const char* action, const char* name) {
    const std::string path = env.folders().rows + name;
    env.dialogs.saveAnswers.push_back(path);
    Trigger(window, action);
    return path;
}

[[maybe_unused]] QPrintPreviewDialog* OpenPreview() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(widget);
            dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// The settings file exists once the main window has closed for the first time.
[[maybe_unused]] void WriteSettingsFile(TestContext& env) {
    QVERIFY(testing::WriteFileBytes(env.folders().settingsFile(),
                                    "[Fenster]\r\nBreite=1078\r\nHoehe=674\r\n"));
}

// Writes nothing: every save fails as on a full disk.
class FullDisk : public LocalFileSystem {
public:
    FileResult writeAtomic(const std::string&, std::string_view) override {
        ++attempts;
        return FileResult::failure("Auf dem Datenträger ist nicht genügend Speicherplatz.");
    }
    int attempts = 0;
};

TipButton* TipButtonOf(TFKick& window, int slot) {
    return Find<TipButton>(window, QStringLiteral("but%1").arg(slot).toUtf8().constData());
}

[[maybe_unused]] void SetTip(TFKick& window, int slot, TipStatus status) {
    for (int step = 0; step < kTipStatusCount && window.state().board.status(slot) != status;
         ++step) {
        QTest::mouseClick(TipButtonOf(window, slot), Qt::LeftButton);
    }
    QCOMPARE(window.state().board.status(slot), status);
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void rowsOf6Of49AsPdf() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        QVERIFY(!Find<QToolButton>(window, "BDrucken")->isEnabled());  // nothing to print yet
        testing::SetStatus(window, 7, NumberStatus::Bank);
        testing::SetStatus(window, 12, NumberStatus::FavII);
        Find<QSlider>(window, "Track1")->setValue(4);  // the banker makes every row share one
        testing::GenerateRows(window, 120);
        QVERIFY(Find<QToolButton>(window, "BDrucken")->isEnabled());

        const std::string path = SavePdf(env, window, "APdf", "reihen.pdf");
        QCOMPARE(env.dialogs.count(Kind::Error), 0);
        const FileDialogRequest& request = env.dialogs.saveRequests.back();
        QCOMPARE(request.title, std::string("Als PDF speichern"));
        QCOMPARE(request.folder, env.folders().rows);
        QCOMPARE(request.filterPattern, std::string("*.pdf"));
        QVERIFY(std::regex_match(request.proposedName,
                                 std::regex("Losfixreihen [0-9]{4}-[0-9]{2}-[0-9]{2}\\.pdf")));

        const std::vector<std::string> pages = PdfPages(path);
        CheckPageNumbers(pages);
        QCOMPARE(pages.size(), std::size_t(1));  // 120 short rows share one page
        QVERIFY(Contains(pages[0], "6 aus 49 · 120 Reihen"));
        QVERIFY(Contains(pages[0],
                         "Max. Reihenkongruenz 4 · Zwei benachbarte Zahlen sichern: "
                         "keine Kontrolle"));
        QVERIFY(std::regex_search(pages[0], std::regex("[0-9]{2}\\.[0-9]{2}\\.[0-9]{4}, "
                                                       "[0-9]{2}:[0-9]{2} Uhr")));
        // The legend explains the marks; favourites carry their level.
        QVERIFY(std::regex_search(pages[0], std::regex("Markiert: +7 +Bank +12 ?II +Fav II")));
        const std::vector<Row> expected = TableRows(window.table());
        QCOMPARE(expected.size(), std::size_t(120));
        QCOMPARE(PrintedRows(pages, 7), expected);
        std::size_t withTwelve = 0;
        for (const Row& row : expected) {
            withTwelve += std::count(row.begin() + 1, row.end(), "12");
        }
        QVERIFY(withTwelve > 0);
        std::size_t marked = 0;
        for (const std::string& word : Words(pages[0])) {
            marked += word == "12II" || word == "II" ? 1 : 0;
        }
        QCOMPARE(marked, withTwelve + 2);  // the rows, the legend's sample and "Fav II"
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
