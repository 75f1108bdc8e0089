#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/common/StringGrid.h"

namespace losfix {

// The user's locale as far as sorting needs it: text comparison ignoring case, the decimal
// separator, and reading a date and time in the user's format.
class SortLocale {
public:
    virtual ~SortLocale() = default;
    // <0, 0, >0 like strcmp, ignoring case, in the user's collation order.
    virtual int compareText(std::string_view a, std::string_view b) const = 0;
    virtual char decimalSeparator() const = 0;
    // Days since 30.12.1899 plus the fraction of the day; false when the text is no date.
    virtual bool parseDateTime(std::string_view text, double& value) const = 0;
};

// German rules with the standard library alone: decimal comma, "dd.mm.yyyy [hh:mm[:ss]]",
// text compared ignoring case, with umlauts and other accented Latin-1 letters beside their base
// letters (after them on a tie) and "ß" as "ss".
std::unique_ptr<SortLocale> MakeGermanSortLocale();

enum class SortType : std::uint8_t { Number = 0, DateTime = 1, Text = 2 };

struct GridSortArgs {
    std::vector<std::uint16_t> keyColumns;
    std::vector<std::uint8_t> sortTypes;  // 0 number, 1 date and time, anything else text
    int firstRow = 0;
    int lastRow = 0;
    bool ascending = true;
    bool includeFixedColumns = false;
    bool clampColumns = false;
    bool blanksLast = false;
    bool extremeBlankNumbers = false;
};

// Sorts rows in place by a Shell sort with halving gaps (the first gap is lastRow div 2).
// Throws Error with "Falsche Zeilenangabe", "Falsche Anzahl bei Sortiertyp",
// "Falsche Spaltenangabe", "Werte entsprechen nicht dem Typ Zahl" or
// "Werte entsprechen nicht dem Typ Datum/Zeit".
void GridSort(StringGrid& grid, const GridSortArgs& args, const SortLocale& locale);

// The row table's sort: data rows 1..n ascending by columns 1..keySize as numbers, labels
// staying put. The backup receives every data row as it was (sized to the table's row count).
// A table without data rows is left as it is.
void SortRowTable(StringGrid& table, int keySize, StringGrid& backup, const SortLocale& locale);

// Puts the backup's rows 1..n (n the table's data rows) back; rows the backup lacks become empty.
void UndoRowTableSort(StringGrid& table, const StringGrid& backup);

}  // namespace losfix
