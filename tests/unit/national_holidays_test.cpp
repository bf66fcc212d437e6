#include "holidays/national_holidays.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tavro::holidays {
namespace {

using datetime::makeDate;

std::string dateText(datetime::DateValue value) {
    const datetime::CivilDate c = datetime::civilFromDays(static_cast<int64_t>(value));
    return std::to_string(c.year) + "/" + std::to_string(c.month) + "/" + std::to_string(c.day);
}

// Shift_JIS (cp932) codes of just the characters the holiday names use. A name with any other
// character cannot match the official list and is reported.
struct SjisCode {
    wchar_t ch;
    unsigned code;
};
constexpr SjisCode kSjis[] = {
    {L'い', 0x82A2}, {L'こ', 0x82B1}, {L'ど', 0x82C7}, {L'の', 0x82CC}, {L'み', 0x82DD}, {L'も', 0x82E0},
    {L'り', 0x82E8}, {L'ス', 0x8358}, {L'ツ', 0x8363}, {L'ポ', 0x837C}, {L'ー', 0x815B}, {L'人', 0x906C},
    {L'休', 0x8B78}, {L'位', 0x88CA}, {L'体', 0x91CC}, {L'儀', 0x8B56}, {L'元', 0x8CB3}, {L'分', 0x95AA},
    {L'労', 0x984A}, {L'勤', 0x8BCE}, {L'化', 0x89BB}, {L'即', 0x91A6}, {L'和', 0x9861}, {L'喪', 0x9172},
    {L'国', 0x8D91}, {L'大', 0x91E5}, {L'天', 0x9356}, {L'婚', 0x8DA5}, {L'山', 0x8E52}, {L'建', 0x8C9A},
    {L'念', 0x944F}, {L'感', 0x8AB4}, {L'憲', 0x8C9B}, {L'成', 0x90AC}, {L'扱', 0x88B5}, {L'敬', 0x8C68},
    {L'文', 0x95B6}, {L'日', 0x93FA}, {L'春', 0x8F74}, {L'昭', 0x8FBA}, {L'正', 0x90B3}, {L'殿', 0x9361},
    {L'法', 0x9640}, {L'海', 0x8A43}, {L'生', 0x90B6}, {L'皇', 0x8D63}, {L'礼', 0x97E7}, {L'祝', 0x8F6A},
    {L'秋', 0x8F48}, {L'結', 0x8C8B}, {L'老', 0x9856}, {L'育', 0x88E7}, {L'記', 0x8B4C}, {L'誕', 0x9261},
    {L'謝', 0x8ED3}, {L'（', 0x8169}, {L'）', 0x816A},
};

std::string toShiftJis(const std::wstring& name) {
    std::string out;
    for (wchar_t ch : name) {
        bool found = false;
        for (const SjisCode& s : kSjis) {
            if (s.ch == ch) {
                out += static_cast<char>(s.code >> 8);
                out += static_cast<char>(s.code & 0xFF);
                found = true;
                break;
            }
        }
        if (!found) {
            ADD_FAILURE() << "no Shift_JIS code in the test table for U+" << std::hex
                          << static_cast<unsigned>(ch);
            out += "\x81\x48";  // a full-width question mark, matches nothing in the list
        }
    }
    return out;
}

std::string hexBytes(const std::string& bytes) {
    std::ostringstream s;
    s << std::hex;
    for (unsigned char b : bytes) s << (b < 16 ? "0" : "") << static_cast<unsigned>(b);
    return s.str();
}

// The Cabinet Office list: date -> Shift_JIS name bytes.
struct OfficialList {
    std::map<int64_t, std::string> names;
    size_t rows = 0;
    std::string error;
};

OfficialList readOfficialList() {
    OfficialList list;
    const std::string path = std::string(TAVRO_SOURCE_DIR) + "/tests/data/syukujitsu.csv";
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        list.error = "cannot open the Cabinet Office holiday list " + path;
        return list;
    }
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (header) {
            header = false;
            continue;
        }
        if (line.empty()) continue;
        int y = 0, m = 0, d = 0;
        char slash1 = 0, slash2 = 0;
        const size_t comma = line.find(',');
        std::istringstream date(line.substr(0, comma));
        if (comma == std::string::npos || !(date >> y >> slash1 >> m >> slash2 >> d) || slash1 != '/' ||
            slash2 != '/' || !datetime::isValidDate(y, m, d)) {
            list.error = "unreadable row: " + line;
            return list;
        }
        const int64_t day = datetime::daysFromCivil(y, m, d);
        if (!list.names.emplace(day, line.substr(comma + 1)).second) {
            list.error = "date listed twice: " + line.substr(0, comma);
            return list;
        }
        ++list.rows;
    }
    return list;
}

