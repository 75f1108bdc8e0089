#include "core/lottery/RowGenerator.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <utility>
#include <vector>

#include "core/lottery/CongruenceIndex.h"
#include "core/lottery/RowTable.h"

namespace losfix {

namespace {

constexpr std::uint64_t kUint64Max = std::numeric_limits<std::uint64_t>::max();

std::string Plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// floor(value * factor / divisor), capped at the largest 64-bit value.
std::uint64_t MulDivFloor(std::uint64_t value, std::uint64_t factor, std::uint64_t divisor) {
    const std::uint64_t quotient = value / divisor;
    const std::uint64_t remainder = value % divisor;
    // value * factor = quotient * divisor * factor + remainder * factor; remainder * factor is
    // small.
    const std::uint64_t tail = remainder * factor / divisor;
    if (quotient != 0 && quotient > (kUint64Max - tail) / factor) {
        return kUint64Max;
    }
    return quotient * factor + tail;
}

std::uint64_t Binomial(int n, int k) {
    if (k < 0 || n < 0 || k > n) {
        return 0;
    }
    k = std::min(k, n - k);
    std::uint64_t result = 1;
    for (int i = 1; i <= k; ++i) {
        // C(n-k+i, i) = C(n-k+i-1, i-1) * (n-k+i) / i, exact in every step.
        result = MulDivFloor(result, static_cast<std::uint64_t>(n - k + i),
                             static_cast<std::uint64_t>(i));
        if (result == kUint64Max) {
            return result;
        }
    }
    return result;
}

// Johnson bound J(n, w, t) = floor(n / w * J(n - 1, w - 1, t - 1)), J(m, u, 0) = floor(m / u).
std::uint64_t Johnson(int n, int w, int t) {
    std::uint64_t bound = static_cast<std::uint64_t>((n - t) / (w - t));
    for (int i = t - 1; i >= 0; --i) {
        bound = MulDivFloor(bound, static_cast<std::uint64_t>(n - i),
                            static_cast<std::uint64_t>(w - i));
    }
    return bound;
}

int AdjacentPairs(const NumberSet& row) {
    const std::uint64_t low = row.lowBits();
    const std::uint64_t high = row.highBits();
    const std::uint64_t shiftedLow = (low >> 1) | (high << 63);
    const std::uint64_t shiftedHigh = high >> 1;
    return std::popcount(low & shiftedLow) + std::popcount(high & shiftedHigh);
}

// The pair rule with its counter p, which runs over the accepted rows.
class PairRuleCheck {
public:
    explicit PairRuleCheck(PairRule rule) : rule_(static_cast<int>(rule)) {}

