#include "platform/SortLocale.h"

#include <QDateTime>
#include <QStringList>

namespace losfix {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The day count of the runtime's date type: days since 30.12.1899, time as the fraction.
double DayNumber(const QDateTime& moment) {
    static const QDate epoch(1899, 12, 30);
    return static_cast<double>(epoch.daysTo(moment.date())) +
           moment.time().msecsSinceStartOfDay() / 86400000.0;
}

}  // namespace

QtSortLocale::QtSortLocale(const QLocale& locale) : locale_(locale), collator_(locale) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

int QtSortLocale::compareText(std::string_view a, std::string_view b) const {
    return collator_.compare(FromUtf8(a), FromUtf8(b));
}

char QtSortLocale::decimalSeparator() const {
    const QString point = locale_.decimalPoint();
    // A separator outside ASCII cannot stand in the row texts' number syntax; the comma serves.
    if (point.size() == 1 && point.at(0).unicode() < 0x80) {
        return static_cast<char>(point.at(0).unicode());
    }
    return ',';
}

bool QtSortLocale::parseDateTime(std::string_view text, double& value) const {
    const QString input = FromUtf8(text).trimmed();
    if (input.isEmpty()) {
        return false;
    }
    // The locale's short formats, with four-digit years and with the time optional.
    QString date = locale_.dateFormat(QLocale::ShortFormat);
    QString longYear = date;
    if (!longYear.contains(QStringLiteral("yyyy"))) {
        longYear.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    const QString time = locale_.timeFormat(QLocale::ShortFormat);
    const QString seconds = locale_.timeFormat(QLocale::LongFormat).section(QLatin1Char(' '), 0, 0);
    const QStringList formats = {longYear + QLatin1Char(' ') + seconds,
                                 longYear + QLatin1Char(' ') + time, longYear,
                                 date + QLatin1Char(' ') + time, date};
    for (const QString& format : formats) {
        QDateTime moment = locale_.toDateTime(input, format);
        if (moment.isValid()) {
            value = DayNumber(moment);
            return true;
        }
    }
    return false;
}

}  // namespace losfix