std::vector<NationalHoliday> ofYear(int year) { return nationalHolidays(makeDate(year, 1, 1), makeDate(year, 12, 31)); }

NationalHoliday h(int y, int m, int d, const wchar_t* name) { return {makeDate(y, m, d), name}; }

void expectList(const std::vector<NationalHoliday>& actual, const std::vector<NationalHoliday>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dateText(actual[i].date), dateText(expected[i].date)) << "entry " << i;
        EXPECT_TRUE(actual[i].name == expected[i].name) << dateText(expected[i].date) << " has the wrong name";
    }
}

bool isHoliday(int y, int m, int d) { return !nationalHolidays(makeDate(y, m, d), makeDate(y, m, d)).empty(); }

std::wstring nameOn(int y, int m, int d) {
    const auto list = nationalHolidays(makeDate(y, m, d), makeDate(y, m, d));
    return list.empty() ? std::wstring() : list.front().name;
}

// ---- the official list, every date of 1955 to 2027 --------------------------------------------

TEST(NationalHolidays, MatchesEveryDateAndNameOfTheCabinetOfficeList) {
    const OfficialList official = readOfficialList();
    ASSERT_TRUE(official.error.empty()) << official.error;
    ASSERT_EQ(official.rows, 1067u) << "the list should hold 1,067 dates";
    ASSERT_EQ(datetime::civilFromDays(official.names.begin()->first).year, 1955);
    ASSERT_EQ(datetime::civilFromDays(official.names.rbegin()->first).year, 2027);

    size_t compared = 0;
    for (int year = 1955; year <= 2027; ++year) {
        std::map<int64_t, std::string> ours;
        for (const NationalHoliday& holiday : ofYear(year)) {
            EXPECT_EQ(holiday.date, std::floor(holiday.date)) << "not a pure date";
            ours.emplace(static_cast<int64_t>(holiday.date), toShiftJis(holiday.name));
        }
        auto first = official.names.lower_bound(datetime::daysFromCivil(year, 1, 1));
        auto end = official.names.lower_bound(datetime::daysFromCivil(year + 1, 1, 1));
        ASSERT_NE(first, end) << "no official dates for " << year;
        for (auto it = first; it != end; ++it) {
            const auto found = ours.find(it->first);
            if (found == ours.end()) {
                ADD_FAILURE() << "missing " << dateText(static_cast<double>(it->first));
                continue;
            }
            EXPECT_EQ(found->second, it->second) << dateText(static_cast<double>(it->first))
                                                 << ": ours " << hexBytes(found->second) << ", official "
                                                 << hexBytes(it->second);
            ++compared;
        }
        for (const auto& [day, name] : ours)
            if (official.names.find(day) == official.names.end())
                ADD_FAILURE() << "extra " << dateText(static_cast<double>(day)) << " " << hexBytes(name);
    }
    EXPECT_EQ(compared, 1067u);
}

// ---- Golden Week 2019 and the enthronement ----------------------------------------------------

TEST(NationalHolidays, GoldenWeek2019IsTenDaysOff) {
    expectList(nationalHolidays(makeDate(2019, 4, 27), makeDate(2019, 5, 6)),
               {h(2019, 4, 29, L"昭和の日"), h(2019, 4, 30, L"休日"), h(2019, 5, 1, L"休日（祝日扱い）"),
                h(2019, 5, 2, L"休日"), h(2019, 5, 3, L"憲法記念日"), h(2019, 5, 4, L"みどりの日"),
                h(2019, 5, 5, L"こどもの日"), h(2019, 5, 6, L"休日")});
    // 4/27 and 4/28 are the weekend, so every one of the ten days is off.
    EXPECT_EQ(datetime::weekdayOf(makeDate(2019, 4, 27)), 6);
    EXPECT_TRUE(isHoliday(2019, 10, 22));
    EXPECT_FALSE(isHoliday(2019, 10, 21));
}

