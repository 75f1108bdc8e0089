#include <gtest/gtest.h>

#include "platform/SortLocale.h"

namespace losfix {
namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

TEST(QtSortLocale, ComparesGermanTextIgnoringCase) {
    const QtSortLocale locale(kGerman);
    EXPECT_EQ(locale.compareText("Apfel", "apfel"), 0);
    EXPECT_LT(locale.compareText("Äpfel", "Birne"), 0);
    EXPECT_LT(locale.compareText("apfel", "Birne"), 0);
    EXPECT_GT(locale.compareText("Zebra", "äffchen"), 0);
    EXPECT_LT(locale.compareText("", "a"), 0);
}

TEST(QtSortLocale, UsesTheLocalesDecimalSeparator) {
    EXPECT_EQ(QtSortLocale(kGerman).decimalSeparator(), ',');
    EXPECT_EQ(QtSortLocale(QLocale(QLocale::English, QLocale::UnitedStates)).decimalSeparator(),
              '.');
}

TEST(QtSortLocale, ReadsGermanDatesAsDayNumbers) {
    const QtSortLocale locale(kGerman);
    double value = 0;
    ASSERT_TRUE(locale.parseDateTime("31.12.1899", value));
    EXPECT_DOUBLE_EQ(value, 1.0);
    ASSERT_TRUE(locale.parseDateTime("01.01.1900 12:00", value));
    EXPECT_DOUBLE_EQ(value, 2.5);
    ASSERT_TRUE(locale.parseDateTime("31.12.9999 23:59", value));
    double earlier = 0;
    ASSERT_TRUE(locale.parseDateTime("01.01.2024", earlier));
    EXPECT_LT(earlier, value);
    EXPECT_FALSE(locale.parseDateTime("31.02.2024", value));
    EXPECT_FALSE(locale.parseDateTime("morgen", value));
    EXPECT_FALSE(locale.parseDateTime(" ", value));
}

}  // namespace
}  // namespace losfix
