#include "datetime/date_value.h"

#include <gtest/gtest.h>

using namespace tavro::datetime;

TEST(DateValue, NegativeValuesKeepTheTimeAsAPositiveFraction) {
    EXPECT_DOUBLE_EQ(makeDateTime({1899, 12, 29, 6, 0, 0}), -1.25);
    EXPECT_EQ(toCivil(-1.25), (CivilDateTime{1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(toCivil(-0.25), (CivilDateTime{1899, 12, 30, 6, 0, 0}));
    EXPECT_EQ(toCivil(makeDateTime({2010, 12, 31, 23, 59, 59})), (CivilDateTime{2010, 12, 31, 23, 59, 59}));
}

TEST(DateValue, MonthArithmeticClampsTheDay) {
    EXPECT_EQ(addMonths(makeDate(2009, 1, 1), -1), makeDate(2008, 12, 1));
    EXPECT_EQ(addMonths(makeDate(2008, 12, 1), 1), makeDate(2009, 1, 1));
    EXPECT_EQ(addMonths(makeDate(2009, 1, 31), 1), makeDate(2009, 2, 28));
    EXPECT_EQ(addMonths(makeDate(2008, 3, 31), -1), makeDate(2008, 2, 29));
}
