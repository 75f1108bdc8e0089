#include "core/football/TipGenerator.h"

#include <algorithm>
#include <utility>

#include "core/common/Error.h"

namespace losfix {

namespace {

constexpr std::uint32_t kCodeCount = 1594323;  // 3^13: every row has a code below this
constexpr const char* kStopRequest = "Bitte mit der Stopp-Taste beenden.";

// A candidate row as the base-3 code of its positions: digit m - 1 is position - 1 of match m.
struct Candidate {
    std::array<int, kMatchCount> slots{};
    std::uint32_t code = 0;
};

// A pasted negative count is shown as it was typed.
std::string GroupedSigned(long long value) {
    if (value < 0) {
        // Appended rather than "-" + text: GCC 12 at -O3 warns falsely about the latter.
        std::string text(1, '-');
        text += FormatThousands(static_cast<std::uint64_t>(-value));
        return text;
    }
    return FormatThousands(static_cast<std::uint64_t>(value));
}

// Every code has its own bit, so the test costs the same for the first row as for the last.
class CodeSet {
public:
    CodeSet() : bits_((kCodeCount + 63) / 64, 0) {}

    bool insert(const Candidate& candidate) {
        std::uint64_t& word = bits_[candidate.code >> 6];
        const std::uint64_t mask = std::uint64_t{1} << (candidate.code & 63U);
        if ((word & mask) != 0) {
            return false;
        }
        word |= mask;
        return true;
    }

private:
    std::vector<std::uint64_t> bits_;
};

// The duplicate test the window has always made: the candidate's text against the text of every
// accepted row, in order of acceptance.
class ListScan {
public:
    bool insert(const Candidate& candidate) {
        std::string text;
        for (const int slot : candidate.slots) {
            text += OutcomeText(slot);
            text += ',';
        }
        text.pop_back();
        if (!isNewTipRow(text)) {
            return false;
        }
        accepted_.push_back(std::move(text));
        return true;
    }

private:
    bool isNewTipRow(const std::string& text) const {
        for (const std::string& row : accepted_) {
            if (row == text) {
                return false;
            }
        }
        return true;
    }

