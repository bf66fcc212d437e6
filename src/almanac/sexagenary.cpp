#include "almanac/sexagenary.h"

#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

constexpr wchar_t kStems[] = L"甲乙丙丁戊己庚辛壬癸";
constexpr wchar_t kBranches[] = L"子丑寅卯辰巳午未申酉戌亥";

// The 60 names, two characters each, built once from the stems and branches.
struct Names {
    wchar_t text[120];
    constexpr Names() : text{} {
        for (int i = 0; i < 60; ++i) {
            text[2 * i] = kStems[i % 10];
            text[2 * i + 1] = kBranches[i % 12];
        }
    }
};
constexpr Names kNames;

int mod60(int64_t n) { return static_cast<int>(((n % 60) + 60) % 60); }

}  // namespace

int sexagenaryOfDay(int64_t day) { return mod60(day - datetime::daysFromCivil(2024, 1, 1)); }

int sexagenaryOfYear(int year) { return mod60(static_cast<int64_t>(year) - 1984); }

std::wstring_view sexagenaryName(int sexagenary) {
    if (sexagenary < 0 || sexagenary >= 60) return {};
    return {kNames.text + 2 * sexagenary, 2};
}

std::wstring_view yearSexagenaryName(int year) { return sexagenaryName(sexagenaryOfYear(year)); }

}  // namespace tavro::almanac
