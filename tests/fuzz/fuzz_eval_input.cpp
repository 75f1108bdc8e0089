// What a user types into the evaluation windows (the drawn numbers, the additional number, the
// 13 results) and the rows of a row table loaded from any file. The first two bytes choose the
// pool and the draw size; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/common/StringGrid.h"
#include "core/eval/FootballEvaluation.h"
#include "core/eval/LottoEvaluation.h"
#include "fuzz/FuzzCheck.h"

using namespace losfix;

namespace {

constexpr std::size_t kLongestMessage = 400;  // the texts and an excerpt of 40 characters

// A message quotes the input shortened, never cut inside a character of well-formed input.
void CheckMessage(const std::string& message, bool wellFormedInput) {
    FUZZ_CHECK(!message.empty());
    FUZZ_CHECK(message.size() <= kLongestMessage);
    FUZZ_CHECK(!wellFormedInput || fuzz::IsUtf8(message));
}

void CheckDraw(std::string_view numbers, std::string_view additional, int pool, int size) {
    const auto parsed = ParseLottoDraw(numbers, additional, pool, size);
    if (const auto* message = std::get_if<std::string>(&parsed)) {
        CheckMessage(*message, fuzz::IsUtf8(numbers) && fuzz::IsUtf8(additional));
        return;
    }
    const LottoDraw& draw = std::get<LottoDraw>(parsed);
    FUZZ_CHECK(static_cast<int>(draw.numbers.size()) == size);
    std::string again;
    for (std::size_t i = 0; i < draw.numbers.size(); ++i) {
        FUZZ_CHECK(draw.numbers[i] >= 1 && draw.numbers[i] <= pool);
        FUZZ_CHECK(i == 0 || draw.numbers[i - 1] < draw.numbers[i]);
        FUZZ_CHECK(draw.numbers[i] != draw.additional);
        again += std::to_string(draw.numbers[i]) + (i % 2 == 0 ? ", " : ";");
    }
    FUZZ_CHECK(draw.additional >= 0 && draw.additional <= pool);
    // The draw written out as a user would type it reads back as itself.
    const auto back = ParseLottoDraw(
        again, draw.additional == 0 ? std::string() : std::to_string(draw.additional), pool, size);
    FUZZ_CHECK(std::holds_alternative<LottoDraw>(back));
    FUZZ_CHECK(std::get<LottoDraw>(back).numbers == draw.numbers);
    FUZZ_CHECK(std::get<LottoDraw>(back).additional == draw.additional);
}

void CheckResults(std::string_view text) {
    const auto parsed = ParseTipResults(text);
    if (const auto* message = std::get_if<std::string>(&parsed)) {
        CheckMessage(*message, fuzz::IsUtf8(text));
        return;
    }
    const TipRow& results = std::get<TipRow>(parsed);
    std::string again;
    for (const std::uint8_t value : results) {
        FUZZ_CHECK(value <= 2);
        again += static_cast<char>('0' + value);
    }
    const auto back = ParseTipResults(again);
    FUZZ_CHECK(std::holds_alternative<TipRow>(back));
    FUZZ_CHECK(std::get<TipRow>(back) == results);
}

// Lines as table rows, cells split at commas.
void CheckRows(std::string_view text, int pool) {
    StringGrid table(17, 1, 1, 1);
    int row = 0;
    std::size_t start = 0;
    while (start <= text.size() && row < 200) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        table.setRowCount(++row + 1);
        std::vector<std::string> cells = {std::to_string(row)};
        std::size_t cell = start;
        while (cell <= end) {
            const std::size_t comma = std::min(text.find(',', cell), end);
            cells.emplace_back(text.substr(cell, comma - cell));
            cell = comma + 1;
        }
        table.setRowCells(row, cells);
        start = end + 1;
    }
    const auto read = ReadLottoRows(table, pool);
    if (const auto* message = std::get_if<std::string>(&read)) {
        CheckMessage(*message, fuzz::IsUtf8(text));
        return;
    }
    const LottoRows& rows = std::get<LottoRows>(read);
    FUZZ_CHECK(!rows.rows.empty());
    FUZZ_CHECK(rows.rows.size() == rows.tableRow.size());
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        FUZZ_CHECK(rows.rows[i].count() == rows.rowSize);
        FUZZ_CHECK(!rows.rows[i].contains(0));
        for (int n = pool + 1; n < NumberSet::kCapacity; ++n) {
            FUZZ_CHECK(!rows.rows[i].contains(n));
        }
        FUZZ_CHECK(i == 0 || rows.tableRow[i - 1] < rows.tableRow[i]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Sizes a little outside the allowed ranges too, for the messages.
    const int pool = 1 + data[0] % 95;
    const int drawSize = data[1] % 23;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t newline = text.find('\n');
    const std::string_view numbers = text.substr(0, newline);
    const std::string_view additional =
        newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    CheckDraw(numbers, additional, pool, drawSize);
    CheckResults(text);
    CheckRows(text, pool);
    return 0;
}