    std::vector<std::string> accepted_;
};

void WriteRows(const std::vector<std::uint32_t>& accepted, StringGrid& table, StringGrid& matrix,
               OutcomeCounts& counts, const TextMeasure& measure) {
    if (table.columnCount() < kTipTableColumns) {
        table.setColumnCount(kTipTableColumns);
    }
    table.setRowCount(static_cast<int>(accepted.size()) + 1);
    for (auto& match : counts) {
        match.fill(0);
    }
    std::vector<std::string> cells(static_cast<std::size_t>(table.columnCount()));
    for (std::size_t i = 0; i < accepted.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        std::uint32_t code = accepted[i];
        for (int match = 1; match <= kMatchCount; ++match) {
            // The code's digits from the lowest: match 1 first.
            const int slot = OutcomeSlot(match, static_cast<int>(code % kOutcomesPerMatch) + 1);
            code /= kOutcomesPerMatch;
            cells[static_cast<std::size_t>(match)] = OutcomeText(slot);
            const int matrixRow = MatrixRowOfValue(OutcomeValue(slot));
            ++counts[static_cast<std::size_t>(match - 1)][static_cast<std::size_t>(matrixRow - 1)];
        }
        cells[0] = TipRowLabel(row, measure);
        table.setRowCells(row, cells);
    }
    WriteOutcomeMatrix(matrix, counts);
}

template <typename Seen>
TipRunOutcome Generate(const MatchDrums& drums, int requested, StringGrid& table,
                       StringGrid& matrix, OutcomeCounts& counts, const TipYieldCallback& yield,
                       Random& random, const TextMeasure& measure, Seen& seen) {
    TipRunOutcome outcome;
    const std::uint32_t combinations = DrumCombinations(drums);
    if (combinations == 0) {
        // An empty drum has nothing to draw from.
        outcome.refused = true;
        return outcome;
    }
    TipRunProgress progress;
    progress.requestedRows = requested;
    progress.combinations = combinations;

    std::vector<std::uint32_t> accepted;
    accepted.reserve(std::min<std::size_t>(requested > 0 ? static_cast<std::size_t>(requested) : 0,
                                           combinations));
    bool stop = yield && yield(progress);
    do {
        random.reseed();
        Candidate candidate;
        std::uint32_t weight = 1;
        for (std::size_t m = 0; m < drums.size(); ++m) {
            const MatchDrum& drum = drums[m];
            const int slot = drum[random.below(static_cast<std::uint32_t>(drum.size()))];
            candidate.slots[m] = slot;
            candidate.code += static_cast<std::uint32_t>(PositionOfSlot(slot) - 1) * weight;
            weight *= kOutcomesPerMatch;
        }
        ++progress.candidates;
        if (seen.insert(candidate)) {
            accepted.push_back(candidate.code);
            ++progress.acceptedRows;
        }
        if (yield && yield(progress)) {
            stop = true;
        }
    } while (progress.acceptedRows != requested && !stop);

    outcome.acceptedRows = progress.acceptedRows;
    outcome.candidates = progress.candidates;
    outcome.stopped = stop;
    WriteRows(accepted, table, matrix, counts, measure);
    return outcome;
}

}  // namespace

MatchDrums BuildMatchDrums(const TipStatuses& statuses) {
    MatchDrums drums;
    for (int match = 1; match <= kMatchCount; ++match) {
        MatchDrum& drum = drums[static_cast<std::size_t>(match - 1)];
        for (int position = 1; position <= kOutcomesPerMatch; ++position) {
            const int slot = OutcomeSlot(match, position);
            const int entries = static_cast<int>(statuses[static_cast<std::size_t>(slot - 1)]);
            if (entries >= 1 && entries < kTipStatusCount) {
                drum.insert(drum.end(), static_cast<std::size_t>(entries), slot);
            }
        }
    }
    return drums;
}

std::uint32_t DrumCombinations(const MatchDrums& drums) {
    std::uint32_t combinations = 1;
    for (const MatchDrum& drum : drums) {
        MatchDrum distinct = drum;
        std::sort(distinct.begin(), distinct.end());
        const auto count = std::unique(distinct.begin(), distinct.end()) - distinct.begin();
        combinations *= static_cast<std::uint32_t>(count);
    }
    return combinations;
}

std::optional<std::string> TipBoardRefusal(const TipStatuses& statuses) {
    for (int match = 1; match <= kMatchCount; ++match) {
        if (ChosenCount(statuses, match) == 0) {
            return "Sie müssen für Spiel " + std::to_string(match) +
                   " eine Auswahl treffen.\r\rIch breche erst einmal ab.";
        }
    }
    return std::nullopt;
}

std::optional<std::string> TipCountHint(int requested, std::uint32_t combinations) {
    constexpr const char* kNoEnd =
        " Die Reihenbildung startet trotzdem, endet aber nicht von selbst: Beenden Sie sie mit der "
        "Stopp-Taste, sobald alle Reihen gefunden sind.";
    if (combinations == 0) {
        return std::nullopt;
    }
    if (requested <= 0) {
        return "Eine Reihenanzahl von " + std::to_string(requested) + " wird nie erreicht." +
               kNoEnd;
    }
    if (static_cast<std::uint32_t>(requested) <= combinations) {
        return std::nullopt;
    }
    const std::string wanted = ", gewünscht sind " + FormatThousands(requested) + ".";
    if (combinations == 1) {
        return "Mit dieser Auswahl gibt es nur eine einzige Reihe" + wanted + kNoEnd;
    }
    return "Mit dieser Auswahl gibt es nur " + FormatThousands(combinations) +
           " verschiedene Reihen" + wanted + kNoEnd;
}

TipRunPlan PlanTipRun(const TipStatuses& statuses, std::string_view countText) {
    TipRunPlan plan;
    plan.refusal = TipBoardRefusal(statuses);
    if (plan.refusal) {
        return plan;
    }
    plan.countText = countText.empty() ? std::string(kDefaultTipCountText) : std::string(countText);
    plan.requested = StrToInt(plan.countText);
    plan.drums = BuildMatchDrums(statuses);
    plan.combinations = DrumCombinations(plan.drums);
    plan.hint = TipCountHint(plan.requested, plan.combinations);
    return plan;
}

std::string TipProgressText(const TipRunProgress& progress) {
    std::string text = "Reihe " + GroupedSigned(progress.acceptedRows) + " von " +
                       GroupedSigned(progress.requestedRows) + ", " +
                       FormatThousands(progress.candidates) + " Kandidaten geprüft";
    if (progress.allRowsFound()) {
        if (progress.combinations == 1) {
            text += " – die einzige mögliche Reihe ist gefunden. ";
        } else {
            text += " – alle " + FormatThousands(progress.combinations) +
                    " verschiedenen Reihen sind gefunden, mehr gibt diese Auswahl nicht her. ";
        }
        text += kStopRequest;
    }
    return text;
}

std::string TipRunSummary(const TipRunOutcome& outcome, int requested) {
    return GroupedSigned(outcome.acceptedRows) + " von " + GroupedSigned(requested) +
           " Reihen gebildet, " + FormatThousands(outcome.candidates) + " Kandidaten geprüft.";
}

TipGenerator::TipGenerator(Random& random, TextMeasure measure)
    : random_(random), measure_(std::move(measure)) {}

TipRunOutcome TipGenerator::run(const MatchDrums& drums, int requested, StringGrid& table,
                                StringGrid& matrix, OutcomeCounts& counts,
                                const TipYieldCallback& yield) {
    CodeSet seen;
    return Generate(drums, requested, table, matrix, counts, yield, random_, measure_, seen);
}

TipRunOutcome TipGenerator::runListScan(const MatchDrums& drums, int requested, StringGrid& table,
                                        StringGrid& matrix, OutcomeCounts& counts,
                                        const TipYieldCallback& yield) {
    ListScan seen;
    return Generate(drums, requested, table, matrix, counts, yield, random_, measure_, seen);
}

}  // namespace losfix
