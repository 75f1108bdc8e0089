#pragma once

#include <QElapsedTimer>
#include <cstdint>

namespace losfix {

// Keeps the window answering while a generator loops inside a handler: pending events run at
// most every kPumpIntervalMs, the progress display at most every kProgressIntervalMs, and the stop
// flag that a stop button sets is handed back to the generator after every step.
class RunPump {
public:
    static constexpr std::int64_t kPumpIntervalMs = 15;
    static constexpr std::int64_t kProgressIntervalMs = 250;

    // One run: the hourglass shows and the stop flag is cleared; everything is restored when the
    // run ends, also when it ends with an error.
    class Run {
    public:
        explicit Run(RunPump& pump);
        ~Run();
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;

    private:
        RunPump& pump_;
    };

    bool running() const { return running_; }
    bool stopRequested() const { return stop_; }
    // Ignored when no run is going on.
    void requestStop();

    // Called after every step of the run; cheap, since it reads the clock only every 64th call
    // (every call when forced). Returns true when stop was asked for.
    template <typename Progress>
    bool yield(Progress&& showProgress, bool force = false) {
        if (!force && (++calls_ & 63U) != 0) {
            return stop_;
        }
        const std::int64_t now = clock_.elapsed();
        if (now - lastPump_ >= kPumpIntervalMs) {
            lastPump_ = now;
            if (now - lastProgress_ >= kProgressIntervalMs) {
                lastProgress_ = now;
                showProgress();
            }
            processEvents();
        }
        return stop_;
    }

private:
    static void processEvents();

    bool running_ = false;
    bool stop_ = false;
    unsigned calls_ = 0;
    QElapsedTimer clock_;
    std::int64_t lastPump_ = 0;
    std::int64_t lastProgress_ = 0;
};

}  // namespace losfix
