#include "holidays/national_holidays.h"
#include "datetime/date_format.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <string>

namespace tavro::holidays {
namespace {

using datetime::makeDate;

std::set<double> datesOf(const std::vector<NationalHoliday>& list) {
    std::set<double> out;
    for (const NationalHoliday& h : list) out.insert(h.date);
    return out;
}

// The list is Shift_JIS as Windows reads it (code page 932).
std::wstring fromCp932(std::string bytes) {
    iconv_t cd = iconv_open("WCHAR_T", "CP932");
    std::wstring out(bytes.size(), L'\0');
    char* in = bytes.data();
    char* to = reinterpret_cast<char*>(out.data());
    size_t inLeft = bytes.size(), outLeft = out.size() * sizeof(wchar_t);
    const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!ok) return L"?";
    out.resize(out.size() - outLeft / sizeof(wchar_t));
    return out;
}

// Every date and name of the Cabinet Office list (1955 to 2027), no more and no fewer.
TEST(NationalHolidays, MatchEveryDateAndNameOfTheCabinetOfficeList) {
    std::ifstream in(std::string(TAVRO_SOURCE_DIR) + "/tests/data/syukujitsu.csv", std::ios::binary);
    ASSERT_TRUE(in) << "tests/data/syukujitsu.csv";
    std::map<double, std::wstring> official;
    std::string line;
    std::getline(in, line);  // the heading
    while (std::getline(in, line)) {
        int y = 0, m = 0, d = 0;
        const size_t comma = line.find(',');
        if (comma == std::string::npos || std::sscanf(line.c_str(), "%d/%d/%d,", &y, &m, &d) != 3) continue;
        std::string name = line.substr(comma + 1);
        if (!name.empty() && name.back() == '\r') name.pop_back();
        official[makeDate(y, m, d)] = fromCp932(name);
    }
    ASSERT_EQ(official.size(), 1067u);
    const auto ours = nationalHolidays(makeDate(1955, 1, 1), makeDate(2027, 12, 31));
    std::map<double, std::wstring> computed;
    for (const NationalHoliday& h : ours) computed[h.date] = h.name;
    EXPECT_EQ(ours.size(), official.size()) << "each date once";
    for (const auto& [date, name] : official) {
        const auto found = computed.find(date);
        ASSERT_NE(found, computed.end()) << datetime::formatDateTime(date);
        EXPECT_EQ(found->second, name) << datetime::formatDateTime(date);
    }
    EXPECT_EQ(datesOf(ours).size(), official.size());
    for (size_t i = 1; i < ours.size(); ++i) ASSERT_LT(ours[i - 1].date, ours[i].date);
}

// Beyond the list, by hand: the equinox formula, a day between two holidays, the rules' edges
// and bad ranges. (Substitute Mondays and the Happy Mondays are all in the list.)
TEST(NationalHolidays, BeyondTheListAndAtTheEdges) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case {
        double from, to;
        std::set<double> dates;
    } cases[] = {
        {makeDate(2100, 3, 1), makeDate(2100, 3, 31), {makeDate(2100, 3, 20)}},  // the old constant gave 3/19
        {makeDate(2150, 3, 1), makeDate(2400, 1, 1),
         {makeDate(2150, 3, 21), makeDate(2150, 4, 29), makeDate(2150, 5, 3), makeDate(2150, 5, 4),
          makeDate(2150, 5, 5), makeDate(2150, 5, 6), makeDate(2150, 7, 20), makeDate(2150, 8, 11),
          makeDate(2150, 9, 21), makeDate(2150, 9, 22), makeDate(2150, 9, 23), makeDate(2150, 10, 12),
          makeDate(2150, 11, 3), makeDate(2150, 11, 23)}},
        {makeDate(1900, 1, 1), makeDate(1948, 12, 31),
         {makeDate(1948, 9, 23), makeDate(1948, 11, 3), makeDate(1948, 11, 23)}},  // the Act from 1948-07-20
        {makeDate(2019, 5, 1) + 0.9, makeDate(2019, 5, 1) + 0.1, {makeDate(2019, 5, 1)}},  // time of day ignored
        {nan, makeDate(2020, 1, 1), {}}, {makeDate(2020, 1, 1), nan, {}},
        {makeDate(2020, 12, 31), makeDate(2020, 1, 1), {}},
        {inf, -inf, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(datesOf(nationalHolidays(c.from, c.to)), c.dates) << c.from;
}

}  // namespace
}  // namespace tavro::holidays