TEST(NationalHolidays, NoEmperorsBirthdayIn2019) {
    for (const NationalHoliday& holiday : ofYear(2019))
        EXPECT_FALSE(holiday.name == L"天皇誕生日") << dateText(holiday.date);
    EXPECT_TRUE(nameOn(2018, 12, 23) == L"天皇誕生日");
    EXPECT_FALSE(isHoliday(2019, 12, 23));
    EXPECT_FALSE(isHoliday(2019, 2, 23));
    // 2020-02-23 is a Sunday.
    EXPECT_TRUE(nameOn(2020, 2, 23) == L"天皇誕生日");
    EXPECT_TRUE(nameOn(2020, 2, 24) == L"休日");
    EXPECT_TRUE(nameOn(1988, 4, 29) == L"天皇誕生日");
    EXPECT_TRUE(nameOn(1989, 4, 29) == L"みどりの日");
}

// ---- the Olympic moves -----------------------------------------------------------------------

TEST(NationalHolidays, OlympicYearsMoveMarineSportsAndMountainDays) {
    EXPECT_TRUE(nameOn(2020, 7, 23) == L"海の日");
    EXPECT_TRUE(nameOn(2020, 7, 24) == L"スポーツの日");
    EXPECT_TRUE(nameOn(2020, 8, 10) == L"山の日");
    EXPECT_FALSE(isHoliday(2020, 7, 20));   // the third Monday of July
    EXPECT_FALSE(isHoliday(2020, 8, 11));
    EXPECT_FALSE(isHoliday(2020, 10, 12));  // the second Monday of October

    EXPECT_TRUE(nameOn(2021, 7, 22) == L"海の日");
    EXPECT_TRUE(nameOn(2021, 7, 23) == L"スポーツの日");
    EXPECT_TRUE(nameOn(2021, 8, 8) == L"山の日");
    EXPECT_TRUE(nameOn(2021, 8, 9) == L"休日");  // 8/8 is a Sunday
    EXPECT_FALSE(isHoliday(2021, 7, 19));
    EXPECT_FALSE(isHoliday(2021, 8, 11));
    EXPECT_FALSE(isHoliday(2021, 10, 11));

    EXPECT_TRUE(nameOn(2022, 7, 18) == L"海の日");
    EXPECT_TRUE(nameOn(2022, 8, 11) == L"山の日");
    EXPECT_TRUE(nameOn(2022, 10, 10) == L"スポーツの日");
}

// ---- substitute holidays ---------------------------------------------------------------------

TEST(NationalHolidays, SubstituteHolidaysStartOn1973April12) {
    EXPECT_TRUE(nameOn(1973, 4, 30) == L"休日");   // 4/29 a Sunday
    EXPECT_EQ(datetime::weekdayOf(makeDate(1973, 2, 11)), 0);
    EXPECT_FALSE(isHoliday(1973, 2, 12));          // a Sunday before the rule
    EXPECT_FALSE(isHoliday(1967, 1, 2));           // 1967-01-01 was a Sunday
}

TEST(NationalHolidays, From2007TheSubstituteIsTheNextDayThatIsNoHoliday) {
    // 2008: 5/4 みどりの日 is a Sunday, 5/5 a holiday already, so 5/6.
    expectList(nationalHolidays(makeDate(2008, 5, 3), makeDate(2008, 5, 7)),
               {h(2008, 5, 3, L"憲法記念日"), h(2008, 5, 4, L"みどりの日"), h(2008, 5, 5, L"こどもの日"),
                h(2008, 5, 6, L"休日")});
    // 2009: 5/3 a Sunday, two holidays follow.
    EXPECT_TRUE(nameOn(2009, 5, 6) == L"休日");
    // 1998: 5/3 a Sunday under the old rule: the next day only.
    EXPECT_TRUE(nameOn(1998, 5, 4) == L"休日");
    EXPECT_FALSE(isHoliday(1998, 5, 6));
}

