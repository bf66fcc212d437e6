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

// What a user types, and the stored text the parser reads it as.
struct Accepted { const wchar_t* typed; const char* stored; };

constexpr Accepted kAccepted[] = {
    // The locale's forms, with a time after a space, "T" or nothing after 日.
    {L"2010/12/31 23:59:59", "2010/12/31 23:59:59"}, {L"2010/2/3", "2010/02/03 00:00:00"},
    {L"2010-02-03", "2010/02/03 00:00:00"}, {L"2010.2.3", "2010/02/03 00:00:00"},
    {L"2010-02-03T23:59:59", "2010/02/03 23:59:59"}, {L"2010/2/3    7:5:9", "2010/02/03 07:05:09"},
    {L"2010年 2月 3日", "2010/02/03 00:00:00"}, {L"2010年2月3日 23時59分59秒", "2010/02/03 23:59:59"},
    {L"2010年2月3日23時", "2010/02/03 23:00:00"}, {L"2010/2/3 23時59分", "2010/02/03 23:59:00"},
    {L"2010年2月3日 8:30", "2010/02/03 08:30:00"},
    // A time alone lies on the epoch day.
    {L"23:59", "1899/12/30 23:59:00"}, {L"23時59分59秒", "1899/12/30 23:59:59"}, {L"23時", "1899/12/30 23:00:00"},
    // 午前 and 午後: hours 0 to 12, 12 at 午前 being midnight as the system reads 12 AM.
    {L"午後3時", "1899/12/30 15:00:00"}, {L"午後 0:15", "1899/12/30 12:15:00"},
    {L"午後12時", "1899/12/30 12:00:00"}, {L"午前12時5分", "1899/12/30 00:05:00"},
    {L"2010年2月3日午後11時59分", "2010/02/03 23:59:00"}, {L"2010/2/3 午前7:05:09", "2010/02/03 07:05:09"},
    // Month and day alone are in the current year.
    {L"2/3", "2009/02/03 00:00:00"}, {L"12-31", "2009/12/31 00:00:00"}, {L"2月3日", "2009/02/03 00:00:00"},
    {L"12月31日", "2009/12/31 00:00:00"},
    {L"12/31 23:59", "2009/12/31 23:59:00"},
    // One or two digits pivot at 30; three or four are the year as written.
    {L"00/1/1", "2000/01/01 00:00:00"}, {L"29/12/31", "2029/12/31 00:00:00"},
    {L"30/1/1", "1930/01/01 00:00:00"}, {L"5/6/7", "2005/06/07 00:00:00"}, {L"10年2月3日", "2010/02/03 00:00:00"},
    {L"100/1/1", "0100/01/01 00:00:00"}, {L"9999/12/31 23:59:59", "9999/12/31 23:59:59"},
    // Full width, as an IME types it; the kana mode types 「ー」 for '-' and 「・」 for '/'.
    {L"２０１０／１２／３１　２３：５９：５９", "2010/12/31 23:59:59"}, {L"２０１０－０２－０３", "2010/02/03 00:00:00"},
    {L"２０１０ー２ー３", "2010/02/03 00:00:00"}, {L"２０１０・２・３", "2010/02/03 00:00:00"},
    {L"２０１０年２月３日　２３時５９分", "2010/02/03 23:59:00"}, {L"Ｈ２２．２．３", "2010/02/03 00:00:00"},
    // Surrounding spaces.
    {L"  2010/2/3 ", "2010/02/03 00:00:00"}, {L"\t2010/2/3 23:59\t", "2010/02/03 23:59:00"},
    {L"　２０１０／２／３　　", "2010/02/03 00:00:00"}, {L" １２：００ ", "1899/12/30 12:00:00"},
    // Eras, by name, letter or ligature; their years as written, 元年 being the first.
    {L"平成22年2月3日", "2010/02/03 00:00:00"}, {L"H22/2/3", "2010/02/03 00:00:00"},
    {L"h22.2.3", "2010/02/03 00:00:00"}, {L"㍻22年2月3日", "2010/02/03 00:00:00"},
    {L"令和元年5月1日", "2019/05/01 00:00:00"}, {L"R2/1/1", "2020/01/01 00:00:00"},
    {L"㋿7年1月1日", "2025/01/01 00:00:00"}, {L"昭和39年10月10日", "1964/10/10 00:00:00"},
    {L"大正元年7月30日", "1912/07/30 00:00:00"}, {L"T15/12/24", "1926/12/24 00:00:00"},
    {L"明治元年1月25日", "1868/01/25 00:00:00"}, {L"M45/7/29", "1912/07/29 00:00:00"},
    {L"平成元年1月8日", "1989/01/08 00:00:00"}, {L"平成31年4月30日", "2019/04/30 00:00:00"},
    {L"S64.1.7", "1989/01/07 00:00:00"}, {L"令和7981年12月31日", "9999/12/31 00:00:00"},
    // Leap days.
    {L"2008/2/29", "2008/02/29 00:00:00"}, {L"2000/2/29", "2000/02/29 00:00:00"},
};

