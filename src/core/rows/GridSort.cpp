#include "core/rows/GridSort.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/lottery/RowTable.h"

namespace losfix {

namespace {

constexpr const char* kBadRows = "Falsche Zeilenangabe";
constexpr const char* kBadTypeCount = "Falsche Anzahl bei Sortiertyp";
constexpr const char* kBadColumn = "Falsche Spaltenangabe";
constexpr const char* kNotANumber = "Werte entsprechen nicht dem Typ Zahl";
constexpr const char* kNotADateTime = "Werte entsprechen nicht dem Typ Datum/Zeit";

constexpr int kRowTableHeaderRows = 1;

// Empty number cells stand for values beyond every number a cell can hold. Where long double
// has the 80-bit range they are the values the program always used; where it is only a double,
// infinity and the smallest denormal keep the same order against every readable number.
#if LDBL_MAX_10_EXP >= 4932
constexpr long double kHighBlankNumber = 1.1e4932L;
constexpr long double kLowBlankNumber = 3.4e-4932L;
#else
constexpr long double kHighBlankNumber = std::numeric_limits<long double>::infinity();
constexpr long double kLowBlankNumber = std::numeric_limits<long double>::denorm_min();
#endif

// Days from 1.1.1970 in the proleptic Gregorian calendar (H. Hinnant's algorithm).
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

// The date serial: days since 30.12.1899 plus the fraction of the day.
double DateSerial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    const long long days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        DaysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads minDigits..maxDigits decimal digits at pos.
bool ReadDigits(std::string_view text, std::size_t& pos, std::size_t minDigits,
                std::size_t maxDigits, int& value) {
    std::size_t count = 0;
    value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && count < maxDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++count;
    }
    return count >= minDigits && (pos >= text.size() || !IsDigit(text[pos]));
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// One UTF-8 character; a byte that starts no valid sequence stands for itself.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
    } else {
        ++pos;
        return lead;
    }
    if (pos + static_cast<std::size_t>(length) > text.size()) {
        ++pos;
        return lead;
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return lead;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    pos += static_cast<std::size_t>(length);
    return cp;
}

// Collation keys: the primary weights ignore case and accents (so "Ä" sorts with "a" and
// "ß" as "ss"), the secondary ones tell accented letters from plain ones on a primary tie.
struct CollationKey {
    std::u32string primary;
    std::u32string secondary;
};

void AppendFolded(char32_t cp, CollationKey& key) {
    if (cp >= U'A' && cp <= U'Z') {
        cp += 0x20;
    } else if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) {
        cp += 0x20;  // Latin-1 capitals to small letters
    }
    if (cp == 0xDF) {  // ß
        key.primary += U"ss";
        key.secondary += {cp, cp};
        return;
    }
    char32_t base = cp;
    if (cp >= 0xE0 && cp <= 0xFF) {
        // Base letters of à..ÿ; 0 keeps the character itself.
        static constexpr char kBase[32] = {'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e',
                                           'e', 'i', 'i', 'i', 'i', 'd', 'n', 'o', 'o', 'o', 'o',
                                           'o', 0,   'o', 'u', 'u', 'u', 'u', 'y', 0,   'y'};
        const char b = kBase[cp - 0xE0];
        if (b != 0) {
            base = static_cast<char32_t>(b);
        }
    }
    key.primary += base;
    key.secondary += base == cp ? char32_t{0} : cp;
}

CollationKey MakeCollationKey(std::string_view text) {
    CollationKey key;
    std::size_t pos = 0;
    while (pos < text.size()) {
        AppendFolded(NextCodePoint(text, pos), key);
    }
    return key;
}

class GermanSortLocale : public SortLocale {
public:
    int compareText(std::string_view a, std::string_view b) const override {
        const CollationKey ka = MakeCollationKey(a);
        const CollationKey kb = MakeCollationKey(b);
        if (const int c = ka.primary.compare(kb.primary); c != 0) {
            return c < 0 ? -1 : 1;
        }
        const int c = ka.secondary.compare(kb.secondary);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }

