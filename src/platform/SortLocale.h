#pragma once

#include <QCollator>
#include <QLocale>

#include "core/rows/GridSort.h"

namespace losfix {

// The user's locale for sorting: Qt's collation ignoring case, the locale's decimal separator and
// its short date and time formats.
class QtSortLocale : public SortLocale {
public:
    explicit QtSortLocale(const QLocale& locale = QLocale::system());

    int compareText(std::string_view a, std::string_view b) const override;
    char decimalSeparator() const override;
    bool parseDateTime(std::string_view text, double& value) const override;

private:
    QLocale locale_;
    QCollator collator_;
};

}  // namespace losfix
