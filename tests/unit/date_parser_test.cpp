#include "datetime/date_format.h"
#include "datetime/date_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

using namespace tavro::datetime;

namespace {

constexpr int kThisYear = 2009;

std::optional<DateValue> parse(std::wstring_view text) { return parseDateText(text, kThisYear); }

// The stored text of what the parser read, or "-" when it read nothing.
std::string read(std::wstring_view text) {
    const auto value = parse(text);
    return value ? formatDateTime(*value) : "-";
}

}  // namespace

TEST(DateParser, AcceptsTheLocaleForms) {
    EXPECT_EQ(read(L"2010/12/31 23:59:59"), "2010/12/31 23:59:59");
    EXPECT_EQ(read(L"2010/2/3"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"2010-02-03"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"2010.2.3"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"2010/2/3 7:05"), "2010/02/03 07:05:00");
    EXPECT_EQ(read(L"2010-02-03T23:59:59"), "2010/02/03 23:59:59");
    EXPECT_EQ(read(L"2010/2/3    7:5:9"), "2010/02/03 07:05:09");
    EXPECT_EQ(read(L"2010年2月3日"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"2010年 2月 3日"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"2010年2月3日 23時59分59秒"), "2010/02/03 23:59:59");
    EXPECT_EQ(read(L"2010年2月3日23時"), "2010/02/03 23:00:00");
    EXPECT_EQ(read(L"2010/2/3 23時59分"), "2010/02/03 23:59:00");
    EXPECT_EQ(read(L"2010年2月3日 8:30"), "2010/02/03 08:30:00");
}

TEST(DateParser, ExactValues) {
    EXPECT_EQ(parse(L"1899/12/30 00:00:00"), 0.0);
    EXPECT_EQ(parse(L"2009/2/1"), 39845.0);
    EXPECT_EQ(parse(L"1900/1/1 12:00"), 2.5);
    // Before the epoch the fraction is still the time of day.
    EXPECT_EQ(parse(L"1899/12/29 06:00:00"), -1.25);
    EXPECT_EQ(parse(L"1899/12/30 06:00:00"), 0.25);
}

TEST(DateParser, TimeAloneLiesOnTheEpochDay) {
    EXPECT_EQ(read(L"23:59"), "1899/12/30 23:59:00");
    EXPECT_EQ(read(L"7:05:09"), "1899/12/30 07:05:09");
    EXPECT_EQ(read(L"23時59分59秒"), "1899/12/30 23:59:59");
    EXPECT_EQ(read(L"23時"), "1899/12/30 23:00:00");
    EXPECT_DOUBLE_EQ(*parse(L"18:00"), 0.75);
    // Midnight alone is the value 0, which the program reads as "no target".
    EXPECT_EQ(parse(L"0:00"), 0.0);
}

TEST(DateParser, MonthAndDayAloneAreInTheCurrentYear) {
    EXPECT_EQ(read(L"2/3"), "2009/02/03 00:00:00");
    EXPECT_EQ(read(L"12-31"), "2009/12/31 00:00:00");
    EXPECT_EQ(read(L"2月3日"), "2009/02/03 00:00:00");
    EXPECT_EQ(read(L"12/31 23:59"), "2009/12/31 23:59:00");
    EXPECT_EQ(parseDateText(L"2/29", 2009), std::nullopt);
    EXPECT_EQ(parseDateText(L"2/29", 2012), makeDate(2012, 2, 29));
    EXPECT_EQ(parseDateText(L"2/3", 0), std::nullopt);
    // A dotted pair is a decimal number, not a date.
    EXPECT_EQ(parse(L"2.3"), std::nullopt);
}

TEST(DateParser, TwoDigitYearsPivotAtThirty) {
    EXPECT_EQ(read(L"00/1/1"), "2000/01/01 00:00:00");
    EXPECT_EQ(read(L"29/12/31"), "2029/12/31 00:00:00");
    EXPECT_EQ(read(L"30/1/1"), "1930/01/01 00:00:00");
    EXPECT_EQ(read(L"99/12/31"), "1999/12/31 00:00:00");
    EXPECT_EQ(read(L"5/6/7"), "2005/06/07 00:00:00");
    EXPECT_EQ(read(L"10年2月3日"), "2010/02/03 00:00:00");
    // Three or four digits are the year as written.
    EXPECT_EQ(read(L"100/1/1"), "0100/01/01 00:00:00");
    EXPECT_EQ(read(L"9999/12/31 23:59:59"), "9999/12/31 23:59:59");
    EXPECT_EQ(parse(L"0099/1/1"), std::nullopt);
    EXPECT_EQ(parse(L"099/1/1"), std::nullopt);
    EXPECT_EQ(parse(L"10000/1/1"), std::nullopt);
}

