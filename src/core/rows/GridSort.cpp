#include "core/rows/GridSort.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
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
    if (ec == std::errc::result_out_of_range) {
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

    bool outOfOrder(int upper, int lower) const {
        for (std::size_t k = 0; k < columns_.size(); ++k) {
            const int result = compareKey(columns_[k], args_.sortTypes[k], upper, lower);
            if (result != 0) {
                return args_.ascending ? result > 0 : result < 0;
            }
        }
        return false;
    }

private:
    int compareKey(int column, std::uint8_t type, int rowA, int rowB) const {
        const std::string& a = grid_.cell(column, rowA);
        const std::string& b = grid_.cell(column, rowB);
        switch (type) {
            case static_cast<std::uint8_t>(SortType::Number): {
                const long double va = number(a);
                const long double vb = number(b);
                return Sign(va, vb);
            }
            case static_cast<std::uint8_t>(SortType::DateTime): {
                const double va = dateTime(a);
                const double vb = dateTime(b);
                return Sign(va, vb);
            }
            default: {
                const int c =
                    locale_.compareText(a.empty() ? blankText_ : a, b.empty() ? blankText_ : b);
                return c < 0 ? -1 : (c > 0 ? 1 : 0);
            }
        }
    }

    long double number(const std::string& text) const {
        if (text.empty()) {
            return blankNumber_;
        }
        std::string digits;
        digits.reserve(text.size());
        for (const char c : text) {
            if (c != '.') {  // thousands separators
                digits += c;
            }
        }
        long double value = 0;
        if (!ParseNumber(digits, locale_.decimalSeparator(), value)) {
            throw Error(kNotANumber);
        }
        return value;
    }

    double dateTime(const std::string& text) const {
        if (text.empty()) {
            return blankDate_;
        }
        double value = 0;
        if (!locale_.parseDateTime(text, value)) {
            throw Error(kNotADateTime);
        }
        return value;
    }

    const StringGrid& grid_;
    const GridSortArgs& args_;
    std::vector<int> columns_;
    const SortLocale& locale_;
    long double blankNumber_ = 0;
    double blankDate_ = 0;
    std::string blankText_;
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
    int gap = last / 2;
    // With first row 0 and last row 1 the halved gap starts at 0 and would leave two rows
    // unsorted; a gap of 1 sorts them.
    if (gap == 0 && last > first) {
        gap = 1;
    }
    while (gap > 0) {
        for (int i = first; i <= last - gap; ++i) {
            int j = i;
            // Every swap removes at least one inversion, so the loop ends.
            while (j >= first && comparer.outOfOrder(j, j + gap)) {
                grid.swapRows(j, j + gap, lowestColumn);
                j = j > gap ? j - gap : first;
            }
        }
        gap /= 2;
    }
}

void SortRowTable(StringGrid& table, int keySize, StringGrid& backup, const SortLocale& locale) {
    const int rows = table.rowCount();
    backup.setColumnCount(kRowTableColumns);
    backup.setRowCount(rows);
    for (int r = kRowTableHeaderRows; r < rows; ++r) {
        backup.setRowCells(r, table.rowCells(r));
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
        table.setRowCells(r, backup.rowCells(r));
    }
}

}  // namespace losfix