// ---- citizens' holidays ----------------------------------------------------------------------

TEST(NationalHolidays, CitizensHolidayBetweenTwoHolidays) {
    EXPECT_TRUE(nameOn(2009, 9, 22) == L"休日");  // 敬老の日 9/21, 秋分の日 9/23
    EXPECT_TRUE(nameOn(2026, 9, 22) == L"休日");
    EXPECT_TRUE(nameOn(1988, 5, 4) == L"休日");   // a Wednesday
    // 2032: September starts on a Wednesday, so 敬老の日 is 9/20; 秋分の日:
    // 23.2488 + 0.242194*52 - int(52/4) = 23.2488 + 12.594088 - 13 = 22.842888 -> 9/22; so 9/21.
    expectList(nationalHolidays(makeDate(2032, 9, 1), makeDate(2032, 9, 30)),
               {h(2032, 9, 20, L"敬老の日"), h(2032, 9, 21, L"休日"), h(2032, 9, 22, L"秋分の日")});
}

TEST(NationalHolidays, NoCitizensHolidayOnASundayOrBeforeTheRule) {
    EXPECT_FALSE(isHoliday(1986, 5, 4));  // a Sunday between 5/3 and 5/5
    EXPECT_FALSE(isHoliday(1997, 5, 4));
    EXPECT_FALSE(isHoliday(2003, 5, 4));
    EXPECT_FALSE(isHoliday(1985, 5, 4));  // a Saturday, before 1985-12-27
}

// ---- equinoxes after the official list, by hand --------------------------------------------

TEST(NationalHolidays, EquinoxDaysAfter2027) {
    // day = int(C + 0.242194*(Y-1980) - int((Y-1980)/4)), C = 20.8431/23.2488 to 2099, 21.8510/24.2488 after.
    // 2030: 12.1097 - 12:       20.9528 -> 3/20,  23.3585 -> 9/23
    // 2050: 16.95358 - 17:      20.79668 -> 3/20, 23.20238 -> 9/23
    // 2099: 28.821086 - 29:     20.664186 -> 3/20, 23.069886 -> 9/23
    // 2100: 29.06328 - 30:      20.91428 -> 3/20, 23.31208 -> 9/23 (the old C would give 3/19)
    // 2150: 41.17298 - 42:      21.02398 -> 3/21, 23.42178 -> 9/23
    struct Case {
        int year, spring, autumn;
    };
    for (const Case& c : {Case{2030, 20, 23}, Case{2050, 20, 23}, Case{2099, 20, 23}, Case{2100, 20, 23},
                          Case{2150, 21, 23}}) {
        EXPECT_TRUE(nameOn(c.year, 3, c.spring) == L"春分の日") << c.year;
        EXPECT_TRUE(nameOn(c.year, 9, c.autumn) == L"秋分の日") << c.year;
    }
    EXPECT_FALSE(isHoliday(2100, 3, 19));
    EXPECT_FALSE(isHoliday(2150, 3, 20));
}

TEST(NationalHolidays, TheWholeOf2030ByHand) {
    // 2030-01-01 is a Tuesday. Mondays: January 7, 14; July 1, 8, 15; September 2, 9, 16; October 7, 14.
    // Sundays: 5/5, 8/11, 11/3, each followed by a plain Monday.
    expectList(ofYear(2030),
               {h(2030, 1, 1, L"元日"), h(2030, 1, 14, L"成人の日"), h(2030, 2, 11, L"建国記念の日"),
                h(2030, 2, 23, L"天皇誕生日"), h(2030, 3, 20, L"春分の日"), h(2030, 4, 29, L"昭和の日"),
                h(2030, 5, 3, L"憲法記念日"), h(2030, 5, 4, L"みどりの日"), h(2030, 5, 5, L"こどもの日"),
                h(2030, 5, 6, L"休日"), h(2030, 7, 15, L"海の日"), h(2030, 8, 11, L"山の日"),
                h(2030, 8, 12, L"休日"), h(2030, 9, 16, L"敬老の日"), h(2030, 9, 23, L"秋分の日"),
                h(2030, 10, 14, L"スポーツの日"), h(2030, 11, 3, L"文化の日"), h(2030, 11, 4, L"休日"),
                h(2030, 11, 23, L"勤労感謝の日")});
}