TEST(DateParser, FullWidthAsAnImeTypesIt) {
    EXPECT_EQ(read(L"２０１０／２／３"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"２０１０／１２／３１　２３：５９：５９"), "2010/12/31 23:59:59");
    EXPECT_EQ(read(L"２０１０－０２－０３"), "2010/02/03 00:00:00");
    // The kana input mode types 「ー」 for '-' and 「・」 for '/'.
    EXPECT_EQ(read(L"２０１０ー２ー３"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"２０１０・２・３"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"２０１０年２月３日　２３時５９分"), "2010/02/03 23:59:00");
    EXPECT_EQ(read(L"Ｈ２２．２．３"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"１２：００"), "1899/12/30 12:00:00");
}

TEST(DateParser, SurroundingSpacesAreIgnored) {
    EXPECT_EQ(read(L"  2010/2/3 "), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"\t2010/2/3 23:59\t"), "2010/02/03 23:59:00");
    EXPECT_EQ(read(L"　２０１０／２／３　　"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L" 23:59 "), "1899/12/30 23:59:00");
}

TEST(DateParser, EraForms) {
    EXPECT_EQ(read(L"平成22年2月3日"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"H22/2/3"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"h22.2.3"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"H22年2月3日"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"平成22/2/3 23:59"), "2010/02/03 23:59:00");
    EXPECT_EQ(read(L"㍻22年2月3日"), "2010/02/03 00:00:00");
    EXPECT_EQ(read(L"令和元年5月1日"), "2019/05/01 00:00:00");
    EXPECT_EQ(read(L"R2/1/1"), "2020/01/01 00:00:00");
    EXPECT_EQ(read(L"㋿7年1月1日"), "2025/01/01 00:00:00");
    EXPECT_EQ(read(L"昭和39年10月10日"), "1964/10/10 00:00:00");
    EXPECT_EQ(read(L"S39.10.10"), "1964/10/10 00:00:00");
    EXPECT_EQ(read(L"大正元年7月30日"), "1912/07/30 00:00:00");
    EXPECT_EQ(read(L"T15/12/24"), "1926/12/24 00:00:00");
    EXPECT_EQ(read(L"明治元年1月1日"), "1868/01/01 00:00:00");
    EXPECT_EQ(read(L"M45/7/29"), "1912/07/29 00:00:00");
    // Era years are as written: no two-digit window.
    EXPECT_EQ(read(L"平成1年1月8日"), "1989/01/08 00:00:00");
    EXPECT_EQ(read(L"平成元年1月8日"), "1989/01/08 00:00:00");
}

TEST(DateParser, EraDatesMustLieWithinTheirEra) {
    EXPECT_EQ(read(L"平成31年4月30日"), "2019/04/30 00:00:00");
    EXPECT_EQ(parse(L"平成31年5月1日"), std::nullopt);
    EXPECT_EQ(parse(L"H32/1/1"), std::nullopt);
    EXPECT_EQ(read(L"昭和64年1月7日"), "1989/01/07 00:00:00");
    EXPECT_EQ(parse(L"昭和64年1月8日"), std::nullopt);
    EXPECT_EQ(parse(L"平成元年1月7日"), std::nullopt);
    EXPECT_EQ(parse(L"令和元年4月30日"), std::nullopt);
    EXPECT_EQ(parse(L"明治45年7月30日"), std::nullopt);
    EXPECT_EQ(parse(L"大正元年7月29日"), std::nullopt);
    EXPECT_EQ(parse(L"大正15年12月25日"), std::nullopt);
    EXPECT_EQ(parse(L"平成0年1月1日"), std::nullopt);
    EXPECT_EQ(read(L"令和7981年12月31日"), "9999/12/31 00:00:00");
    EXPECT_EQ(parse(L"令和7982年1月1日"), std::nullopt);
}

TEST(DateParser, RejectsEraFormsThatAreNotDates) {
    EXPECT_EQ(parse(L"平成"), std::nullopt);
    EXPECT_EQ(parse(L"平成元/1/8"), std::nullopt);
    EXPECT_EQ(parse(L"元年1月8日"), std::nullopt);
    EXPECT_EQ(parse(L"X22/2/3"), std::nullopt);
    EXPECT_EQ(parse(L"平成2月3日"), std::nullopt);
    EXPECT_EQ(parse(L"H2/3"), std::nullopt);
    EXPECT_EQ(parse(L"HH22/2/3"), std::nullopt);
}