    bool admit(const NumberSet& candidate) {
        if (rule_ == 0) {
            return true;
        }
        const int pairs = AdjacentPairs(candidate);
        if (counter_ < rule_ || rule_ == static_cast<int>(PairRule::Exclude)) {
            if (pairs != 0) {
                return false;
            }
            ++counter_;
            return true;
        }
        if (pairs != 1) {
            return false;
        }
        if (counter_ == rule_) {
            counter_ = 1;
        }
        return true;
    }

private:
    int rule_;
    int counter_ = 1;
};

// One candidate: a Fisher-Yates step for each drum entry taken from `entries` (in the drum's built
// order) until the row is complete or the drum runs out, then the swaps are undone. afterEntry()
// is called after every entry taken; when it returns true the draw ends there, swaps left as they
// are. The state lives in locals whose address the callback cannot know: they stay in registers
// across its calls.
struct Draw {
    std::uint64_t low;
    std::uint64_t high;
    int drawn;
    std::size_t entriesTaken;
    bool ended;  // by afterEntry
};

template <typename AfterEntry>
inline Draw DrawCandidate(std::uint32_t& seed, const Drum& drum, int needed, int poolSize,
                          int* entries, std::uint32_t* swaps, std::size_t entryCount,
                          AfterEntry&& afterEntry) {
    std::uint64_t lowWord = drum.bankers.lowBits();
    std::uint64_t highWord = drum.bankers.highBits();
    int drawn = 0;
    std::size_t position = 0;
    while (drawn < needed && position < entryCount) {
        const std::size_t j =
            position + Random::Below(seed, static_cast<std::uint32_t>(entryCount - position));
        std::swap(entries[position], entries[j]);
        swaps[position] = static_cast<std::uint32_t>(j);
        const int number = entries[position++];
        if (number >= 1 && number <= poolSize) {
            // Without a branch on the word: numbers past 63 come at random.
            const std::uint64_t bit = std::uint64_t{1} << (static_cast<unsigned>(number) & 63U);
            const std::uint64_t highMask =
                std::uint64_t{0} - static_cast<std::uint64_t>(number >> 6);
            const std::uint64_t lowBit = bit & ~highMask;
            const std::uint64_t highBit = bit & highMask;
            if (((lowWord & lowBit) | (highWord & highBit)) == 0) {
                lowWord |= lowBit;
                highWord |= highBit;
                ++drawn;
            }
        }
        if (afterEntry()) {
            return {lowWord, highWord, drawn, position, true};
        }
    }
    for (std::size_t i = position; i-- > 0;) {
        std::swap(entries[i], entries[swaps[i]]);
    }
    return {lowWord, highWord, drawn, position, false};
}

// A congruence test that can judge several candidates at once.
template <typename Congruence>
concept JudgesBatches = requires(Congruence& congruence, const NumberSet* candidates,
                                 CongruenceIndex::Verdict* verdicts) {
    congruence.judge(candidates, std::size_t{}, verdicts);
};

template <typename Congruence>
RunOutcome Generate(const RunSettings& settings, const Drum& drum, StringGrid& table,
                    DrawCounts& counts, const YieldCallback& yield, Random& random,
                    const TextMeasure& measure, Congruence& congruence) {
    RunOutcome outcome;
    if (RunRefusal(settings, drum)) {
        // Such a run could never finish a row; nothing is touched.
        outcome.refused = true;
        return outcome;
    }
    const int requested = settings.requestedRows;
    const int poolSize = std::clamp(settings.poolSize, 0, kMaxNumber);
    const int needed = settings.rowSize - drum.bankerCount;

    if (table.columnCount() < kRowTableColumns) {
        table.setColumnCount(kRowTableColumns);
    }
    table.setRowCount(requested + 1);
    // Each row read once and rewritten with its label alone: clearing cell by cell walks the
    // row again for every cell.
    std::vector<std::string_view> cells;
    for (int r = 1; r <= requested; ++r) {
        table.cellViews(r, cells);
        const auto numbers = cells.begin() + 1;
        const auto end = numbers + (kRowTableColumns - 1);
        if (std::any_of(numbers, end, [](std::string_view text) { return !text.empty(); })) {
            std::vector<std::string> kept(cells.begin(), cells.end());
            std::fill(kept.begin() + 1, kept.begin() + kRowTableColumns, std::string());
            table.setRowCells(r, kept);
        }
    }
    counts.fill(0);

    RunProgress progress;
    progress.requestedRows = requested;
    if (yield && yield(progress)) {
        outcome.stopped = true;
        return outcome;
    }

    const bool wholeRows = table.columnCount() == kRowTableColumns;
    std::vector<std::string> rowCells(kRowTableColumns);
    // Every candidate starts from the drum's built order, so that one seed always gives one
    // candidate: a Fisher-Yates step fixes each position read (0, 1, 2, ...) as a full shuffle
    // from the same seed would, and the swaps are undone afterwards.
    std::vector<int> entryStore = drum.entries;
    std::vector<std::uint32_t> swapStore(entryStore.size());
    int* const entries = entryStore.data();
    std::uint32_t* const swaps = swapStore.data();
    const std::size_t entryCount = entryStore.size();
    PairRuleCheck pairRule(settings.pairRule);

    // Decides a drawn candidate as the run does and writes it when taken; true when it was the
    // last row asked for.
    const auto take = [&](const NumberSet& candidate, bool admitted) {
        if (!admitted || !pairRule.admit(candidate)) {
            return false;
        }
        const int row = ++progress.acceptedRows;
        progress.candidatesSinceAccept = 0;
        // The number cells are empty here. Without columns of its own past the numbers a row is
        // written in one go: cell by cell, every cell rewrites the row.
        if (wholeRows) {
            rowCells[0] = RowLabel(row, measure);
        } else {
            table.setCell(0, row, RowLabel(row, measure));
        }
        int column = 1;
        candidate.forEach([&](int number) {
            if (number >= 1 && number <= poolSize) {
                if (wholeRows) {
                    rowCells[static_cast<std::size_t>(column++)] = std::to_string(number);
                } else {
                    table.setCell(column++, row, std::to_string(number));
                }
                ++counts[static_cast<std::size_t>(number - 1)];
            }
        });
        if (wholeRows) {
            std::fill(rowCells.begin() + column, rowCells.end(), std::string());
            table.setRowCells(row, rowCells);
        }
        return row == requested;
    };
    const auto finished = [&](bool stopped) {
        outcome.acceptedRows = progress.acceptedRows;
        outcome.candidates = progress.candidates;
        outcome.stopped = stopped;
        return outcome;
    };

    // Candidates drawn ahead, judged together and then taken in their order, with the callback
    // called for each of their entries just as if they had been drawn one by one.
    struct Ahead {
        NumberSet candidate;
        std::uint32_t firstSeed;  // as reseed() set it
        std::uint32_t lastSeed;   // after the draw
        std::size_t entriesTaken;
        bool complete;
    };
    std::vector<Ahead> ahead;
    std::vector<NumberSet> judged;
    std::vector<CongruenceIndex::Verdict> verdicts;
    std::vector<std::uint32_t> unused;
    const auto noCallback = [] { return false; };
    // The seeds of the candidates after the k-th, drawn but not reached.
    const auto giveBackAfter = [&](std::size_t k) {
        unused.clear();
        for (std::size_t later = k + 1; later < ahead.size(); ++later) {
            unused.push_back(ahead[later].firstSeed);
        }
        random.giveBack(unused.data(), unused.size());
    };

    while (true) {
        if constexpr (JudgesBatches<Congruence>) {
            const std::size_t batch = congruence.batchSize();
            if (batch > 1) {
                ahead.clear();
                judged.clear();
                for (std::size_t k = 0; k < batch; ++k) {
                    random.reseed();
                    std::uint32_t seed = random.seed();
                    const std::uint32_t first = seed;
                    const Draw draw = DrawCandidate(seed, drum, needed, poolSize, entries, swaps,
                                                    entryCount, noCallback);
                    const NumberSet candidate =
                        NumberSet::FromBits(draw.low, static_cast<std::uint32_t>(draw.high));
                    ahead.push_back(
                        {candidate, first, seed, draw.entriesTaken, draw.drawn >= needed});
                    if (draw.drawn >= needed) {
                        judged.push_back(candidate);
                    }
                }
                verdicts.resize(judged.size());
                congruence.judge(judged.data(), judged.size(), verdicts.data());
                std::size_t verdict = 0;
                for (std::size_t k = 0; k < ahead.size(); ++k) {
                    const Ahead& next = ahead[k];
                    for (std::size_t e = 1; e <= next.entriesTaken; ++e) {
                        if (yield && yield(progress)) {
                            // Where the seed stood after this entry: the draw again up to it.
                            std::uint32_t seed = next.firstSeed;
                            std::size_t left = e;
                            DrawCandidate(seed, drum, needed, poolSize, entries, swaps, entryCount,
                                          [&] { return --left == 0; });
                            random.setSeed(seed);
                            giveBackAfter(k);
                            return finished(true);
                        }
                    }
                    ++progress.candidates;
                    ++progress.candidatesSinceAccept;
                    if (!next.complete) {
                        continue;
                    }
                    if (take(next.candidate,
                             congruence.admit(next.candidate, verdicts[verdict++]))) {
                        random.setSeed(next.lastSeed);
                        giveBackAfter(k);
                        return finished(false);
                    }
                }
                random.setSeed(ahead.back().lastSeed);
                continue;
            }
        }

        random.reseed();
        std::uint32_t seed = random.seed();
        const Draw draw = DrawCandidate(seed, drum, needed, poolSize, entries, swaps, entryCount,
                                        [&] { return yield && yield(progress); });
        random.setSeed(seed);
        if (draw.ended) {
            return finished(true);
        }
        const NumberSet candidate =
            NumberSet::FromBits(draw.low, static_cast<std::uint32_t>(draw.high));
        ++progress.candidates;
        ++progress.candidatesSinceAccept;

        // A drum that runs out before the row is complete gives no candidate.
        if (draw.drawn < needed) {
            continue;
        }
        if (take(candidate, congruence.admit(candidate))) {
            return finished(false);
        }
    }
}

}  // namespace

std::optional<std::string> RunRefusal(const RunSettings& settings, const Drum& drum) {
    const int bankers = drum.bankerCount;
    const int rowSize = settings.rowSize;
    if (settings.requestedRows <= 0) {
        return std::string("Die gewünschte Reihenanzahl muss mindestens 1 sein.");
    }
    if (rowSize <= 0) {
        return std::string("Die Anzahl der Zahlen pro Reihe muss mindestens 1 sein.");
    }
    if (bankers >= rowSize) {
        return "Mit dieser Auswahl kann keine Reihe gebildet werden: Es sind " +
               Plural(bankers, "Zahl", "Zahlen") +
               " als \"Bank\" gesetzt, eine Reihe hat aber nur " +
               Plural(rowSize, "Zahl", "Zahlen") +
               ". Setzen Sie weniger Bankzahlen, als eine Reihe Zahlen hat.";
    }
    if (bankers + drum.distinctNumbers < rowSize) {
        return "Mit dieser Auswahl kann keine Reihe gebildet werden: Für eine Reihe aus " +
               Plural(rowSize, "Zahl", "Zahlen") + " stehen nur " +
               Plural(bankers + drum.distinctNumbers, "Zahl", "Zahlen") + " zur Verfügung (" +
               Plural(bankers, "Bankzahl", "Bankzahlen") + " und " +
               Plural(drum.distinctNumbers, "Zahl", "Zahlen") +
               " in der Lostrommel). Schließen Sie weniger Zahlen aus oder wählen Sie weniger "
               "Zahlen pro Reihe.";
    }
    return std::nullopt;
}

RowGenerator::RowGenerator(Random& random, TextMeasure measure)
    : random_(random), measure_(std::move(measure)) {}

RunOutcome RowGenerator::run(const RunSettings& settings, const Drum& drum, StringGrid& table,
                             DrawCounts& counts, const YieldCallback& yield) {
    CongruenceIndex congruence(settings.rowSize, settings.congruenceLimit, drum.bankers);
    congruence.expectRows(static_cast<std::size_t>(std::max(settings.requestedRows, 0)));
    return Generate(settings, drum, table, counts, yield, random_, measure_, congruence);
}

RunOutcome RowGenerator::runReference(const RunSettings& settings, const Drum& drum,
                                      StringGrid& table, DrawCounts& counts,
                                      const YieldCallback& yield) {
    CongruenceScan congruence(settings.rowSize, settings.congruenceLimit);
    return Generate(settings, drum, table, counts, yield, random_, measure_, congruence);
}

std::uint64_t RunCeiling(int availableNumbers, int rowSize, int bankers, int limit) {
    if (rowSize <= 0 || bankers < 0 || bankers >= rowSize) {
        return 0;
    }
    const int free = availableNumbers - bankers;
    const int freeSize = rowSize - bankers;
    if (free < freeSize) {
        return 0;
    }
    const std::uint64_t distinctRows = Binomial(free, freeSize);
    if (!CongruenceSwitchOn(rowSize, limit)) {
        return distinctRows;
    }
    if (limit < bankers) {
        // Every two rows share all bankers: more than the limit.
        return 1;
    }
    return std::min(Johnson(free, freeSize, limit - bankers), distinctRows);
}

}  // namespace losfix