    char decimalSeparator() const override { return ','; }

    bool parseDateTime(std::string_view text, double& value) const override {
        text = TrimBlanks(text);
        std::size_t pos = 0;
        int day = 0;
        int month = 0;
        int year = 0;
        if (!ReadDigits(text, pos, 1, 2, day) || !Expect(text, pos, '.') ||
            !ReadDigits(text, pos, 1, 2, month) || !Expect(text, pos, '.') ||
            !ReadDigits(text, pos, 4, 4, year)) {
            return false;
        }
        if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
            return false;
        }
        int hour = 0;
        int minute = 0;
        int second = 0;
        if (pos < text.size()) {
            if (text[pos] != ' ') {
                return false;
            }
            while (pos < text.size() && text[pos] == ' ') {
                ++pos;
            }
            if (!ReadDigits(text, pos, 1, 2, hour) || !Expect(text, pos, ':') ||
                !ReadDigits(text, pos, 2, 2, minute)) {
                return false;
            }
            if (Expect(text, pos, ':') && !ReadDigits(text, pos, 2, 2, second)) {
                return false;
            }
            if (pos != text.size() || hour > 23 || minute > 59 || second > 59) {
                return false;
            }
        }
        value = DateSerial(year, month, day, hour, minute, second);
        return true;
    }
};

// A plain decimal ("digits[.digits][e[sign]digits]") from its significant digits and its power of
// ten. Some standard libraries (MinGW's) read a long double only within the range of a double;
// this reads the rest of the wider range. Infinite when too large, 0 when too small.
long double ScaleDecimal(const std::string& normal) {
    const std::size_t e = normal.find('e');
    long long exponent = 0;
    if (e != std::string::npos) {
        const char* first = normal.data() + e + 1;
        first += *first == '+' ? 1 : 0;
        if (std::from_chars(first, normal.data() + normal.size(), exponent).ec != std::errc()) {
            exponent = *first == '-' ? -100000 : 100000;  // far beyond any range
        }
        exponent = std::clamp(exponent, -100000LL, 100000LL);
    }
    long double significand = 0;  // the first digits, at most as many as a long double keeps
    int digits = 0;
    bool fraction = false;
    for (const char c : normal.substr(0, e)) {
        if (c == '.') {
            fraction = true;
        } else if (digits == 0 && c == '0') {
            exponent -= fraction ? 1 : 0;
        } else if (digits < std::numeric_limits<long double>::digits10 + 2) {
            significand = significand * 10 + (c - '0');
            exponent -= fraction ? 1 : 0;
            ++digits;
        } else {
            exponent += fraction ? 0 : 1;
        }
    }
    if (digits == 0) {
        return 0;
    }
    // significand * 10^exponent in steps that neither overflow nor underflow too early.
    const long long magnitude = exponent + digits - 1;  // of the leading digit
    significand /= std::pow(10.0L, static_cast<long double>(digits - 1));
    if (magnitude > std::numeric_limits<long double>::max_exponent10) {
        return std::numeric_limits<long double>::infinity();
    }
    if (magnitude < std::numeric_limits<long double>::min_exponent10 - 20) {
        return 0;
    }
    const long long half = magnitude / 2;
    return significand * std::pow(10.0L, static_cast<long double>(half)) *
           std::pow(10.0L, static_cast<long double>(magnitude - half));
}