TEST(DateParser, RejectsImpossibleDatesAndTimes) {
    EXPECT_EQ(parse(L"2010/2/30"), std::nullopt);
    EXPECT_EQ(parse(L"2010/13/1"), std::nullopt);
    EXPECT_EQ(parse(L"2010/0/1"), std::nullopt);
    EXPECT_EQ(parse(L"2010/1/0"), std::nullopt);
    EXPECT_EQ(parse(L"2009/2/29"), std::nullopt);
    EXPECT_EQ(read(L"2008/2/29"), "2008/02/29 00:00:00");
    EXPECT_EQ(parse(L"1900/2/29"), std::nullopt);
    EXPECT_EQ(read(L"2000/2/29"), "2000/02/29 00:00:00");
    EXPECT_EQ(parse(L"25:00"), std::nullopt);
    EXPECT_EQ(parse(L"24:00"), std::nullopt);
    EXPECT_EQ(parse(L"12:60"), std::nullopt);
    EXPECT_EQ(parse(L"12:00:60"), std::nullopt);
    EXPECT_EQ(parse(L"2010/2/3 25:00"), std::nullopt);
    EXPECT_EQ(parse(L"24時"), std::nullopt);
    EXPECT_EQ(parse(L"2010年2月30日"), std::nullopt);
}

TEST(DateParser, RejectsGarbage) {
    for (const wchar_t* text :
         {L"", L" ", L"　", L"abc", L"2010/", L"2010/2", L"2010/2/", L"/2/3", L"2010/2/3 x", L"2010/2/3 23:",
          L"2010/2/3 23", L"23", L"2010", L"2010/2-3", L"2010//2/3", L"2010 / 2 / 3", L"2010/002/3", L"123:00",
          L"12:000", L"2010/2/3/4", L"2010/2/3 23:59:59:59", L"2010/2/3 23:59 x", L"2010年2月", L"2010年2月3",
          L"23時59", L"2010/2/3T", L"T23:59", L"2010/2/3 T 23:59", L"-2010/2/3", L"+1:00", L"1e5",
          L"2010/2/3\n", L"2010/2/3 23:59:59.5", L"99999999999999999999/1/1", L"2010/2/3 午後", L"今日"}) {
        EXPECT_EQ(parse(text), std::nullopt) << std::wstring(text).size() << " characters";
    }
}

TEST(DateFormat, WritesFixedWidthFields) {
    EXPECT_EQ(formatDateTime(0.0), "1899/12/30 00:00:00");
    EXPECT_EQ(formatDateTime(makeDateTime({2010, 2, 3, 7, 5, 9})), "2010/02/03 07:05:09");
    EXPECT_EQ(formatDateTime(-1.25), "1899/12/29 06:00:00");
    EXPECT_EQ(formatDateTime(0.75), "1899/12/30 18:00:00");
    // Rounded to the nearest second, carrying into the next day.
    EXPECT_EQ(formatDateTime(makeDate(2010, 12, 31) + 86399.6 / 86400), "2011/01/01 00:00:00");
}

TEST(DateFormat, ValuesOutsideTheYearsGiveTheNoTargetText) {
    EXPECT_EQ(formatDateTime(std::nan("")), kNoTargetText);
    EXPECT_EQ(formatDateTime(INFINITY), kNoTargetText);
    EXPECT_EQ(formatDateTime(-INFINITY), kNoTargetText);
    EXPECT_EQ(formatDateTime(1e300), kNoTargetText);
    EXPECT_EQ(formatDateTime(makeDate(99, 12, 31)), kNoTargetText);
    EXPECT_EQ(formatDateTime(makeDate(10000, 1, 1)), kNoTargetText);
    EXPECT_EQ(formatDateTime(makeDate(100, 1, 1)), "0100/01/01 00:00:00");
}

TEST(DateFormat, EveryStoredTextReadsBackToItself) {
    const DateValue first = makeDate(100, 1, 1);
    const DateValue last = makeDateTime({9999, 12, 31, 23, 59, 59});
    int checked = 0;
    // An irregular step so that days, months and times of day all vary.
    for (DateValue v = first; v <= last; v += 1234.56789) {
        const std::string text = formatDateTime(v);
        const auto back = parseDateText(std::wstring(text.begin(), text.end()), kThisYear);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(formatDateTime(*back), text);
        // Same day and second: the value itself may differ only in how a negative day is signed.
        EXPECT_EQ(toCivil(*back), toCivil(v)) << text;
        ++checked;
    }
    for (const DateValue v : {0.0, -0.25, -1.0, -1.5, -36522.999988, 0.999988, first, last}) {
        const std::string text = formatDateTime(v);
        const auto back = parseDateText(std::wstring(text.begin(), text.end()), kThisYear);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(formatDateTime(*back), text);
        ++checked;
    }
    EXPECT_GT(checked, 2500);
    EXPECT_EQ(parse(L"1899/12/30 00:00:00"), 0.0);
}
