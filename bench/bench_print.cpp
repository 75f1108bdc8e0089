// Printing offscreen: a PDF of 99,999 rows of 6 numbers written as "Als PDF speichern…" writes
// it (rendered beside the window, then saved), and the print preview of 10,000 rows opened as
// "Drucken…" opens it. Counters: pages, the file's size, the processor time of all threads and
// the longest time the window's thread went without processing its events.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <ctime>

#include "core/app/DataFolders.h"
#include "core/export/PrintDocument.h"
#include "core/lottery/RowTable.h"
#include "gui/app/Startup.h"
#include "gui/print/Printing.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"

namespace {

// Answers the save dialog with one path; any message counts as a failure.
class BenchDialogs : public losfix::Dialogs {
public:
    void information(const std::string&) override { ++messages; }
    void warning(const std::string&) override { ++messages; }
    void error(const std::string&) override { ++messages; }
    bool question(const std::string&) override { return false; }
    std::optional<std::string> openFile(const losfix::FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const losfix::FileDialogRequest&) override { return path; }
    std::string path;
    int messages = 0;
};

struct Environment {
    QTemporaryDir dir;
    losfix::LocalFileSystem files;
    BenchDialogs dialogs;
    losfix::AppContext context;

    Environment() {
        context.files = &files;
        context.dialogs = &dialogs;
        context.folders = losfix::MakeDataFolders(dir.path().toStdString(), "");
        losfix::CreateDataFolders(context.folders, files);
        dialogs.path = context.folders.rows + "reihen.pdf";
    }
};

// Rows of 6 different numbers of 49, ascending, labelled as a run labels them.
losfix::StringGrid RowTable(int rows) {
    losfix::StringGrid table(losfix::kRowTableColumns, rows + 1, 1, 1);
    std::uint32_t seed = 4711;
    for (int r = 1; r <= rows; ++r) {
        std::vector<int> numbers;
        while (numbers.size() < 6) {
            seed = seed * 134775813u + 1u;
            const int number = static_cast<int>((static_cast<std::uint64_t>(seed) * 49u) >> 32) + 1;
            if (std::find(numbers.begin(), numbers.end(), number) == numbers.end()) {
                numbers.push_back(number);
            }
        }
        std::sort(numbers.begin(), numbers.end());
        table.setCell(0, r, "  " + std::to_string(r));
        for (int c = 0; c < 6; ++c) {
            table.setCell(c + 1, r, std::to_string(numbers[static_cast<std::size_t>(c)]));
        }
    }
    return table;
}

losfix::PrintDocument Document(const losfix::StringGrid& table) {
    std::array<losfix::NumberStatus, 90> statuses{};
    statuses[6] = losfix::NumberStatus::Bank;
    statuses[11] = losfix::NumberStatus::FavII;
    losfix::RowsOrigin origin;
    origin.run = losfix::RunSettings{table.rowCount() - 1, 49, 6, 4, losfix::PairRule::NoCheck};
    return losfix::RowsPrintDocument(table, statuses, origin, nullptr);
}

// The longest time between two turns of the event loop while it runs.
class PauseWatch {
public:
    PauseWatch() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, clock_.restart()); });
    }
    void start() {
        longest_ = 0;
        clock_.start();
        timer_.start();
    }
    qint64 stop() {
        timer_.stop();
        return std::max(longest_, clock_.elapsed());
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

void BM_PdfOf99999Rows(benchmark::State& state) {
    Environment env;
    const losfix::StringGrid table = RowTable(99999);
    int pages = 0;
    losfix::RenderPdf(Document(table), losfix::PrintSetup{}, [&pages](int, int count) {
        pages = count;
        return false;
    });
    PauseWatch watch;
    qint64 longestPause = 0;
    const std::clock_t cpuStart = std::clock();
    for (auto _ : state) {
        watch.start();
        // What the menu entry does after the save dialog: build, render, save.
        const bool written =
            losfix::SaveDocumentAsPdf(env.context, nullptr, Document(table), "reihen.pdf");
        longestPause = std::max(longestPause, watch.stop());
        if (!written || env.dialogs.messages != 0) {
            state.SkipWithError("the PDF was not written");
            break;
        }
    }
    // The processor time of all threads: on a shared machine the wall time says more about the
    // other work than about this.
    state.counters["cpu_ms"] = 1000.0 * static_cast<double>(std::clock() - cpuStart) /
                               CLOCKS_PER_SEC / static_cast<double>(state.iterations());
    state.counters["pages"] = pages;
    state.counters["megabytes"] =
        static_cast<double>(QFileInfo(QString::fromStdString(env.dialogs.path)).size()) / 1e6;
    state.counters["longest_pause_ms"] = static_cast<double>(longestPause);
}
BENCHMARK(BM_PdfOf99999Rows)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PreviewOfRows(benchmark::State& state) {
    Environment env;
    const losfix::StringGrid table = RowTable(static_cast<int>(state.range(0)));
    int pages = 0;
    for (auto _ : state) {
        losfix::ShowPrintPreview(env.context, nullptr, Document(table));
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (dialog == nullptr) {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* preview = qobject_cast<QPrintPreviewDialog*>(widget)) {
                    dialog = preview;
                }
            }
        }
        if (dialog == nullptr || !dialog->isVisible()) {
            state.SkipWithError("the preview did not open");
            break;
        }
        pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
        dialog->reject();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
}
// 10,000 rows: the preview opens in under a second. The largest table for comparison.
BENCHMARK(BM_PreviewOfRows)->Arg(10000)->Arg(99999)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    losfix::PrepareApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