// Reads a whole text as a number: blanks around it, an optional sign, digits with at most one
// decimal separator (at least one digit), an optional exponent. Too large a value is no number;
// one too small for the type reads as 0.
bool ParseNumber(std::string_view text, char separator, long double& value) {
    text = TrimBlanks(text);
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::string normal;  // digits, '.', exponent: what from_chars reads regardless of locale
    std::size_t digits = 0;
    bool seenSeparator = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (IsDigit(c)) {
            normal += c;
            ++digits;
        } else if (c == separator && !seenSeparator) {
            normal += '.';
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        normal += 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            normal += text[pos];
            ++pos;
        }
        std::size_t exponentDigits = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            normal += text[pos];
            ++pos;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    if (pos != text.size()) {
        return false;
    }
    long double result = 0;
    const char* first = normal.data();
    const char* last = first + normal.size();
    const auto [end, ec] = std::from_chars(first, last, result);
    if (end != last) {
        return false;
    }
    if (ec == std::errc::result_out_of_range && std::numeric_limits<long double>::max_exponent10 >
                                                    std::numeric_limits<double>::max_exponent10) {
        // Out of a double's range, but perhaps not of the long double's.
        result = ScaleDecimal(normal);
        if (std::isinf(result)) {
            return false;
        }
        if (result < std::numeric_limits<long double>::min()) {
            result = 0;  // too small for the type, as before
        }
    } else if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the result alone; tell overflow from underflow by the magnitude.
        const std::size_t e = normal.find('e');
        const bool negativeExponent =
            e != std::string::npos && e + 1 < normal.size() && normal[e + 1] == '-';
        if (!negativeExponent) {
            return false;
        }
        result = 0;
    } else if (ec != std::errc()) {
        return false;
    }
    if (!std::isfinite(result)) {
        return false;
    }
    value = negative ? -result : result;
    return true;
}