constexpr const wchar_t* kRejected[] = {
    // A dotted pair would be a decimal number; years out of 100..9999.
    L"2.3", L"0099/1/1", L"099/1/1", L"10000/1/1",
    // Era dates outside their era, and era forms that are not dates.
    L"平成31年5月1日", L"H32/1/1", L"昭和64年1月8日", L"平成元年1月7日", L"令和元年4月30日", L"明治45年7月30日",
    L"明治元年1月24日", L"大正元年7月29日", L"大正15年12月25日", L"平成0年1月1日", L"令和7982年1月1日", L"平成",
    L"平成元/1/8", L"元年1月8日", L"X22/2/3", L"平成2月3日", L"H2/3", L"HH22/2/3",
    // Impossible days and times.
    L"2010/2/30", L"2010/13/1", L"2010/0/1", L"2010/1/0", L"2009/2/29", L"1900/2/29", L"25:00", L"24:00",
    L"12:60", L"12:00:60", L"2010/2/3 25:00", L"24時", L"2010年2月30日", L"午後13時", L"午前24:00", L"午後",
    L"3時午後", L"午後午後3時", L"午2時",
    // Garbage.
    L"", L" ", L"　", L"abc", L"2010/", L"2010/2", L"2010/2/", L"/2/3", L"2010/2/3 x", L"2010/2/3 23:",
    L"2010/2/3 23", L"23", L"2010", L"2010/2-3", L"2010//2/3", L"2010 / 2 / 3", L"2010/002/3", L"123:00",
    L"12:000", L"2010/2/3/4", L"2010/2/3 23:59:59:59", L"2010/2/3 23:59 x", L"2010年2月", L"2010年2月3",
    L"23時59", L"2010/2/3T", L"T23:59", L"2010/2/3 T 23:59", L"-2010/2/3", L"+1:00", L"1e5", L"2010/2/3\n",
    L"2010/2/3 23:59:59.5", L"99999999999999999999/1/1", L"2010/2/3 午後", L"今日"};

std::string stored(std::optional<DateValue> value) { return value ? formatDateTime(*value) : "-"; }

}  // namespace

TEST(DateParser, ReadsWhatAUserTypes) {
    for (const auto& [typed, text] : kAccepted) EXPECT_EQ(stored(parse(typed)), text) << std::wstring(typed).size();
    for (const wchar_t* typed : kRejected) EXPECT_EQ(parse(typed), std::nullopt) << std::wstring(typed).size();
}

TEST(DateParser, ExactValuesAndTheCurrentYear) {
    // The day numbers themselves are the date type's tests; here the time of day adds to them.
    EXPECT_EQ(parse(L"1900/1/1 12:00"), 2.5);
    EXPECT_DOUBLE_EQ(*parse(L"18:00"), 0.75);
    // Midnight alone is the value 0, which the program reads as "no target".
    EXPECT_EQ(parse(L"0:00"), 0.0);
    EXPECT_EQ(parseDateText(L"2/29", 2009), std::nullopt);
    EXPECT_EQ(parseDateText(L"2/29", 2012), makeDate(2012, 2, 29));
    EXPECT_EQ(parseDateText(L"2/3", 0), std::nullopt);
}

TEST(DateFormat, FixedWidthFieldsAndTheNoTargetText) {
    EXPECT_EQ(formatDateTime(0.0), "1899/12/30 00:00:00");
    // Rounded to the nearest second, carrying into the next day.
    EXPECT_EQ(formatDateTime(makeDate(2010, 12, 31) + 86399.6 / 86400), "2011/01/01 00:00:00");
    EXPECT_EQ(formatDateTime(makeDate(100, 1, 1)), "0100/01/01 00:00:00");
    for (const DateValue outside : {std::nan(""), double(INFINITY), double(-INFINITY), 1e300, makeDate(99, 12, 31),
                                    makeDate(10000, 1, 1)})
        EXPECT_EQ(formatDateTime(outside), kNoTargetText);
}

TEST(DateFormat, EveryStoredTextReadsBackToItself) {
    const DateValue first = makeDate(100, 1, 1);
    const DateValue last = makeDateTime({9999, 12, 31, 23, 59, 59});
    const auto readsBack = [](DateValue v) {
        const std::string text = formatDateTime(v);
        const auto back = parseDateText(std::wstring(text.begin(), text.end()), kThisYear);
        EXPECT_TRUE(back && formatDateTime(*back) == text) << text;
        return back.value_or(0);
    };
    // An irregular step so that days, months and times of day all vary; the same day and second
    // come back (the value may differ only in how a negative day is signed).
    for (DateValue v = first; v <= last; v += 1234.56789) EXPECT_EQ(toCivil(readsBack(v)), toCivil(v));
    for (const DateValue v : {0.0, -0.25, -1.0, -1.5, -36522.999988, 0.999988, first, last}) readsBack(v);
}
