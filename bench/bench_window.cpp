// The main and football windows offscreen: how long the main window's creation takes and how long
// a run through each window takes, events and table updates included.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <memory>

#include "BenchMemory.h"
#include "core/app/DataFolders.h"
#include "gui/app/Startup.h"
#include "gui/app/TFMain.h"
#include "gui/common/RadioGroup.h"
#include "gui/football/TFKick.h"
#include "gui/football/TipButton.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"

namespace {

// Messages would block a benchmark; none is expected, so any is counted as a failure.
class SilentDialogs : public losfix::Dialogs {
public:
    void information(const std::string&) override { ++messages; }
    void warning(const std::string&) override { ++messages; }
    void error(const std::string&) override { ++messages; }
    bool question(const std::string&) override { return false; }
    std::optional<std::string> openFile(const losfix::FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const losfix::FileDialogRequest&) override { return {}; }
    int messages = 0;
};

struct Environment {
    QTemporaryDir dir;
    losfix::LocalFileSystem files;
    SilentDialogs dialogs;
    losfix::AppContext context;

    Environment() {
        context.files = &files;
        context.dialogs = &dialogs;
        context.folders = losfix::MakeDataFolders(dir.path().toStdString(), "");
        losfix::CreateDataFolders(context.folders, files);
        context.seedSource = losfix::CountingSeedSource(4711, 7919);
    }
};

void BM_MainWindowCreation(benchmark::State& state) {
    Environment env;
    for (auto _ : state) {
        losfix::TFMain window(env.context);
        benchmark::DoNotOptimize(window.table().rowCount());
    }
}
BENCHMARK(BM_MainWindowCreation)->Unit(benchmark::kMillisecond);

// 10,000 rows of 6 out of 49 with congruence 4, started as the button starts it.
void BM_WindowRun10000Rows(benchmark::State& state) {
    Environment env;
    losfix::TFMain window(env.context);
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("eAnz"))->setText(QStringLiteral("10000"));
    window.findChild<QSlider*>(QStringLiteral("Track1"))->setValue(4);
    auto* generate = window.findChild<QToolButton*>(QStringLiteral("bsSkinSpeedButton2"));
    for (auto _ : state) {
        // The press queues the run; the run happens when the events are processed.
        generate->click();
        QCoreApplication::processEvents();
    }
    const int filled = window.table().rowCount() - 1;
    if (filled != 10000 || env.dialogs.messages != 0) {
        state.SkipWithError("the run did not produce 10,000 rows");
    }
}
BENCHMARK(BM_WindowRun10000Rows)->Unit(benchmark::kMillisecond)->Iterations(3);

enum class Memory { Reused, Fresh };

// (f) through the football window: 99,999 rows with all 39 outcomes chosen, started as the
// button starts it, each time in a new window (the first run fills an empty table and view).
// With fresh memory the freed memory goes back to the system before each window, so that the run
// meets new pages as the first run after the program's start does.
void FootballWindowRun99999Rows(benchmark::State& state, Memory memory) {
    Environment env;
    losfix::ImageSession images;
    double rss = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (memory == Memory::Fresh) {
            losfix::bench::ReturnFreeMemory();
        }
        auto window = std::make_unique<losfix::TFKick>(env.context, images);
        window->showAndRaise();
        for (auto* button : window->findChildren<losfix::TipButton*>()) {
            emit button->stepRequested(button->slot(), losfix::MouseStep::Left);
        }
        window->findChild<QLineEdit*>(QStringLiteral("eAnz"))->setText(QStringLiteral("99999"));
        auto* generate = window->findChild<QToolButton*>(QStringLiteral("bsSkinSpeedButton2"));
        QCoreApplication::processEvents();
        state.ResumeTiming();

        generate->click();
        QCoreApplication::processEvents();

        state.PauseTiming();
        rss = losfix::bench::ResidentMiB();
        const int filled = window->state().table.rowCount() - 1;
        if (filled != 99999 || window->state().board.counts().combinations != 1594323 ||
            env.dialogs.messages != 0) {
            // Timing must not resume after an error.
            state.SkipWithError("the run did not produce 99,999 rows");
            return;
        }
        window.reset();
        state.ResumeTiming();
    }
    state.counters["rss_MiB"] = rss;
}

void BM_FootballWindowRun99999Rows(benchmark::State& state) {
    FootballWindowRun99999Rows(state, Memory::Reused);
}
BENCHMARK(BM_FootballWindowRun99999Rows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FootballWindowRun99999Rows_FreshMemory(benchmark::State& state) {
    FootballWindowRun99999Rows(state, Memory::Fresh);
}
BENCHMARK(BM_FootballWindowRun99999Rows_FreshMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

// 99,999 rows of 16 out of 90 (no congruence limit) through the main window, once: the resident
// memory of the whole program afterwards, and after sorting them. Run it alone in its process
// (--benchmark_filter).
void BM_WindowRun99999RowsOf16(benchmark::State& state) {
    Environment env;
    losfix::TFMain window(env.context);
    window.show();
    window.findChild<losfix::RadioGroup*>(QStringLiteral("RG2"))->setItemIndex(11);
    window.findChild<losfix::RadioGroup*>(QStringLiteral("RG1"))->setItemIndex(13);
    window.findChild<QSlider*>(QStringLiteral("Track1"))->setValue(15);
    window.findChild<QLineEdit*>(QStringLiteral("eAnz"))->setText(QStringLiteral("99999"));
    auto* generate = window.findChild<QToolButton*>(QStringLiteral("bsSkinSpeedButton2"));
    QCoreApplication::processEvents();
    const double before = losfix::bench::ResidentMiB();
    for (auto _ : state) {
        generate->click();
        QCoreApplication::processEvents();
    }
    if (window.table().rowCount() != 100000 || window.table().cell(16, 99999).empty() ||
        env.dialogs.messages != 0) {
        state.SkipWithError("the run did not produce 99,999 rows of 16");
    }
    const double after = losfix::bench::ResidentMiB();
    state.counters["rss_MiB"] = after;
    state.counters["run_MiB"] = after - before;
    // Sorted, the window keeps the table as it was beside it.
    window.findChild<QToolButton*>(QStringLiteral("BSort"))->click();
    QCoreApplication::processEvents();
    state.counters["sorted_rss_MiB"] = losfix::bench::ResidentMiB();
}
BENCHMARK(BM_WindowRun99999RowsOf16)->Unit(benchmark::kMillisecond)->Iterations(1);

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