template <typename T>
int Sign(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

// Key ranks packed into 128 bits, the first key in the highest bits.
struct PackedKey {
    std::uint64_t high = 0;
    std::uint64_t low = 0;

    // value < 2^bits.
    void append(std::uint64_t value, int bits) {
        shift(bits);
        low |= value;
    }
    // Left-aligns the bits, so that keys of the same layout compare as numbers.
    void finish(int usedBits) { shift(128 - usedBits); }
    void shift(int bits) {
        while (bits > 0) {
            const int step = std::min(bits, 32);
            high = (high << step) | (low >> (64 - step));
            low <<= step;
            bits -= step;
        }
    }
    int compare(const PackedKey& other) const {
        if (high != other.high) {
            return high < other.high ? -1 : 1;
        }
        return low < other.low ? -1 : (low > other.low ? 1 : 0);
    }
};

// For each value its rank among the distinct values (0 for the smallest). Values a double holds
// exactly are ranked as doubles, which is much quicker than long double.
std::vector<std::uint32_t> Ranks(const std::vector<long double>& values) {
    // Whole numbers in a small range, as every row table holds, are ranked by counting.
    if (!values.empty()) {
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        constexpr long double kCountingRange = 1 << 20;
        const bool whole = std::all_of(values.begin(), values.end(),
                                       [](long double v) { return v == std::floor(v); });
        if (whole && *high - *low < kCountingRange) {
            const long double base = *low;
            std::vector<std::uint32_t> rankOf(static_cast<std::size_t>(*high - base) + 1, 0);
            for (const long double v : values) {
                rankOf[static_cast<std::size_t>(v - base)] = 1;
            }
            std::uint32_t next = 0;
            for (std::uint32_t& rank : rankOf) {
                const std::uint32_t present = rank;
                rank = next;
                next += present;
            }
            std::vector<std::uint32_t> ranks(values.size());
            for (std::size_t i = 0; i < values.size(); ++i) {
                ranks[i] = rankOf[static_cast<std::size_t>(values[i] - base)];
            }
            return ranks;
        }
    }
    const bool exactDoubles = std::all_of(values.begin(), values.end(), [](long double v) {
        return static_cast<long double>(static_cast<double>(v)) == v;
    });
    auto rank = [](const auto& keys) {
        auto sorted = keys;
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        std::vector<std::uint32_t> ranks(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            ranks[i] = static_cast<std::uint32_t>(
                std::lower_bound(sorted.begin(), sorted.end(), keys[i]) - sorted.begin());
        }
        return ranks;
    };
    if (exactDoubles) {
        return rank(std::vector<double>(values.begin(), values.end()));
    }
    return rank(values);
}

// The Shell sort with halving gaps (the first gap is lastRow div 2) over positions first..last;
// outOfOrder and exchange take positions.
template <typename OutOfOrder, typename Exchange>
void ShellSort(int first, int last, OutOfOrder&& outOfOrder, Exchange&& exchange) {
    int gap = last / 2;
    // With first row 0 and last row 1 the halved gap starts at 0 and would leave two rows
    // unsorted; a gap of 1 sorts them.
    if (gap == 0 && last > first) {
        gap = 1;
    }
    while (gap > 0) {
        for (int i = first; i <= last - gap; ++i) {
            int j = i;
            // Every exchange removes at least one inversion, so the loop ends.
            while (j >= first && outOfOrder(j, j + gap)) {
                exchange(j, j + gap);
                j = j > gap ? j - gap : first;
            }
        }
        gap /= 2;
    }
}

// Compares rows by their keys. Numbers and dates are read from the cells once, before sorting;
// a cell that is no number or date still raises its error only when a comparison needs it, as
// when every comparison read the cells.
class RowComparer {
public:
    RowComparer(const StringGrid& grid, const GridSortArgs& args, std::vector<int> columns,
                const SortLocale& locale)
        : grid_(grid), args_(args), columns_(std::move(columns)), locale_(locale) {
        const bool blanksHigh = args.ascending == args.blanksLast;
        if (args.extremeBlankNumbers) {
            blankNumber_ = blanksHigh ? kHighBlankNumber : kLowBlankNumber;
        }
        blankDate_ = blanksHigh ? DateSerial(9999, 12, 31, 23, 59) : DateSerial(1, 1, 1);
        if (blanksHigh) {
            blankText_.assign(255, 'Z');
        }
    }

    // Every key of every row as one 128-bit number whose order is the order of the key tuples,
    // or nothing when the keys do not allow it (texts, a cell that is no number, too many
    // distinct values). Ties stay ties, so the sort takes the same steps with it.
    std::optional<std::vector<PackedKey>> packedKeys() const {
        const std::size_t rows = static_cast<std::size_t>(args_.lastRow - args_.firstRow + 1);
        const std::size_t width = columns_.size();
        for (std::size_t k = 0; k < width; ++k) {
            const auto type = static_cast<SortType>(args_.sortTypes[k]);
            if (type != SortType::Number && type != SortType::DateTime) {
                return std::nullopt;
            }
        }
        std::vector<PackedKey> packed(rows);
        int usedBits = 0;
        std::vector<long double> values(rows);
        // Column by column, so that only one column of values is held at a time.
        for (std::size_t k = 0; k < width; ++k) {
            for (std::size_t r = 0; r < rows; ++r) {
                if (!readKey(k, r, values[r])) {
                    return std::nullopt;
                }
            }
            const std::vector<std::uint32_t> ranks = Ranks(values);
            const std::uint32_t distinct =
                ranks.empty() ? 1 : *std::max_element(ranks.begin(), ranks.end()) + 1;
            int bits = 1;
            while ((std::uint64_t{1} << bits) < distinct) {
                ++bits;
            }
            usedBits += bits;
            if (usedBits > 128) {
                return std::nullopt;
            }
            for (std::size_t r = 0; r < rows; ++r) {
                packed[r].append(ranks[r], bits);
            }
        }
        for (PackedKey& key : packed) {
            key.finish(usedBits);
        }
        return packed;
    }

    // Rows as they stand in the grid before the sort (first .. last). Reads every key once on
    // the first call.
    bool outOfOrder(int upper, int lower) const {
        if (keys_.empty()) {
            readKeys();
        }
        for (std::size_t k = 0; k < columns_.size(); ++k) {
            const int result = compareKey(k, upper, lower);
            if (result != 0) {
                return args_.ascending ? result > 0 : result < 0;
            }
        }
        return false;
    }

private:
    struct Key {
        long double value = 0;
        bool valid = true;
    };

    bool readKey(std::size_t k, std::size_t r, long double& value) const {
        // The grid does not change while a key is read.
        const std::string_view text =
            grid_.cellView(columns_[k], args_.firstRow + static_cast<int>(r));
        return static_cast<SortType>(args_.sortTypes[k]) == SortType::Number
                   ? number(text, value)
                   : dateTime(text, value);
    }

    void readKeys() const {
        const std::size_t rows = static_cast<std::size_t>(args_.lastRow - args_.firstRow + 1);
        keys_.resize(rows * columns_.size());
        for (std::size_t k = 0; k < columns_.size(); ++k) {
            const auto type = static_cast<SortType>(args_.sortTypes[k]);
            if (type != SortType::Number && type != SortType::DateTime) {
                continue;
            }
            for (std::size_t r = 0; r < rows; ++r) {
                Key& key = keys_[r * columns_.size() + k];
                key.valid = readKey(k, r, key.value);
            }
        }
    }

    const Key& key(std::size_t k, int row) const {
        return keys_[static_cast<std::size_t>(row - args_.firstRow) * columns_.size() + k];
    }

    int compareKey(std::size_t k, int rowA, int rowB) const {
        const std::uint8_t type = args_.sortTypes[k];
        if (type == static_cast<std::uint8_t>(SortType::Number) ||
            type == static_cast<std::uint8_t>(SortType::DateTime)) {
            const Key& a = key(k, rowA);
            const Key& b = key(k, rowB);
            if (!a.valid || !b.valid) {
                throw Error(type == static_cast<std::uint8_t>(SortType::Number) ? kNotANumber
                                                                                : kNotADateTime);
            }
            return Sign(a.value, b.value);
        }
        const std::string_view a = grid_.cellView(columns_[k], rowA);
        const std::string_view b = grid_.cellView(columns_[k], rowB);
        const int c = locale_.compareText(a.empty() ? blankText_ : a, b.empty() ? blankText_ : b);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }

    bool number(std::string_view text, long double& value) const {
        if (text.empty()) {
            value = blankNumber_;
            return true;
        }
        // Plain digits, as in every row table, are exact integers; the general reading gives
        // the same value for them.
        if (text.size() <= 15 && std::all_of(text.begin(), text.end(), IsDigit)) {
            long long whole = 0;
            for (const char c : text) {
                whole = whole * 10 + (c - '0');
            }
            value = static_cast<long double>(whole);
            return true;
        }
        std::string digits;
        digits.reserve(text.size());
        for (const char c : text) {
            if (c != '.') {  // thousands separators
                digits += c;
            }
        }
        return ParseNumber(digits, locale_.decimalSeparator(), value);
    }

    bool dateTime(std::string_view text, long double& value) const {
        if (text.empty()) {
            value = blankDate_;
            return true;
        }
        double date = 0;
        if (!locale_.parseDateTime(text, date)) {
            return false;
        }
        value = date;
        return true;
    }

    const StringGrid& grid_;
    const GridSortArgs& args_;
    std::vector<int> columns_;
    const SortLocale& locale_;
    long double blankNumber_ = 0;
    double blankDate_ = 0;
    std::string blankText_;
    mutable std::vector<Key> keys_;  // per row of the sorted range, per key column
};

}  // namespace

