#pragma once

// A small runner with the part of Google Benchmark's interface that the core benchmarks use, for
// the Windows cross build only: Debian ships Google Benchmark as a Linux library without its
// sources, so it cannot be built for mingw-w64 here. The Linux builds use the real library.
//
// It times wall-clock time per iteration and grows the iteration count until a run lasts at least
// the minimum time (0.5 s unless --benchmark_min_time says otherwise), as the library does.
// Flags: --benchmark_filter=<regex>, --benchmark_min_time=<seconds>[s],
// --benchmark_repetitions=<n>.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace benchmark {

using IterationCount = std::int64_t;

enum TimeUnit { kNanosecond, kMicrosecond, kMillisecond, kSecond };

struct Counter {
    Counter(double v = 0) : value(v) {}
    double value;
};

// Keeps the compiler from dropping a computation whose result is not used otherwise.
template <class T>
inline void DoNotOptimize(const T& value) {
    asm volatile("" : : "r,m"(value) : "memory");
}

class State {
public:
    struct __attribute__((unused)) Value {};

    class Iterator {
    public:
        explicit Iterator(State* state) : state_(state) {}
        Value operator*() const { return {}; }
        Iterator& operator++() {
            --state_->left_;
            return *this;
        }
        bool operator!=(const Iterator&) const {
            if (state_->left_ > 0) {
                return true;
            }
            state_->finish();
            return false;
        }

    private:
        State* state_;
    };

    State(IterationCount iterations, std::vector<std::int64_t> ranges)
        : iterations_(iterations), left_(iterations), ranges_(std::move(ranges)) {}

    Iterator begin() {
        ResumeTiming();
        return Iterator(this);
    }
    Iterator end() { return Iterator(this); }

    std::int64_t range(std::size_t i = 0) const { return i < ranges_.size() ? ranges_[i] : 0; }
    IterationCount iterations() const { return iterations_; }

    void PauseTiming() {
        if (running_) {
            elapsed_ += Clock::now() - started_;
            running_ = false;
        }
    }
    void ResumeTiming() {
        if (!running_) {
            started_ = Clock::now();
            running_ = true;
        }
    }
    void SetBytesProcessed(std::int64_t bytes) { bytes_ = bytes; }
    void SkipWithError(const char* message) {
        error_ = message;
        left_ = 0;
    }

    std::map<std::string, Counter> counters;

    // For the runner.
    double seconds() const { return std::chrono::duration<double>(elapsed_).count(); }
    const std::string& error() const { return error_; }
    std::int64_t bytes() const { return bytes_; }
    void finish() { PauseTiming(); }

private:
    using Clock = std::chrono::steady_clock;

    IterationCount iterations_;
    IterationCount left_;
    std::vector<std::int64_t> ranges_;
    Clock::time_point started_{};
    Clock::duration elapsed_{};
    bool running_ = false;
    std::string error_;
    std::int64_t bytes_ = 0;
};

class Benchmark {
public:
    Benchmark(std::string name, std::function<void(State&)> function)
        : name_(std::move(name)), function_(std::move(function)) {}

    Benchmark* Arg(std::int64_t value) {
        args_.push_back(value);
        return this;
    }
    Benchmark* Unit(TimeUnit unit) {
        unit_ = unit;
        return this;
    }
    Benchmark* Iterations(IterationCount n) {
        fixedIterations_ = n;
        return this;
    }

    const std::string& name() const { return name_; }
    const std::vector<std::int64_t>& args() const { return args_; }
    TimeUnit unit() const { return unit_; }
    IterationCount fixedIterations() const { return fixedIterations_; }
    void run(State& state) const { function_(state); }

private:
    std::string name_;
    std::function<void(State&)> function_;
    std::vector<std::int64_t> args_;
    TimeUnit unit_ = kNanosecond;
    IterationCount fixedIterations_ = 0;
};

