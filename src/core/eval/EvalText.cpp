#include "core/eval/EvalText.h"

#include "core/common/Error.h"
#include "core/football/MatchBoard.h"

namespace losfix::eval {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Quoted(std::string_view text) {
    // Built by appending: GCC 12 at -O3 warns falsely about "\"" + std::string.
    std::string quoted(1, '"');
    quoted += messages::Excerpt(text);
    quoted += '"';
    return quoted;
}

std::string RowsText(std::uint64_t rows) {
    return FormatThousands(rows) + (rows == 1 ? " Reihe" : " Reihen");
}

}  // namespace losfix::eval
