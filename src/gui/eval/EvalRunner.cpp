#include "gui/eval/EvalRunner.h"

#include <QTimer>

namespace losfix {

namespace {
constexpr int kPollMilliseconds = 100;
}  // namespace

EvalRunner::EvalRunner(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->setInterval(kPollMilliseconds);
    connect(timer_, &QTimer::timeout, this, &EvalRunner::poll);
}

EvalRunner::~EvalRunner() {
    if (control_) {
        control_->stop.store(true, std::memory_order_relaxed);
    }
    join();
}

void EvalRunner::start(std::function<void(EvalControl&)> work, std::function<void()> done) {
    if (running_) {
        return;
    }
    join();
    control_ = std::make_unique<EvalControl>();
    failure_ = nullptr;
    over_.store(false);
    done_ = std::move(done);
    running_ = true;
    EvalControl* control = control_.get();
    thread_ = std::thread([this, control, work = std::move(work)] {
        try {
            work(*control);
        } catch (...) {
            failure_ = std::current_exception();
        }
        over_.store(true, std::memory_order_release);
    });
    timer_->start();
}

void EvalRunner::requestStop() {
    if (running_ && control_) {
        control_->stop.store(true, std::memory_order_relaxed);
    }
}

bool EvalRunner::stopRequested() const {
    return control_ && control_->stop.load(std::memory_order_relaxed);
}

int EvalRunner::permille() const {
    return control_ ? ProgressPermille(*control_) : 0;
}

void EvalRunner::rethrowIfFailed() {
    if (failure_) {
        std::exception_ptr failure = failure_;
        failure_ = nullptr;
        std::rethrow_exception(failure);
    }
}

void EvalRunner::poll() {
    if (!over_.load(std::memory_order_acquire)) {
        emit progress(permille());
        return;
    }
    timer_->stop();
    join();
    running_ = false;
    // The window may start the next computation from `done`.
    const std::function<void()> done = std::move(done_);
    done_ = nullptr;
    if (done) {
        done();
    }
}

void EvalRunner::join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace losfix