namespace internal {

inline std::vector<std::unique_ptr<Benchmark>>& Registry() {
    static std::vector<std::unique_ptr<Benchmark>> benchmarks;
    return benchmarks;
}

struct Options {
    std::string filter = ".";
    double minSeconds = 0.5;
    int repetitions = 1;
};

inline Options& Flags() {
    static Options options;
    return options;
}

inline double InUnit(double seconds, TimeUnit unit) {
    switch (unit) {
        case kSecond:
            return seconds;
        case kMillisecond:
            return seconds * 1e3;
        case kMicrosecond:
            return seconds * 1e6;
        case kNanosecond:
            break;
    }
    return seconds * 1e9;
}

inline const char* UnitName(TimeUnit unit) {
    switch (unit) {
        case kSecond:
            return "s";
        case kMillisecond:
            return "ms";
        case kMicrosecond:
            return "us";
        case kNanosecond:
            break;
    }
    return "ns";
}

struct Result {
    double seconds = 0;
    IterationCount iterations = 0;
    std::string error;
    std::int64_t bytes = 0;
    std::map<std::string, Counter> counters;
};

// Grows the iteration count until one run lasts the minimum time, then reports that run.
inline Result Measure(const Benchmark& benchmark, const std::vector<std::int64_t>& ranges) {
    IterationCount n = benchmark.fixedIterations() > 0 ? benchmark.fixedIterations() : 1;
    for (;;) {
        State state(n, ranges);
        benchmark.run(state);
        state.finish();
        const double seconds = state.seconds();
        const bool enough =
            benchmark.fixedIterations() > 0 || seconds >= Flags().minSeconds || n >= 1000000000;
        if (!state.error().empty() || enough) {
            return Result{seconds, n, state.error(), state.bytes(), state.counters};
        }
        // Aim a little beyond the minimum time, growing at most tenfold per step.
        const double factor = seconds > 0 ? Flags().minSeconds * 1.4 / seconds : 10.0;
        n = std::max(n + 1,
                     static_cast<IterationCount>(static_cast<double>(n) * std::min(10.0, factor)));
    }
}

inline void Report(const std::string& name, const Result& result, TimeUnit unit) {
    if (!result.error.empty()) {
        std::printf("%-50s ERROR: %s\n", name.c_str(), result.error.c_str());
        return;
    }
    const double time = InUnit(result.seconds / static_cast<double>(result.iterations), unit);
    std::printf(time >= 100 ? "%-50s %12.0f %-2s %12lld" : "%-50s %12.3g %-2s %12lld", name.c_str(),
                time, UnitName(unit), static_cast<long long>(result.iterations));
    if (result.bytes > 0 && result.seconds > 0) {
        std::printf(" bytes_per_second=%.4gM/s",
                    static_cast<double>(result.bytes) / result.seconds / (1 << 20));
    }
    for (const auto& [counter, value] : result.counters) {
        std::printf(" %s=%g", counter.c_str(), value.value);
    }
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace internal

inline Benchmark* RegisterBenchmark(const char* name, void (*function)(State&)) {
    internal::Registry().push_back(std::make_unique<Benchmark>(name, function));
    return internal::Registry().back().get();
}

// A function object, for example a lambda that captures a case's parameters.
template <class Function>
Benchmark* RegisterBenchmark(const char* name, Function&& function) {
    internal::Registry().push_back(std::make_unique<Benchmark>(
        name, std::function<void(State&)>(std::forward<Function>(function))));
    return internal::Registry().back().get();
}

inline void Initialize(int* argc, char** argv) {
    internal::Options& options = internal::Flags();
    for (int i = 1; i < *argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string_view flag) -> const char* {
            return arg.substr(0, flag.size()) == flag ? argv[i] + flag.size() : nullptr;
        };
        if (const char* filter = value("--benchmark_filter=")) {
            options.filter = filter;
        } else if (const char* minTime = value("--benchmark_min_time=")) {
            options.minSeconds = std::atof(minTime);
        } else if (const char* repetitions = value("--benchmark_repetitions=")) {
            options.repetitions = std::max(1, std::atoi(repetitions));
        } else {
            std::fprintf(stderr, "unknown flag: %s\n", argv[i]);
            std::exit(1);
        }
    }
}

inline std::size_t RunSpecifiedBenchmarks() {
    const std::regex filter(internal::Flags().filter);
    std::printf("%-50s %15s %12s\n", "Benchmark", "Time", "Iterations");
    std::size_t ran = 0;
    for (const auto& benchmark : internal::Registry()) {
        std::vector<std::vector<std::int64_t>> runs;
        for (const std::int64_t arg : benchmark->args()) {
            runs.push_back({arg});
        }
        if (runs.empty()) {
            runs.emplace_back();
        }
        for (const auto& ranges : runs) {
            const std::string name =
                benchmark->name() + (ranges.empty() ? "" : "/" + std::to_string(ranges[0]));
            if (!std::regex_search(name, filter)) {
                continue;
            }
            for (int r = 0; r < internal::Flags().repetitions; ++r) {
                internal::Report(name, internal::Measure(*benchmark, ranges), benchmark->unit());
            }
            ++ran;
        }
    }
    return ran;
}

inline void Shutdown() {}

}  // namespace benchmark

#define LOSFIX_BENCHMARK_CONCAT2(a, b) a##b
#define LOSFIX_BENCHMARK_CONCAT(a, b) LOSFIX_BENCHMARK_CONCAT2(a, b)
#define BENCHMARK(function)                                                  \
    [[maybe_unused]] static ::benchmark::Benchmark* LOSFIX_BENCHMARK_CONCAT( \
        losfix_benchmark_, __COUNTER__) = ::benchmark::RegisterBenchmark(#function, function)
#define BENCHMARK_MAIN()                       \
    int main(int argc, char** argv) {          \
        ::benchmark::Initialize(&argc, argv);  \
        ::benchmark::RunSpecifiedBenchmarks(); \
        ::benchmark::Shutdown();               \
        return 0;                              \
    }                                          \
    int main(int, char**)