// ---- before the official list ----------------------------------------------------------------

TEST(NationalHolidays, TheActStartsOn1948July20) {
    EXPECT_TRUE(nationalHolidays(makeDate(1900, 1, 1), makeDate(1948, 7, 19)).empty());
    // 1948 autumn: 23.2588 + 0.242194*(-32) - int(-35/4) = 23.2588 - 7.750208 + 8 = 23.508592 -> 9/23.
    expectList(ofYear(1948), {h(1948, 9, 23, L"秋分の日"), h(1948, 11, 3, L"文化の日"),
                              h(1948, 11, 23, L"勤労感謝の日")});
    // 1949, the nine days of the first Act; spring: 20.8357 - 7.508014 - int(-34/4) = 21.327686 -> 3/21,
    // autumn: 23.2588 - 7.508014 + 8 = 23.750786 -> 9/23.
    expectList(ofYear(1949),
               {h(1949, 1, 1, L"元日"), h(1949, 1, 15, L"成人の日"), h(1949, 3, 21, L"春分の日"),
                h(1949, 4, 29, L"天皇誕生日"), h(1949, 5, 3, L"憲法記念日"), h(1949, 5, 5, L"こどもの日"),
                h(1949, 9, 23, L"秋分の日"), h(1949, 11, 3, L"文化の日"), h(1949, 11, 23, L"勤労感謝の日")});
}

// ---- ranges ----------------------------------------------------------------------------------

TEST(NationalHolidays, NothingAfter2150) {
    // 2150-11-03 is a Tuesday and 11/23 a Monday.
    expectList(nationalHolidays(makeDate(2150, 11, 1), makeDate(2400, 1, 1)),
               {h(2150, 11, 3, L"文化の日"), h(2150, 11, 23, L"勤労感謝の日")});
    EXPECT_TRUE(nationalHolidays(makeDate(2151, 1, 1), makeDate(2151, 12, 31)).empty());
}

TEST(NationalHolidays, RangeAcrossAYearEndIsSortedAndInclusive) {
    // 2018-12-23 is a Sunday.
    expectList(nationalHolidays(makeDate(2018, 12, 23), makeDate(2019, 1, 14)),
               {h(2018, 12, 23, L"天皇誕生日"), h(2018, 12, 24, L"休日"), h(2019, 1, 1, L"元日"),
                h(2019, 1, 14, L"成人の日")});
    const auto many = nationalHolidays(makeDate(1950, 1, 1), makeDate(2100, 12, 31));
    for (size_t i = 1; i < many.size(); ++i) ASSERT_LT(many[i - 1].date, many[i].date) << dateText(many[i].date);
}

TEST(NationalHolidays, TimeOfDayIsIgnoredAndBadRangesGiveNothing) {
    const double evening = makeDate(2019, 5, 1) + 0.9;
    ASSERT_EQ(nationalHolidays(evening, evening).size(), 1u);
    EXPECT_EQ(nationalHolidays(evening, evening)[0].date, makeDate(2019, 5, 1));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(nationalHolidays(nan, makeDate(2020, 1, 1)).empty());
    EXPECT_TRUE(nationalHolidays(makeDate(2020, 1, 1), nan).empty());
    EXPECT_TRUE(nationalHolidays(makeDate(2020, 12, 31), makeDate(2020, 1, 1)).empty());
    EXPECT_TRUE(nationalHolidays(inf, -inf).empty());
    EXPECT_TRUE(nationalHolidays(-1e300, -1e299).empty());
    const auto all = nationalHolidays(-inf, inf);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front().date, makeDate(1948, 9, 23));
    EXPECT_EQ(all.back().date, makeDate(2150, 11, 23));
}

}  // namespace
}  // namespace tavro::holidays
