#include "core/eval/LottoOddsEngine.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/eval/SampleRandom.h"

namespace losfix::eval {

namespace {

constexpr int kMaxHits = 16;

// Per-draw counts of rows with h hits, folded into the figures of LottoOdds.
class OddsSums {
public:
    explicit OddsSums(int maxHits) : maxHits_(maxHits) {}

    void add(const std::array<std::uint32_t, kMaxHits + 1>& rowsWithHits) {
        int best = -1;
        for (int h = maxHits_; h >= 0; --h) {
            const std::uint64_t n = rowsWithHits[static_cast<std::size_t>(h)];
            if (n == 0) {
                continue;
            }
            if (best < 0) {
                best = h;
            }
            anyRow_[static_cast<std::size_t>(h)] += 1;
            rowsTotal_[static_cast<std::size_t>(h)] += n;
            squares_[static_cast<std::size_t>(h)] += static_cast<double>(n * n);
        }
        if (best >= 0) {
            bestRow_[static_cast<std::size_t>(best)] += 1;
        }
        ++draws_;
    }

    void into(LottoOdds& odds) const {
        const auto size = static_cast<std::size_t>(maxHits_ + 1);
        odds.draws = draws_;
        odds.bestRow.assign(bestRow_.begin(), bestRow_.begin() + static_cast<long>(size));
        odds.anyRow.assign(anyRow_.begin(), anyRow_.begin() + static_cast<long>(size));
        odds.rowsTotal.assign(rowsTotal_.begin(), rowsTotal_.begin() + static_cast<long>(size));
        odds.rowsSquares.assign(squares_.begin(), squares_.begin() + static_cast<long>(size));
    }

private:
    int maxHits_;
    std::uint64_t draws_ = 0;
    std::array<std::uint64_t, kMaxHits + 1> bestRow_{};
    std::array<std::uint64_t, kMaxHits + 1> anyRow_{};
    std::array<std::uint64_t, kMaxHits + 1> rowsTotal_{};
    std::array<double, kMaxHits + 1> squares_{};
};

std::array<std::uint32_t, kMaxHits + 1> CompareRows(const std::vector<NumberSet>& rows,
                                                    const NumberSet& draw) {
    std::array<std::uint32_t, kMaxHits + 1> counts{};
    for (const NumberSet& row : rows) {
        ++counts[static_cast<std::size_t>(std::min(row.sharedCount(draw), kMaxHits))];
    }
    return counts;
}

int MaxHits(const LottoRows& rows, int drawSize) {
    return std::min({rows.rowSize, drawSize, kMaxHits});
}

}  // namespace

LottoOddsPlan PlanLottoOdds(const LottoRows& rows, int drawSize) {
    LottoOddsPlan plan;
    const std::uint64_t draws = Binomial(rows.poolSize, drawSize);
    const double work = static_cast<double>(draws) * static_cast<double>(rows.rows.size());
    plan.exactSeconds = work * 1e-9;
    plan.exactFeasible = plan.exactSeconds <= 1.0;
    return plan;
}

LottoOdds EnumerateLottoOdds(const LottoRows& rows, int drawSize, EvalControl& control,
                             const LottoOddsPlan&, std::uint64_t) {
    LottoOdds odds;
    const int n = rows.poolSize;
    const int d = drawSize;
    OddsSums sums(MaxHits(rows, drawSize));
    control.total.store(Binomial(n, d), std::memory_order_relaxed);
    std::vector<int> pick(static_cast<std::size_t>(d));
    for (int i = 0; i < d; ++i) {
        pick[static_cast<std::size_t>(i)] = i + 1;
    }
    std::uint64_t sinceReport = 0;
    for (;;) {
        NumberSet draw;
        for (const int x : pick) {
            draw.add(x);
        }
        sums.add(CompareRows(rows.rows, draw));
        if (++sinceReport == 4096) {
            control.done.fetch_add(sinceReport, std::memory_order_relaxed);
            sinceReport = 0;
            if (control.stop.load(std::memory_order_relaxed)) {
                odds.stopped = true;
                break;
            }
        }
        int i = d - 1;
        while (i >= 0 && pick[static_cast<std::size_t>(i)] == n - (d - 1 - i)) {
            --i;
        }
        if (i < 0) {
            break;
        }
        ++pick[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < d; ++j) {
            pick[static_cast<std::size_t>(j)] = pick[static_cast<std::size_t>(j - 1)] + 1;
        }
    }
    control.done.fetch_add(sinceReport, std::memory_order_relaxed);
    sums.into(odds);
    odds.exact = !odds.stopped;
    return odds;
}

LottoOdds SampleLottoOdds(const LottoRows& rows, int drawSize, EvalControl& control,
                          const LottoOddsPlan&, std::uint64_t seed, std::uint64_t draws) {
    LottoOdds odds;
    odds.exact = false;
    OddsSums sums(MaxHits(rows, drawSize));
    control.total.store(draws, std::memory_order_relaxed);
    SampleRandom random(seed);
    std::uint64_t sinceReport = 0;
    for (std::uint64_t i = 0; i < draws; ++i) {
        const NumberSet draw = random.draw(rows.poolSize, drawSize);
        sums.add(CompareRows(rows.rows, draw));
        if (++sinceReport == 4096) {
            control.done.fetch_add(sinceReport, std::memory_order_relaxed);
            sinceReport = 0;
            if (control.stop.load(std::memory_order_relaxed)) {
                odds.stopped = true;
                break;
            }
        }
    }
    control.done.fetch_add(sinceReport, std::memory_order_relaxed);
    sums.into(odds);
    return odds;
}

}  // namespace losfix::eval
