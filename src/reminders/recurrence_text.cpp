#include "reminders/recurrence_text.h"

#include <algorithm>

#include "reminders/ics_values.h"

namespace tavro::reminders {
namespace {

constexpr std::string_view kDays[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
constexpr std::size_t kMaxListItems = 400;

std::optional<int> parseInt(std::string_view s, int low, int high) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size() || s.size() - i > 10) return std::nullopt;
    int64_t n = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        n = n * 10 + (s[i] - '0');
    }
    if (negative) n = -n;
    if (n < low || n > high) return std::nullopt;
    return static_cast<int>(n);
}

std::optional<int> weekdayCode(std::string_view s) {
    for (int i = 0; i < 7; ++i) {
        if (equalsNoCase(s, kDays[i])) return i;
    }
    return std::nullopt;
}

// Comma-separated numbers in [low, high] without 0; nullopt when any is not.
std::optional<std::vector<int>> intList(std::string_view s, int low, int high) {
    std::vector<int> out;
    while (true) {
        const std::size_t comma = s.find(',');
        const auto n = parseInt(s.substr(0, comma), low, high);
        if (!n || *n == 0 || out.size() >= kMaxListItems) return std::nullopt;
        out.push_back(*n);
        if (comma == std::string_view::npos) break;
        s.remove_prefix(comma + 1);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::optional<std::vector<WeekdayNum>> dayList(std::string_view s) {
    std::vector<WeekdayNum> out;
    while (true) {
        const std::size_t comma = s.find(',');
        const std::string_view item = s.substr(0, comma);
        if (item.size() < 2 || out.size() >= kMaxListItems) return std::nullopt;
        const auto day = weekdayCode(item.substr(item.size() - 2));
        int ordinal = 0;
        if (item.size() > 2) {
            const auto n = parseInt(item.substr(0, item.size() - 2), -53, 53);
            if (!n || *n == 0) return std::nullopt;
            ordinal = *n;
        }
        if (!day) return std::nullopt;
        const WeekdayNum w{*day, ordinal};
        if (std::find(out.begin(), out.end(), w) == out.end()) out.push_back(w);
        if (comma == std::string_view::npos) break;
        s.remove_prefix(comma + 1);
    }
    return out;
}

std::string joinInts(const std::vector<int>& v) {
    std::string out;
    for (int n : v) {
        if (!out.empty()) out += ',';
        out += std::to_string(n);
    }
    return out;
}

}  // namespace

std::optional<RecurrenceRule> parseRecurrenceRule(std::string_view text, const UntilContext& context) {
    RecurrenceRule rule;
    bool haveFrequency = false;
    std::vector<std::string_view> seen;
    while (!text.empty()) {
        const std::size_t semicolon = text.find(';');
        const std::string_view part = text.substr(0, semicolon);
        text = semicolon == std::string_view::npos ? std::string_view{} : text.substr(semicolon + 1);
        if (part.empty()) continue;
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view name = part.substr(0, equals), value = part.substr(equals + 1);
        for (std::string_view s : seen) {
            if (equalsNoCase(s, name)) return std::nullopt;
        }
        if (seen.size() > 32) return std::nullopt;
        seen.push_back(name);
        if (equalsNoCase(name, "FREQ")) {
            if (equalsNoCase(value, "DAILY")) rule.frequency = Frequency::Daily;
            else if (equalsNoCase(value, "WEEKLY")) rule.frequency = Frequency::Weekly;
            else if (equalsNoCase(value, "MONTHLY")) rule.frequency = Frequency::Monthly;
            else if (equalsNoCase(value, "YEARLY")) rule.frequency = Frequency::Yearly;
            else return std::nullopt;
            haveFrequency = true;
        } else if (equalsNoCase(name, "INTERVAL")) {
            const auto n = parseInt(value, 1, kMaxInterval);
            if (!n) return std::nullopt;
            rule.interval = *n;
        } else if (equalsNoCase(name, "COUNT")) {
            if (value.size() > 9 && std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                rule.count = 999999999;
            } else {
                const auto n = parseInt(value, 1, 999999999);
                if (!n) return std::nullopt;
                rule.count = *n;
            }
        } else if (equalsNoCase(name, "UNTIL")) {
            const auto until = parseIcsDateTime(value);
            if (!until) return std::nullopt;
            rule.until = until->hasTime ? until->day * kMinutesPerDay + until->secondOfDay / 60 +
                                              (until->utc ? context.localOffsetMinutes : 0)
                                        : until->day * kMinutesPerDay + kMinutesPerDay - 1;
        } else if (equalsNoCase(name, "BYDAY")) {
            auto days = dayList(value);
            if (!days) return std::nullopt;
            rule.byDay = std::move(*days);
        } else if (equalsNoCase(name, "BYMONTHDAY")) {
            auto days = intList(value, -31, 31);
            if (!days) return std::nullopt;
            rule.byMonthDay = std::move(*days);
        } else if (equalsNoCase(name, "BYMONTH")) {
            auto months = intList(value, 1, 12);
            if (!months) return std::nullopt;
            rule.byMonth = std::move(*months);
        } else if (equalsNoCase(name, "BYSETPOS")) {
            auto positions = intList(value, -366, 366);
            if (!positions) return std::nullopt;
            rule.bySetPos = std::move(*positions);
        } else if (equalsNoCase(name, "WKST")) {
            const auto day = weekdayCode(value);
            if (!day) return std::nullopt;
            rule.weekStart = *day;
        } else if (name.size() > 2 && equalsNoCase(name.substr(0, 2), "X-")) {
            continue;
        } else {
            return std::nullopt;  // BYHOUR, BYWEEKNO, RSCALE, …: not expanded here
        }
    }
    if (!haveFrequency || (rule.count > 0 && rule.until)) return std::nullopt;
    return rule;
}

std::string formatRecurrenceRule(const RecurrenceRule& rule, bool wholeDay) {
    static constexpr std::string_view kFrequencies[] = {"DAILY", "WEEKLY", "MONTHLY", "YEARLY"};
    std::string out = "FREQ=";
    out += kFrequencies[static_cast<int>(rule.frequency)];
    if (rule.interval > 1) out += ";INTERVAL=" + std::to_string(rule.interval);
    if (rule.count > 0) out += ";COUNT=" + std::to_string(rule.count);
    if (rule.until) {
        out += ";UNTIL=" + (wholeDay ? formatIcsDate(dayOf(*rule.until)) : formatIcsDateTime(*rule.until, 59));
    }
    if (!rule.byMonth.empty()) out += ";BYMONTH=" + joinInts(rule.byMonth);
    if (!rule.byMonthDay.empty()) out += ";BYMONTHDAY=" + joinInts(rule.byMonthDay);
    if (!rule.byDay.empty()) {
        out += ";BYDAY=";
        for (std::size_t i = 0; i < rule.byDay.size(); ++i) {
            if (i) out += ',';
            if (rule.byDay[i].ordinal) out += std::to_string(rule.byDay[i].ordinal);
            out += kDays[std::clamp(rule.byDay[i].weekday, 0, 6)];
        }
    }
    if (!rule.bySetPos.empty()) out += ";BYSETPOS=" + joinInts(rule.bySetPos);
    if (rule.weekStart != 1) out += std::string(";WKST=") + std::string(kDays[std::clamp(rule.weekStart, 0, 6)]);
    return out;
}

}  // namespace tavro::reminders
