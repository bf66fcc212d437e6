// What the old calendar says of each day of one civil month (JST): the old-calendar date, 六曜
// and the solar term of the day. Only 1900 to 2100, where the astronomy is checked.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tavro::almanac {

enum class Rokuyo { Taian, Shakku, Sensho, Tomobiki, Senbu, Butsumetsu };

struct OldCalendarDate {
    int month = 0;
    int day = 0;
    bool leap = false;
    bool operator==(const OldCalendarDate&) const = default;
};

struct DayAlmanac {
    OldCalendarDate old;
    Rokuyo rokuyo = Rokuyo::Taian;
    int solarTerm = -1;  // -1: none; else 0..23, 0 = 春分, 1 = 清明, … 23 = 啓蟄
};

inline constexpr int kFirstAlmanacYear = 1900;
inline constexpr int kLastAlmanacYear = 2100;

// (month + day) mod 6: 1月1日 is 先勝, 2月1日 友引.
Rokuyo rokuyoOf(int oldMonth, int oldDay);

// Computed once for one civil month (the month shown); cheap to ask per day afterwards.
class MonthAlmanac {
public:
    static MonthAlmanac forMonth(int year, int month);  // JST civil month
    // nullopt outside 1900..2100 or for a day the month does not have.
    std::optional<DayAlmanac> day(int dayOfMonth) const;

private:
    std::array<DayAlmanac, 31> days_{};
    int dayCount_ = 0;  // 0 when the month has no old-calendar data
};

std::wstring_view rokuyoName(Rokuyo rokuyo);  // L"大安" …
std::wstring_view solarTermName(int term);    // L"春分" … (0..23); empty for any other number

}  // namespace tavro::almanac
