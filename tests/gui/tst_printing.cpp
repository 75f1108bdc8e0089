#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <regex>
#include <set>

#include "core/common/IniFile.h"
#include "core/export/PrintDocument.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipTable.h"
#include "core/lottery/RowTable.h"
#include "gui/app/TFMain.h"
#include "gui/common/RadioGroup.h"
#include "gui/eval/TFAuswertung.h"
#include "gui/eval/TFKickAuswertung.h"
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

// A menu is a window of its own; it belongs to the button it opens from.
QMenu* PrintMenuOf(QWidget& window) {
    auto* menu = Find<QToolButton>(window, "BDrucken")->menu();
    if (menu == nullptr) {
        QTest::qFail("BDrucken has no menu", __FILE__, __LINE__);
        throw testing::ControlNotFound("MDrucken");
    }
    return menu;
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

QPrintPreviewDialog* OpenPreview() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(widget);
            dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// The settings file exists once the main window has closed for the first time.
void WriteSettingsFile(TestContext& env) {
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

void SetTip(TFKick& window, int slot, TipStatus status) {
    for (int step = 0; step < kTipStatusCount && window.state().board.status(slot) != status;
         ++step) {
        QTest::mouseClick(TipButtonOf(window, slot), Qt::LeftButton);
    }
    QCOMPARE(window.state().board.status(slot), status);
}

// The rows of a flowing table of texts, each as its words: on every page the columns start
// where the header line (the line whose first word is `first`) has that word, and are read one
// after the other. The header itself is left out.
std::vector<Row> FlowingRows(const std::vector<std::string>& pages, const std::string& first) {
    std::vector<Row> rows;
    for (const std::string& page : pages) {
        std::vector<std::size_t> starts;
        std::vector<std::vector<Row>> columns;
        for (const std::string& line : Lines(page)) {
            const Row words = Words(line);
            if (!words.empty() && words.front() == first) {
                starts.clear();
                for (std::size_t at = line.find(first); at != std::string::npos;
                     at = line.find(" " + first + " ", at + 1)) {
                    starts.push_back(at == 0 ? 0 : at - 1);
                }
                columns.assign(starts.size(), {});
                continue;
            }
            for (std::size_t c = 0; c < starts.size(); ++c) {
                if (starts[c] >= line.size()) {
                    break;
                }
                const std::size_t end = c + 1 < starts.size() ? starts[c + 1] : std::string::npos;
                if (Row cells = Words(line.substr(starts[c], end - starts[c])); !cells.empty()) {
                    columns[c].push_back(cells);
                }
            }
        }
        for (const auto& column : columns) {
            rows.insert(rows.end(), column.begin(), column.end());
        }
    }
    return rows;
}

// The lines of the pages below their heads, trimmed.
std::vector<std::string> BodyLines(const std::vector<std::string>& pages) {
    std::vector<std::string> lines;
    for (const std::string& page : pages) {
        const std::vector<std::string> all = Lines(page);
        const auto head = std::find_if(all.begin(), all.end(), [](const std::string& line) {
            return line.find("Seite ") != std::string::npos;
        });
        for (auto line = head == all.end() ? all.begin() : head + 1; line != all.end(); ++line) {
            if (const auto from = line->find_first_not_of(' '); from != std::string::npos) {
                lines.push_back(line->substr(from));
            }
        }
    }
    return lines;
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

    void rowsOf16Of90FromAFileOverSeveralPages() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        Find<RadioGroup>(window, "RG2")->setItemIndex(11);  // 90 numbers
        Find<RadioGroup>(window, "RG1")->setItemIndex(13);  // 16 a row
        Find<QSlider>(window, "Track1")->setValue(15);
        testing::GenerateRows(window, 400);
        env.dialogs.saveAnswers.push_back(env.folders().rows + "sechzehn.lrei");
        testing::Press(window, "bsSkinSpeedButton7");

        const std::string path = SavePdf(env, window, "APdf", "sechzehn.pdf");
        QCOMPARE(env.dialogs.saveRequests.back().proposedName, std::string("sechzehn.pdf"));
        QCOMPARE(env.dialogs.count(Kind::Error), 0);
        const std::vector<std::string> pages = PdfPages(path);
        CheckPageNumbers(pages);
        QVERIFY(pages.size() >= 5);  // one row a line: about 50 rows a page
        QVERIFY(Contains(pages[0], "16 aus 90 · 400 Reihen"));
        QVERIFY(Contains(pages.back(), "Max. Reihenkongruenz egal"));
        QVERIFY(Contains(pages.back(), "Datei: sechzehn.lrei"));
        // Every row whole on one line, in order, across all pages.
        QCOMPARE(PrintedRows(pages, 17), TableRows(window.table()));
    }

    void loadedRowsNameTheirFileAndNoRun() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::GenerateRows(window, 12);
        // Numbers out of order, a blank cell and a text that is no number, as a foreign file may.
        const std::string file = env.folders().rows + "fremd.lrei";
        QVERIFY(testing::WriteFileBytes(file, "\"  1\",40,3,,17,x,9,11\r\n\r\n\"  3\",2,4\r\n"));
        env.dialogs.openAnswers.push_back(file);
        testing::Press(window, "bsSkinSpeedButton3");
        QVERIFY(Find<QToolButton>(window, "BDrucken")->isEnabled());

        // The distribution belongs to a run: it cannot be appended to loaded rows.
        auto* menu = PrintMenuOf(window);
        emit menu->aboutToShow();
        QVERIFY(!Find<QAction>(window, "AVerteilung")->isEnabled());

        const std::string path = SavePdf(env, window, "APdf", "fremd.pdf");
        const std::vector<std::string> pages = PdfPages(path);
        QCOMPARE(pages.size(), std::size_t(1));
        QVERIFY(Contains(pages[0], "5 aus 49 · 2 Reihen"));
        QVERIFY(Contains(pages[0], "Datei: fremd.lrei"));
        QVERIFY(!Contains(pages[0], "Reihenkongruenz"));
        // The widest row gives the row size; the two short rows share a line.
        QVERIFY(std::regex_search(pages[0], std::regex("\n *1 +3 +9 +11 +17 +40 +x +3 +2 +4\n")));
    }

    void distributionAtTheEndWhenChosen() {
        TestContext env;
        WriteSettingsFile(env);
        TFMain window(env.context());
        window.show();
        testing::GenerateRows(window, 200);
        emit PrintMenuOf(window)->aboutToShow();
        QAction* distribution = Find<QAction>(window, "AVerteilung");
        QVERIFY(distribution->isEnabled());
        QVERIFY(!distribution->isChecked());
        distribution->setChecked(true);
        IniFile ini(env.files, env.folders().settingsFile());
        QCOMPARE(ini.readString("Druck", "Verteilung", ""), std::string("1"));
        QCOMPARE(ini.readString("Fenster", "Breite", ""), std::string("1078"));

        const std::string path = SavePdf(env, window, "APdf", "verteilung.pdf");
        const std::vector<std::string> pages = PdfPages(path);
        CheckPageNumbers(pages);
        QCOMPARE(PrintedRows(pages, 7, "Zahlenverteilung"), TableRows(window.table()));
        // After the caption: pairs of number and count, the columns read one after the other.
        std::string after;
        for (const std::string& page : pages) {
            after += page;
        }
        const auto caption =
            after.find("Zahlenverteilung: in wie vielen Reihen jede Zahl vorkommt");
        QVERIFY(caption != std::string::npos);
        const std::vector<Row> pairs = PrintedRows({after.substr(caption)}, 2);
        QCOMPARE(pairs.size(), std::size_t(49));
        for (int number = 1; number <= 49; ++number) {
            const Row expected{std::to_string(number),
                               std::to_string(window.drawCounts()[number - 1])};
            QCOMPARE(pairs[static_cast<std::size_t>(number - 1)], expected);
        }
    }

    void footballTipsAsPdf() {
        TestContext env;
        ImageSession images;
        TFKick window(env.context(), images);
        window.show();
        QVERIFY(!Find<QToolButton>(window, "BDrucken")->isEnabled());
        for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
            SetTip(window, slot, TipStatus::TipFavI);
        }
        Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("72"));
        testing::Press(window, "bsSkinSpeedButton2");
        QVERIFY(Find<QToolButton>(window, "BDrucken")->isEnabled());

        const std::string path = SavePdf(env, window, "ATippsPdf", "tipps.pdf");
        QVERIFY(std::regex_match(env.dialogs.saveRequests.back().proposedName,
                                 std::regex("Losfixtipps [0-9]{4}-[0-9]{2}-[0-9]{2}\\.pdf")));
        QCOMPARE(env.dialogs.count(Kind::Error), 0);
        const std::vector<std::string> pages = PdfPages(path);
        CheckPageNumbers(pages);
        QVERIFY(Contains(pages[0], "Fußballtipps: 13 Spiele · 72 Tippreihen"));
        QVERIFY(Contains(pages[0], "Kombinationen: " + window.state().board.labels().kombis +
                                       " · ZW: 0 · DW: 13 · Bänke: 0"));
        std::vector<Row> expected;
        const StringGrid& table = window.state().table;
        for (int r = 1; r < table.rowCount(); ++r) {
            Row row{std::to_string(r)};
            for (int match = 1; match <= kMatchCount; ++match) {
                row.push_back(table.cell(match, r));
            }
            expected.push_back(row);
        }
        QCOMPARE(expected.size(), std::size_t(72));
        QCOMPARE(PrintedRows(pages, 14, "Wie oft jeder Tipp"), expected);
        // The outcome counts: a line for "1", "0" and "2", the counts of the matches 1 to 13.
        const std::string& last = pages.back();
        const auto caption = last.find("Wie oft jeder Tipp in den Reihen vorkommt");
        QVERIFY(caption != std::string::npos);
        const std::vector<Row> counts = PrintedRows({last.substr(caption)}, 14);
        QCOMPARE(counts.size(), std::size_t(3));
        const char* outcomes[] = {"1", "0", "2"};
        for (std::size_t outcome = 0; outcome < 3; ++outcome) {
            Row row{outcomes[outcome]};
            for (int match = 0; match < kMatchCount; ++match) {
                row.push_back(std::to_string(
                    window.state().counts[static_cast<std::size_t>(match)][outcome]));
            }
            QCOMPARE(counts[outcome], row);
        }
    }

    void lotteryEvaluationAsPdf() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::GenerateRows(window, 300);
        testing::Press(window, "BAuswerten");
        auto* evaluation = window.findChild<TFAuswertung*>(QStringLiteral("FAuswertung"));
        QVERIFY(evaluation != nullptr);
        auto* print = Find<QToolButton>(*evaluation, "BDrucken");
        QVERIFY(!print->isEnabled());  // nothing evaluated yet
        Find<QSpinBox>(*evaluation, "eGezogen")->setValue(6);
        const std::vector<Row> rows = TableRows(window.table());
        // The first row is drawn but for its last number, which is the additional one.
        const std::string last = rows[0].back();
        std::string drawn;
        for (std::size_t i = 1; i + 1 < rows[0].size(); ++i) {
            drawn += rows[0][i] + " ";
        }
        const int other = last == "49" ? 48 : 49;
        drawn += std::to_string(other);
        Find<QLineEdit>(*evaluation, "eZiehung")->setText(QString::fromStdString(drawn));
        Find<QLineEdit>(*evaluation, "eZusatz")->setText(QString::fromStdString(last));
        testing::Press(*evaluation, "BTreffer");
        QVERIFY(print->isEnabled());
        testing::Press(*evaluation, "BBerechnen");
        Settle();
        QVERIFY(evaluation->computing());
        QVERIFY(!print->isEnabled());  // not while the odds are computed
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 60000);
        QVERIFY(print->isEnabled());

        const std::string path = SavePdf(env, *evaluation, "AAuswertungPdf", "auswertung.pdf");
        QCOMPARE(env.dialogs.count(Kind::Error), 0);
        QVERIFY(std::regex_match(env.dialogs.saveRequests.back().proposedName,
                                 std::regex("Losfixauswertung [0-9]{4}-[0-9]{2}-[0-9]{2}\\.pdf")));
        const std::vector<std::string> pages = PdfPages(path);
        CheckPageNumbers(pages);
        QVERIFY(pages.size() >= 2);
        const int rowSize = static_cast<int>(rows[0].size()) - 1;
        for (const std::string& page : pages) {
            QVERIFY(Contains(page, "Auswertung der Reihen"));
            QVERIFY(Contains(page, "300 Reihen mit je " + std::to_string(rowSize) +
                                       " Zahlen aus der Zahlenmenge 49"));
            QVERIFY(Contains(page, "Ziehung: " + drawn + " · Zusatzzahl: " + last));
        }
        QVERIFY(Contains(pages[0], "Gewinnchancen"));
        QVERIFY(Contains(pages[0], "Exakt über alle 13.983.816 möglichen Ziehungen (6 aus 49)."));
        QVERIFY(Contains(pages[0], "Kein Gewinn (weniger als 3 Richtige):"));
        QVERIFY(Contains(pages[0], "Beste Reihe hat"));
        QVERIFY(Contains(pages[0], "genau so viele"));
        // The summary as the window shows it, wrapped between its classes.
        const std::string summary =
            Find<QLabel>(*evaluation, "LZusammenfassung")->text().toStdString();
        std::string printed;
        for (const std::string& line : BodyLines(pages)) {
            if (line.find("Richtige:") != std::string::npos &&
                line.find("Kein Gewinn") == std::string::npos) {
                printed += (printed.empty() ? "" : " ") + line;
            }
        }
        QCOMPARE(printed, summary);

        // Every row in table order, each on one line: number, numbers, hits, the numbers hit,
        // "ja" when it holds the additional number.
        std::vector<Row> expected;
        const Row drawnWords = Words(drawn);
        const std::set<std::string> draw(drawnWords.begin(), drawnWords.end());
        for (const Row& row : rows) {
            Row line = row;
            Row hit;
            for (std::size_t i = 1; i < row.size(); ++i) {
                if (draw.count(row[i]) != 0) {
                    hit.push_back(row[i]);
                }
            }
            line.push_back(std::to_string(hit.size()));
            line.insert(line.end(), hit.begin(), hit.end());
            if (std::find(row.begin() + 1, row.end(), last) != row.end()) {
                line.push_back("ja");
            }
            expected.push_back(line);
        }
        QVERIFY(Contains(pages[0], "Treffer der Reihen"));
        QCOMPARE(FlowingRows(pages, "Reihe"), expected);
        QCOMPARE(expected[0].back(), std::string("ja"));
        QCOMPARE(expected[0][static_cast<std::size_t>(rowSize) + 1], std::to_string(rowSize - 1));
    }

    void footballEvaluationAsPdf() {
        TestContext env;
        ImageSession images;
        TFKick kick(env.context(), images);
        kick.show();
        for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
            SetTip(kick, slot, TipStatus::TipFavI);
        }
        Find<QLineEdit>(kick, "eAnz")->setText(QStringLiteral("150"));
        testing::Press(kick, "bsSkinSpeedButton2");
        QTRY_VERIFY(!kick.running());
        testing::Press(kick, "BAuswerten");
        auto* evaluation = kick.findChild<TFKickAuswertung*>(QStringLiteral("FKickAuswertung"));
        QVERIFY(evaluation != nullptr);
        auto* print = Find<QToolButton>(*evaluation, "BDrucken");
        QVERIFY(!print->isEnabled());
        // The odds alone can be printed: no results entered, so no table of rows.
        testing::Press(*evaluation, "BBerechnen");
        Settle();
        QVERIFY(!print->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 60000);
        QVERIFY(print->isEnabled());
        std::string path = SavePdf(env, *evaluation, "AAuswertungPdf", "odds.pdf");
        QVERIFY(
            std::regex_match(env.dialogs.saveRequests.back().proposedName,
                             std::regex("Losfixtippauswertung [0-9]{4}-[0-9]{2}-[0-9]{2}\\.pdf")));
        std::vector<std::string> pages = PdfPages(path);
        CheckPageNumbers(pages);
        QVERIFY(Contains(pages[0], "Auswertung der Tippreihen"));
        QVERIFY(Contains(pages[0], "150 Tippreihen mit je 13 Spielen"));
        QVERIFY(Contains(pages[0], "Alle Ergebnisse gleich wahrscheinlich"));
        // Each section stays on one page, its table with its title and its footer.
        QCOMPARE(pages.size(), std::size_t(2));
        QVERIFY(Contains(pages[1], "Nach Ihren Tipp-Status gewichtet"));
        QVERIFY(Contains(pages[1], "Kein Gewinn (weniger als 10 Richtige)"));
        QVERIFY(!Contains(pages[1], "Richtige der Tippreihen"));

        // With results: every row with its tip, the matches tipped wrong and its count.
        const StringGrid& table = kick.state().table;
        std::string results;
        for (int match = 1; match <= kMatchCount; ++match) {
            results += (match > 1 ? "," : "") + table.cell(match, 1);
        }
        Find<QLineEdit>(*evaluation, "eErgebnisse")->setText(QString::fromStdString(results));
        testing::Press(*evaluation, "BTreffer");
        path = SavePdf(env, *evaluation, "AAuswertungPdf", "tipps.pdf");
        pages = PdfPages(path);
        CheckPageNumbers(pages);
        QVERIFY(Contains(pages[0], "Ergebnisse: " + results));
        std::vector<Row> expected;
        for (int r = 1; r < table.rowCount(); ++r) {
            std::string tip;
            Row wrong;
            for (int match = 1; match <= kMatchCount; ++match) {
                tip += (match > 1 ? "," : "") + table.cell(match, r);
                if (table.cell(match, r) != table.cell(match, 1)) {
                    wrong.push_back(std::to_string(match) + ",");
                }
            }
            Row line{std::to_string(r), tip};
            if (!wrong.empty()) {
                wrong.back().pop_back();
            }
            line.insert(line.end(), wrong.begin(), wrong.end());
            line.push_back(std::to_string(13 - wrong.size()));
            expected.push_back(line);
        }
        QVERIFY(std::any_of(pages.begin(), pages.end(), [](const std::string& page) {
            return Contains(page, "Richtige der Tippreihen");
        }));
        QCOMPARE(FlowingRows(pages, "Reihe"), expected);
    }

    void previewWithoutPrinterOffersPdfAndKeepsThePageSetUp() {
        if (!QPrinterInfo::availablePrinters().isEmpty()) {
            QSKIP("a printer is installed here");
        }
        TestContext env;
        WriteSettingsFile(env);
        TFMain window(env.context());
        window.show();
        testing::GenerateRows(window, 1000);
        const std::size_t pdfPages = PdfPages(SavePdf(env, window, "APdf", "a4.pdf")).size();

        // The press returns before the preview opens.
        QTest::mouseClick(Find<QToolButton>(window, "BDrucken"), Qt::LeftButton, Qt::NoModifier,
                          QPoint(10, 10));
        QVERIFY(OpenPreview() == nullptr);
        Settle();
        QPrintPreviewDialog* preview = OpenPreview();
        QVERIFY(preview != nullptr);
        QCOMPARE(preview->objectName(), QStringLiteral("FDruckvorschau"));
        QPrinter* printer = preview->printer();
        // Without a printer Qt prints into a PDF file.
        QCOMPARE(printer->outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer->pageLayout().pageSize().id(), QPageSize::A4);
        QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Portrait);
        auto* pagesView = preview->findChild<QPrintPreviewWidget*>();
        QVERIFY(pagesView != nullptr);
        QCOMPARE(static_cast<std::size_t>(pagesView->pageCount()), pdfPages);

        // The user turns the page in the page set-up; it is kept when the preview closes.
        printer->setPageOrientation(QPageLayout::Landscape);
        printer->setPageSize(QPageSize(QPageSize::A5));
        preview->reject();
        Settle();
        IniFile ini(env.files, env.folders().settingsFile());
        QCOMPARE(ini.readString("Druck", "Ausrichtung", ""), std::string("Querformat"));
        QCOMPARE(ini.readString("Druck", "Papier", ""), std::string("A5"));
        QCOMPARE(ini.readString("Fenster", "Hoehe", ""), std::string("674"));

        testing::Press(window, "BDrucken");
        preview = OpenPreview();
        QVERIFY(preview != nullptr);
        QCOMPARE(preview->printer()->pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(preview->printer()->pageLayout().pageSize().id(), QPageSize::A5);
        preview->reject();
        Settle();
        // A PDF takes the same set-up: A5 across holds fewer rows a page than A4 upright.
        QVERIFY(PdfPages(SavePdf(env, window, "APdf", "a5.pdf")).size() > pdfPages);
    }

    void failedWritesShowTheErrorAndLeaveNoFile() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::GenerateRows(window, 50);

        // A folder that cannot exist: the "folder" is a file.
        const std::string blocker = env.folders().rows + "datei.txt";
        QVERIFY(testing::WriteFileBytes(blocker, "x"));
        const std::string path = SavePdf(env, window, "APdf", "datei.txt/reihen.pdf");
        QCOMPARE(env.dialogs.count(Kind::Error), 1);
        const std::string message = env.dialogs.last(Kind::Error);
        QVERIFY2(message.rfind("Datei \"" + path + "\" kann nicht erstellt werden. ", 0) == 0,
                 message.c_str());
        QVERIFY(!QFile::exists(QString::fromStdString(path)));

        // A full disk: the file system refuses, nothing is left in the folder.
        FullDisk full;
        env.context().files = &full;
        const std::string second = SavePdf(env, window, "APdf", "voll.pdf");
        env.context().files = &env.files;
        QCOMPARE(full.attempts, 1);
        QCOMPARE(env.dialogs.count(Kind::Error), 2);
        QCOMPARE(env.dialogs.last(Kind::Error),
                 "Datei \"" + second +
                     "\" kann nicht erstellt werden. Auf dem Datenträger ist nicht genügend "
                     "Speicherplatz.");
        const QStringList left =
            QDir(QString::fromStdString(env.folders().rows)).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, QStringList{QStringLiteral("datei.txt")});
    }

    void printButtonFollowsTheTable() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        auto* print = Find<QToolButton>(window, "BDrucken");
        QVERIFY(!print->isEnabled());
        // During a run nothing may be printed; the run is stopped from inside.
        bool disabledWhileRunning = false;
        auto* timer = new QTimer(&window);
        timer->setInterval(2);
        QObject::connect(timer, &QTimer::timeout, &window, [&] {
            if (window.running() && !RowTableEmpty(window.table())) {
                disabledWhileRunning = !print->isEnabled();
                timer->stop();
                Find<QToolButton>(window, "BStop")->click();
            }
        });
        timer->start();
        Find<QSlider>(window, "Track1")->setValue(15);
        testing::GenerateRows(window, 99999);
        QVERIFY(disabledWhileRunning);
        QVERIFY(print->isEnabled());

        // An empty row file leaves nothing to print.
        const std::string empty = env.folders().rows + "leer.lrei";
        QVERIFY(testing::WriteFileBytes(empty, ""));
        env.dialogs.openAnswers.push_back(empty);
        testing::Press(window, "bsSkinSpeedButton3");
        QVERIFY(!print->isEnabled());
        env.dialogs.saveAnswers.push_back(env.folders().rows + "nichts.pdf");
        Find<QAction>(window, "APdf")->trigger();
        Settle();
        QCOMPARE(env.dialogs.saveRequests.size(), std::size_t(0));
    }

    void stoppedPdfWritesNothing() {
        TestContext env;
        // A summary of half a million lines takes long enough for the progress dialog to appear,
        // also on a fast machine.
        PrintSummary summary;
        summary.title = "Lang";
        PrintTable table;
        table.flow = true;
        for (int i = 1; i <= 500000; ++i) {
            table.rows.push_back({{std::to_string(i), PrintMark::None},
                                  {std::to_string(i % 49 + 1), PrintMark::None}});
        }
        summary.tables.push_back(table);
        const std::string path = env.folders().rows + "abgebrochen.pdf";
        env.dialogs.saveAnswers.push_back(path);
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<QProgressDialog*>(widget);
                if (progress != nullptr && progress->objectName() == "FPdfFortschritt" &&
                    progress->isVisible() && !seen) {
                    seen = true;
                    QCOMPARE(progress->windowTitle(), QStringLiteral("Als PDF speichern"));
                    progress->findChild<QPushButton*>()->click();  // "Abbrechen"
                }
            }
        });
        poll.start();
        QVERIFY(!SaveDocumentAsPdf(env.context(), nullptr, SummaryPrintDocument(summary),
                                   "abgebrochen.pdf"));
        QVERIFY(seen);
        QVERIFY(!QFile::exists(QString::fromStdString(path)));
        QCOMPARE(env.dialogs.messages.size(), std::size_t(0));
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
