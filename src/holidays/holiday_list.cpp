#include "holidays/holiday_list.h"

#include <algorithm>
#include <unordered_map>

namespace tavro::holidays {

namespace {

// 国民の祝日・休日月日,国民の祝日・休日名称 in Shift_JIS.
constexpr std::string_view kHeader =
    "\x8d\x91\x96\xaf\x82\xcc\x8f\x6a\x93\xfa\x81\x45\x8b\x78\x93\xfa\x8c\x8e\x93\xfa,"
    "\x8d\x91\x96\xaf\x82\xcc\x8f\x6a\x93\xfa\x81\x45\x8b\x78\x93\xfa\x96\xbc\x8f\xcc";
constexpr std::string_view kLineEnd = "\r\n";

// One to maxDigits decimal digits ending at `stop`; consumes them.
std::optional<int> number(std::string_view& text, char stop, std::size_t maxDigits) {
    const std::size_t end = text.find(stop);
    if (end == 0 || end == std::string_view::npos || end > maxDigits) return std::nullopt;
    int value = 0;
    for (char c : text.substr(0, end)) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    text.remove_prefix(end + 1);
    return value;
}

// Code points, not UTF-16 units: a name outside the BMP counts once.
std::size_t characters(const std::wstring& name) {
    return static_cast<std::size_t>(std::count_if(name.begin(), name.end(), [](wchar_t c) {
        const auto u = static_cast<uint32_t>(c);
        return u < 0xDC00 || u > 0xDFFF;
    }));
}

bool printable(const std::wstring& name) {
    return std::none_of(name.begin(), name.end(), [](wchar_t c) {
        const auto u = static_cast<uint32_t>(c);
        return u < 0x20 || u == 0x7F || u == 0xFFFD;
    });
}

}  // namespace

std::optional<HolidayList> checkHolidayList(std::string_view bytes, int currentYear, NameDecoder decode) {
    if (!decode || bytes.size() > kMaxListBytes || !bytes.starts_with(kHeader)) return std::nullopt;
    bytes.remove_prefix(kHeader.size());
    if (!bytes.starts_with(kLineEnd)) return std::nullopt;
    bytes.remove_prefix(kLineEnd.size());

    HolidayList list;
    std::unordered_map<std::string_view, uint16_t> known;  // a name's bytes to its index: decoded once each
    int previousYear = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find(kLineEnd);
        if (end == std::string_view::npos) return std::nullopt;  // cut off mid-row
        std::string_view row = bytes.substr(0, end);
        bytes.remove_prefix(end + kLineEnd.size());

        const auto y = number(row, '/', 4), m = number(row, '/', 2), d = number(row, ',', 2);
        if (!y || !m || !d || *y < 1000 || !datetime::isValidDate(*y, *m, *d)) return std::nullopt;
        const auto day = static_cast<int32_t>(datetime::daysFromCivil(*y, *m, *d));
        if (!list.days_.empty() && day <= list.days_.back().day) return std::nullopt;
        // Every year present: a list with a gap has lost rows.
        if (previousYear != 0 && *y > previousYear + 1) return std::nullopt;
        previousYear = *y;

        auto [name, isNew] = known.try_emplace(row, static_cast<uint16_t>(list.names_.size()));
        if (isNew) {
            std::optional<std::wstring> text = decode(row);
            if (list.names_.size() == kMaxListNames || !text || text->empty() || characters(*text) > kMaxNameChars ||
                !printable(*text))
                return std::nullopt;
            list.names_.push_back(std::move(*text));
        }
        list.days_.push_back({day, name->second});
        if (list.firstYear_ == 0) list.firstYear_ = *y;
        list.lastYear_ = *y;
    }
    if (list.days_.empty() || list.firstYear_ > kListFirstYear || list.lastYear_ < currentYear) return std::nullopt;
    // A list cut off after a row looks whole. Every year of the list ends with 勤労感謝の日, so a
    // last year that stops short of 23 November has lost its tail.
    if (list.days_.back().day < datetime::daysFromCivil(list.lastYear_, 11, 23)) return std::nullopt;
    list.days_.shrink_to_fit();
    list.names_.shrink_to_fit();
    return list;
}

std::vector<NationalHoliday> HolidayList::between(datetime::DateValue from, datetime::DateValue to) const {
    std::vector<NationalHoliday> out;
    if (!(from <= to)) return out;  // NaN too
    const auto first = std::lower_bound(days_.begin(), days_.end(), from,
                                        [](const Day& d, datetime::DateValue v) { return d.day < v; });
    for (auto it = first; it != days_.end() && it->day <= to; ++it)
        out.push_back({static_cast<datetime::DateValue>(it->day), names_[it->nameIndex]});
    return out;
}

}  // namespace tavro::holidays
