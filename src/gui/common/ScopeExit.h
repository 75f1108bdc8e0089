#pragma once

#include <utility>

namespace losfix {

// Runs a cleanup when the scope ends, also when an error leaves it: restoring a cursor or run
// flags must not depend on every path remembering to.
template <typename Cleanup>
class ScopeExit {
public:
    explicit ScopeExit(Cleanup cleanup) : cleanup_(std::move(cleanup)) {}
    ~ScopeExit() { cleanup_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Cleanup cleanup_;
};

}  // namespace losfix
