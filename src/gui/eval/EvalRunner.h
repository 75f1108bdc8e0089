#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "core/eval/LottoEvaluation.h"

class QTimer;

namespace losfix {

// Runs one long computation on a thread of its own while the window goes on answering. The
// window polls the computation's counters with a timer; the work never sees a widget and gets
// everything it needs as a copy. When it is over, `done` runs on the window's thread.
class EvalRunner : public QObject {
    Q_OBJECT
public:
    explicit EvalRunner(QObject* parent = nullptr);
    // Stops a computation still running and waits for it.
    ~EvalRunner() override;

    bool running() const { return running_; }
    // Starts `work` unless a computation is running. An error of the work is kept for `done`,
    // which raises it with rethrowIfFailed().
    void start(std::function<void(EvalControl&)> work, std::function<void()> done);
    // Asks the computation to stop; `done` still runs when it has.
    void requestStop();
    bool stopRequested() const;
    // Share of the work done, 0..1000; 0 while the total is not known.
    int permille() const;

    // Raises the work's error, if it had one; called by `done`.
    void rethrowIfFailed();

signals:
    // Every few hundred milliseconds while it runs.
    void progress(int permille);

private:
    void poll();
    void join();

    std::unique_ptr<EvalControl> control_;
    std::thread thread_;
    std::atomic<bool> over_{false};
    std::exception_ptr failure_;
    std::function<void()> done_;
    bool running_ = false;
    QTimer* timer_ = nullptr;
};

}  // namespace losfix