std::unique_ptr<SortLocale> MakeGermanSortLocale() {
    return std::make_unique<GermanSortLocale>();
}

void GridSort(StringGrid& grid, const GridSortArgs& args, const SortLocale& locale) {
    if (args.lastRow > grid.rowCount() - 1 || args.firstRow > args.lastRow || args.firstRow < 0) {
        throw Error(kBadRows);
    }
    const int lowestColumn = args.includeFixedColumns ? 0 : grid.fixedColumns();
    if (args.sortTypes.size() != args.keyColumns.size()) {
        throw Error(kBadTypeCount);
    }
    std::vector<int> columns;
    columns.reserve(args.keyColumns.size());
    for (const std::uint16_t key : args.keyColumns) {
        int column = key;
        if (column > grid.columnCount() - 1) {
            if (!args.clampColumns) {
                throw Error(kBadColumn);
            }
            column = grid.columnCount() - 1;
        }
        if (column < lowestColumn) {
            if (!args.clampColumns) {
                throw Error(kBadColumn);
            }
            column = lowestColumn;
        }
        columns.push_back(column);
    }

    const RowComparer comparer(grid, args, std::move(columns), locale);
    const int first = args.firstRow;
    const int last = args.lastRow;
    // The sort moves row numbers; the rows themselves move once at the end, also when an error
    // ends the sort half way, so the grid shows every exchange made until then.
    std::vector<int> order(static_cast<std::size_t>(last - first + 1));
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = first + static_cast<int>(i);
    }
    auto at = [&](int row) -> int& { return order[static_cast<std::size_t>(row - first)]; };
    struct Apply {
        StringGrid& grid;
        const std::vector<int>& order;
        int first;
        int fromColumn;
        ~Apply() { grid.permuteRows(first, order, fromColumn); }
    } apply{grid, order, first, lowestColumn};

    if (auto packed = comparer.packedKeys()) {
        // Without two equal keys every correct sort ends in the same order, the Shell sort's
        // included; only ties need its very steps.
        std::vector<int> byKey(order.size());
        std::iota(byKey.begin(), byKey.end(), 0);
        std::sort(byKey.begin(), byKey.end(), [&](int a, int b) {
            const int c = (*packed)[static_cast<std::size_t>(a)].compare(
                (*packed)[static_cast<std::size_t>(b)]);
            return args.ascending ? c < 0 : c > 0;
        });
        const bool distinct = std::adjacent_find(byKey.begin(), byKey.end(), [&](int a, int b) {
                                  return (*packed)[static_cast<std::size_t>(a)].compare(
                                             (*packed)[static_cast<std::size_t>(b)]) == 0;
                              }) == byKey.end();
        if (distinct) {
            for (std::size_t i = 0; i < order.size(); ++i) {
                order[i] = first + byKey[i];
            }
            return;
        }
        // The keys travel with the row numbers, so that neighbouring positions are compared
        // from neighbouring memory.
        auto key = [&](int row) -> PackedKey& {
            return (*packed)[static_cast<std::size_t>(row - first)];
        };
        const int sign = args.ascending ? 1 : -1;
        ShellSort(
            first, last, [&](int a, int b) { return sign * key(a).compare(key(b)) > 0; },
            [&](int a, int b) {
                std::swap(at(a), at(b));
                std::swap(key(a), key(b));
            });
        return;
    }
    ShellSort(
        first, last, [&](int a, int b) { return comparer.outOfOrder(at(a), at(b)); },
        [&](int a, int b) { std::swap(at(a), at(b)); });
}

void SortRowTable(StringGrid& table, int keySize, StringGrid& backup, const SortLocale& locale) {
    const int rows = table.rowCount();
    backup.setColumnCount(kRowTableColumns);
    backup.setRowCount(rows);
    for (int r = kRowTableHeaderRows; r < rows; ++r) {
        backup.copyRow(table, r);
    }
    const int lastRow = rows - 1;
    if (lastRow < kRowTableHeaderRows) {
        return;  // no data rows: nothing to order
    }
    GridSortArgs args;
    for (int c = 1; c <= keySize; ++c) {
        args.keyColumns.push_back(static_cast<std::uint16_t>(c));
        args.sortTypes.push_back(static_cast<std::uint8_t>(SortType::Number));
    }
    args.firstRow = kRowTableHeaderRows;
    args.lastRow = lastRow;
    args.ascending = true;
    args.includeFixedColumns = false;
    args.clampColumns = false;
    args.blanksLast = false;
    args.extremeBlankNumbers = true;
    GridSort(table, args, locale);
}

void UndoRowTableSort(StringGrid& table, const StringGrid& backup) {
    for (int r = kRowTableHeaderRows; r < table.rowCount(); ++r) {
        table.copyRow(backup, r);
    }
}

}  // namespace losfix
