#pragma once

// Large tables made the same way every time, and digests of their cells.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/common/Random.h"
#include "core/common/StringGrid.h"
#include "core/export/SpreadsheetExport.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipGenerator.h"
#include "core/football/TipTable.h"
#include "core/lottery/Board.h"
#include "core/lottery/RowGenerator.h"
#include "core/lottery/RowTable.h"
#include "support/core/Digest.h"
#include "support/core/FixedMeasure.h"

namespace losfix::testing {

// Every text of the block, each followed by a unit separator, rows ended by a record separator:
// a text moved to a neighbouring cell changes the digest.
inline Digest OfBlock(const ValueBlock& block) {
    std::string all;
    for (int r = 1; r <= block.rows(); ++r) {
        for (int c = 1; c <= block.columns(); ++c) {
            all.append(block.at(r, c));
            all.push_back('\x1f');
        }
        all.push_back('\x1e');
    }
    return Of(all);
}

// Every cell of the grid, fixed ones included, in the same way.
inline Digest OfGrid(const StringGrid& grid) {
    std::string all = std::to_string(grid.columnCount()) + "x" + std::to_string(grid.rowCount());
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            all.append(grid.cell(c, r));
            all.push_back('\x1f');
        }
        all.push_back('\x1e');
    }
    return Of(all);
}

inline Random::SeedSource MixedSeeds(std::uint64_t start) {
    auto state = std::make_shared<std::uint64_t>(start);
    return [state] {
        std::uint64_t z = (*state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return static_cast<std::uint32_t>(z ^ (z >> 31));
    };
}

inline StringGrid GeneratedRows(const Board& board, RunSettings settings, std::uint64_t seed) {
    StringGrid table = MakeRowTable(FixedMeasure);
    Random random(MixedSeeds(seed));
    RowGenerator generator(random, FixedMeasure);
    DrawCounts counts{};
    const RunOutcome outcome = generator.run(
        settings, BuildDrum(board.statuses(), settings.poolSize), table, counts, nullptr);
    EXPECT_EQ(outcome.acceptedRows, settings.requestedRows);
    return table;
}

// Rows of 16 out of 90; 99,999 are as many as the window allows.
inline StringGrid LargeRowTable(int rows = 99999) {
    Board board;
    board.setPoolItem(11);
    board.setRowSizeItem(13);
    RunSettings settings;
    settings.requestedRows = rows;
    settings.poolSize = board.poolSize();
    settings.rowSize = board.rowSize();
    return GeneratedRows(board, settings, 20);
}

// Rows of 6 out of 49 with favourites, a banker, a congruence limit and the pair rule.
inline StringGrid SmallRowTable() {
    Board board;
    board.setStatus(3, NumberStatus::FavI);
    board.setStatus(17, NumberStatus::FavIII);
    board.setStatus(23, NumberStatus::Bank);
    board.setStatus(40, NumberStatus::Out);
    RunSettings settings;
    settings.requestedRows = 3000;
    settings.poolSize = board.poolSize();
    settings.rowSize = board.rowSize();
    settings.congruenceLimit = 4;
    settings.pairRule = PairRule::EverySecond;
    return GeneratedRows(board, settings, 7);
}

// A row file from elsewhere: long and odd items, quotes, empty items, umlauts, short and
// surplus lines, blank lines.
inline std::string ForeignRowFile() {
    std::string text;
    for (int line = 0; line < 4000; ++line) {
        std::string items;
        const int count = line % 23;
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                items += ',';
            }
            switch ((line * 7 + i * 3) % 11) {
                case 0:
                    break;
                case 1:
                    items += std::to_string(line % 90 + 1);
                    break;
                case 2:
                    items += std::string(static_cast<std::size_t>(line % 40), ' ') + "7";
                    break;
                case 3:
                    items += "\"Reihe, mit Komma\"";
                    break;
                case 4:
                    items +=
                        "Gr\xFC\xDF"
                        "e \xC4rger";
                    break;
                case 5:
                    items += std::string(static_cast<std::size_t>(line % 300), 'x');
                    break;
                case 6:
                    items += "  " + std::to_string(line) + "  ";
                    break;
                case 7:
                    items += "\"\"\"zitiert\"\"\"";
                    break;
                case 8:
                    items += "\t";
                    break;
                case 9:
                    items += std::to_string(line * 1000003LL);
                    break;
                default:
                    items += "\xA7 1.234,5";
                    break;
            }
        }
        text += items + "\r\n";
    }
    return text;
}

struct TipTables {
    StringGrid table;
    StringGrid matrix;
};

// 99,999 tips from boards of two and three outcomes a match.
inline TipTables LargeTipTables() {
    MatchBoard board;
    for (int match = 1; match <= kMatchCount; ++match) {
        for (int position = 1; position <= kOutcomesPerMatch; ++position) {
            board.setTipStatus(OutcomeSlot(match, position),
                               static_cast<TipStatus>(1 + (match + position) % 3));
        }
    }
    TipTables tables{MakeTipTable(FixedMeasure), MakeOutcomeMatrix(FixedMeasure)};
    OutcomeCounts counts{};
    Random random(MixedSeeds(13));
    TipGenerator generator(random, FixedMeasure);
    const TipRunOutcome outcome = generator.run(BuildMatchDrums(board.statuses()), 99999,
                                                tables.table, tables.matrix, counts, nullptr);
    EXPECT_EQ(outcome.acceptedRows, 99999);
    return tables;
}

}  // namespace losfix::testing
