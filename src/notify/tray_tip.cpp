#include "notify/tray_tip.h"

#include <cmath>
#include <cstdlib>

namespace tavro::notify {

namespace {
constexpr const wchar_t* kWeekdays[] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};
constexpr std::size_t kTipCharacters = 127;  // szTip holds 128 with its NUL

// Whole seconds on the real time line (values before 1899-12-30 are not linear).
long long linearSeconds(DateValue v) {
    const datetime::CivilDateTime c = datetime::toCivil(v);
    return datetime::daysFromCivil(c.year, c.month, c.day) * 86400LL + c.hour * 3600 + c.minute * 60 + c.second;
}

std::wstring countdownLine(long long seconds) {
    const long long minutes = std::llabs(seconds) / 60;
    const long long days = minutes / 1440, hours = minutes / 60 % 24, mins = minutes % 60;
    std::wstring line = seconds >= 0 ? L"目標まで" : L"目標から";
    if (days) line += L" " + std::to_wstring(days) + L"日";
    if (days || hours) line += L" " + std::to_wstring(hours) + L"時間";
    return line + L" " + std::to_wstring(mins) + L"分";
}
}  // namespace

std::wstring TrayTip::text(DateValue now, DateValue target, std::wstring_view reminderLine) {
    const datetime::CivilDateTime c = datetime::toCivil(now);
    if (c.year != year_ || c.month != month_) {
        year_ = c.year;
        month_ = c.month;
        almanac_ = almanac::MonthAlmanac::forMonth(c.year, c.month);
    }
    std::wstring tip = L"TavroClock\n" + std::to_wstring(c.year) + L"年" + std::to_wstring(c.month) + L"月" +
                       std::to_wstring(c.day) + L"日（" + kWeekdays[datetime::weekdayOf(now)] + L"）";
    if (const auto day = almanac_.day(c.day)) tip.append(L" ").append(almanac::rokuyoName(day->rokuyo));
    if (target != 0) tip += L"\n" + countdownLine(linearSeconds(target) - linearSeconds(now));
    if (!reminderLine.empty()) tip.append(L"\n").append(reminderLine);
    if (tip.size() > kTipCharacters) tip.resize(kTipCharacters);
    return tip;
}

long long minuteOf(DateValue value) { return static_cast<long long>(std::floor(value * 1440 + 1e-7)); }

}  // namespace tavro::notify
