#include "datetime/date_parser.h"

#include <vector>

#include "datetime/japanese_era.h"

namespace tavro::datetime {

namespace {

// Dates before 1873 are counted in the Gregorian calendar like all others: there is no lunisolar
// conversion.
constexpr const auto& kEras = kJapaneseEras;

enum class Kind {
    Number,
    DateSeparator,  // '/', '-' or '.', kept in `separator`
    Colon,
    Space,
    Letter,  // an ASCII letter, upper case
    Era,     // a kanji era name or its ligature, `value` is the index in kEras
    Gan,     // 元, the first year of an era
    Year,    // 年
    Month,   // 月
    Day,     // 日
    Hour,    // 時
    Minute,  // 分
    Second,  // 秒
    Meridiem,  // 午前 (value 0) or 午後 (value 12)
};

struct Token {
    Kind kind;
    int value = 0;
    int digits = 0;
    wchar_t separator = 0;
};

// More digits than any field can have: also keeps the value far from overflowing.
constexpr int kMaxDigits = 6;

int digitOf(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'\uFF10' && c <= L'\uFF19') return c - L'\uFF10';
    return -1;
}

bool isSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u3000' || c == L'\u00A0'; }

// The characters a Japanese IME gives for the keys '/', '-' and '.', besides the ASCII ones:
// full-width forms, and 「・」 and 「ー」, which the kana input mode types for '/' and '-'.
wchar_t dateSeparatorOf(wchar_t c) {
    switch (c) {
        case L'/': case L'\uFF0F': case L'\u30FB': case L'\uFF65': return L'/';
        case L'-': case L'\uFF0D': case L'\u2212': case L'\u2010': case L'\u30FC': case L'\uFF70': return L'-';
        case L'.': case L'\uFF0E': return L'.';
        default: return 0;
    }
}

wchar_t asciiLetterOf(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
    if (c >= L'A' && c <= L'Z') return c;
    if (c >= L'\uFF41' && c <= L'\uFF5A') return static_cast<wchar_t>(c - L'\uFF41' + L'A');
    if (c >= L'\uFF21' && c <= L'\uFF3A') return static_cast<wchar_t>(c - L'\uFF21' + L'A');
    return 0;
}

std::optional<Kind> unitOf(wchar_t c) {
    switch (c) {
        case L'年': return Kind::Year;
        case L'月': return Kind::Month;
        case L'日': return Kind::Day;
        case L'時': return Kind::Hour;
        case L'分': return Kind::Minute;
        case L'秒': return Kind::Second;
        case L'元': return Kind::Gan;
        default: return std::nullopt;
    }
}

// Spaces are folded into one token and dropped at both ends; any character outside the
// forms above makes the whole text unreadable.
std::optional<std::vector<Token>> tokenize(std::wstring_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (digitOf(c) >= 0) {
            Token number{Kind::Number};
            for (; i < text.size() && digitOf(text[i]) >= 0; ++i) {
                if (++number.digits > kMaxDigits) return std::nullopt;
                number.value = number.value * 10 + digitOf(text[i]);
            }
            tokens.push_back(number);
            continue;
        }
        if (isSpace(c)) {
            if (tokens.empty() || tokens.back().kind != Kind::Space) tokens.push_back({Kind::Space});
            ++i;
            continue;
        }
        if (const wchar_t separator = dateSeparatorOf(c)) {
            tokens.push_back({Kind::DateSeparator, 0, 0, separator});
        } else if (c == L':' || c == L'\uFF1A') {
            tokens.push_back({Kind::Colon});
        } else if (const wchar_t letter = asciiLetterOf(c)) {
            tokens.push_back({Kind::Letter, letter});
        } else if (const auto unit = unitOf(c)) {
            tokens.push_back({*unit});
        } else if (text.substr(i).starts_with(L"午前") || text.substr(i).starts_with(L"午後")) {
            tokens.push_back({Kind::Meridiem, text[i + 1] == L'後' ? 12 : 0});
            ++i;
        } else {
            bool isEra = false;
            for (std::size_t e = 0; e < kEras.size() && !isEra; ++e) {
                if (c == kEras[e].ligature) {
                    isEra = true;
                } else if (text.substr(i).starts_with(kEras[e].name)) {
                    isEra = true;
                    i += kEras[e].name.size() - 1;
                }
                if (isEra) tokens.push_back({Kind::Era, static_cast<int>(e)});
            }
            if (!isEra) return std::nullopt;
        }
        ++i;
    }
    if (!tokens.empty() && tokens.front().kind == Kind::Space) tokens.erase(tokens.begin());
    if (!tokens.empty() && tokens.back().kind == Kind::Space) tokens.pop_back();
    return tokens;
}

int eraOfLetter(int letter) {
    for (std::size_t e = 0; e < kEras.size(); ++e)
        if (kEras[e].letter == letter) return static_cast<int>(e);
    return -1;
}

// Years typed with one or two digits, as the system's two-digit year window 1930-2029 reads them.
int fullYear(int year, int digits) {
    if (digits > 2) return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

bool isInEra(std::size_t era, int year, int month, int day) {
    return eraIndexOf({year, month, day}) == static_cast<int>(era);
}

bool isShortField(const Token& t) { return t.kind == Kind::Number && t.digits <= 2; }

class Parser {
public:
    Parser(const std::vector<Token>& tokens, int currentYear) : tokens_(tokens), currentYear_(currentYear) {}

    std::optional<DateValue> parse() {
        if (tokens_.empty()) return std::nullopt;
        if (const auto date = parseDate()) {
            if (atEnd()) return makeDate(date->year, date->month, date->day);
            // Between date and time: a space, ISO's "T", or nothing after 日.
            if (is(Kind::Space) || (is(Kind::Letter) && peek().value == L'T')) ++pos_;
            const auto time = parseTime();
            if (!time || !atEnd()) return std::nullopt;
            return makeDateTime({date->year, date->month, date->day, time->hour, time->minute, time->second});
        }
        pos_ = 0;
        const auto time = parseTime();
        if (!time || !atEnd()) return std::nullopt;
        return makeDateTime({1899, 12, 30, time->hour, time->minute, time->second});
    }

private:
    struct Time {
        int hour = 0;
        int minute = 0;
        int second = 0;
    };
    // Month and day as typed, with the year token when one was typed.
    struct TypedDate {
        Token year{Kind::Number};
        bool hasYear = false;
        int month = 0;
        int day = 0;
    };

    bool atEnd() const { return pos_ >= tokens_.size(); }
    const Token& peek(std::size_t ahead = 0) const {
        static const Token kEnd{Kind::Space};
        return pos_ + ahead < tokens_.size() ? tokens_[pos_ + ahead] : kEnd;
    }
    bool is(Kind kind, std::size_t ahead = 0) const { return pos_ + ahead < tokens_.size() && peek(ahead).kind == kind; }
    bool accept(Kind kind) {
        if (!is(kind)) return false;
        ++pos_;
        return true;
    }
    void skipSpace() { accept(Kind::Space); }

    std::optional<Token> acceptShortField() {
        if (!isShortField(peek()) || atEnd()) return std::nullopt;
        return tokens_[pos_++];
    }

    // A date: an optional era, then 年月日, 月日 or numbers between separators; the year is
    // resolved and the whole date checked last.
    std::optional<CivilDate> parseDate() {
        const int era = acceptEra();
        const auto year = acceptYear(era);
        if (!year) return std::nullopt;
        std::optional<TypedDate> date;
        if (accept(Kind::Year)) {
            date = kanjiMonthDay(*year);
        } else if (era < 0 && year->digits <= 2 && accept(Kind::Month)) {
            date = kanjiDayOfThisYear(year->value);
        } else if (is(Kind::DateSeparator)) {
            date = separatedDate(*year, era);
        }
        if (!date) return std::nullopt;
        return resolveDate(*date, era);
    }

    // 平成, ㍻ or H before a number or 元; -1 when there is no era.
    int acceptEra() {
        int era = -1;
        if (is(Kind::Era)) {
            era = peek().value;
        } else if (is(Kind::Letter) && (is(Kind::Number, 1) || is(Kind::Gan, 1))) {
            era = eraOfLetter(peek().value);
        }
        if (era >= 0) ++pos_;
        return era;
    }

    // The year as typed; 元年 is year 1 of an era.
    std::optional<Token> acceptYear(int era) {
        if (era >= 0 && accept(Kind::Gan)) {
            if (!is(Kind::Year)) return std::nullopt;
            return Token{Kind::Number, 1, 1};
        }
        if (is(Kind::Number)) return tokens_[pos_++];
        return std::nullopt;
    }

    // After 年: m月d日.
    std::optional<TypedDate> kanjiMonthDay(const Token& year) {
        skipSpace();
        const auto month = acceptShortField();
        if (!month || !accept(Kind::Month)) return std::nullopt;
        skipSpace();
        const auto day = acceptShortField();
        if (!day || !accept(Kind::Day)) return std::nullopt;
        return TypedDate{year, true, month->value, day->value};
    }

    // After m月: d日, this year.
    std::optional<TypedDate> kanjiDayOfThisYear(int month) {
        skipSpace();
        const auto day = acceptShortField();
        if (!day || !accept(Kind::Day)) return std::nullopt;
        return TypedDate{{}, false, month, day->value};
    }

    // y/m/d with one separator throughout, or m/d of this year (not with dots, which would
    // read as a decimal number).
    std::optional<TypedDate> separatedDate(const Token& first, int era) {
        const wchar_t separator = tokens_[pos_++].separator;
        const auto second = acceptShortField();
        if (!second) return std::nullopt;
        if (is(Kind::DateSeparator) && peek().separator == separator) {
            ++pos_;
            const auto third = acceptShortField();
            if (!third) return std::nullopt;
            return TypedDate{first, true, second->value, third->value};
        }
        if (era < 0 && separator != L'.' && first.digits <= 2) return TypedDate{{}, false, first.value, second->value};
        return std::nullopt;
    }

    std::optional<CivilDate> resolveDate(const TypedDate& date, int era) {
        int year = currentYear_;
        if (era >= 0) {
            if (date.year.value < 1) return std::nullopt;
            year = kEras[static_cast<std::size_t>(era)].first.year + date.year.value - 1;
        } else if (date.hasYear) {
            year = fullYear(date.year.value, date.year.digits);
        }
        if (year < 100 || year > 9999 || !isValidDate(year, date.month, date.day)) return std::nullopt;
        if (era >= 0 && !isInEra(static_cast<std::size_t>(era), year, date.month, date.day)) return std::nullopt;
        return CivilDate{year, date.month, date.day};
    }

    // A time: h:mm[:ss] or h時[m分[s秒]], after 午前 or 午後 with hours 0 to 12 (12 at 午前 is
    // midnight, at 午後 noon, as the system reads AM and PM).
    std::optional<Time> parseTime() {
        std::optional<int> meridiem;
        if (is(Kind::Meridiem)) {
            meridiem = tokens_[pos_++].value;
            skipSpace();
        }
        const auto hour = acceptShortField();
        if (!hour) return std::nullopt;
        Time t{hour->value};
        if (accept(Kind::Colon)) {
            if (!colonMinutesSeconds(t)) return std::nullopt;
        } else if (accept(Kind::Hour)) {
            if (!kanjiMinutesSeconds(t)) return std::nullopt;
        } else {
            return std::nullopt;
        }
        if (meridiem) {
            if (t.hour > 12) return std::nullopt;
            t.hour = t.hour % 12 + *meridiem;
        }
        if (!isValidTime(t.hour, t.minute, t.second)) return std::nullopt;
        return t;
    }

    // After "h:": mm, then ":ss" if given.
    bool colonMinutesSeconds(Time& t) {
        const auto minute = acceptShortField();
        if (!minute) return false;
        t.minute = minute->value;
        if (!accept(Kind::Colon)) return true;
        const auto second = acceptShortField();
        if (!second) return false;
        t.second = second->value;
        return true;
    }

    // After 時: m分, then s秒, each optional; a number without its unit is an error.
    bool kanjiMinutesSeconds(Time& t) {
        bool found = false;
        if (!optionalKanjiField(Kind::Minute, t.minute, found)) return false;
        return !found || optionalKanjiField(Kind::Second, t.second, found);
    }

    // "n<unit>" after an optional space: read into `field`, or nothing read and `found` false.
    bool optionalKanjiField(Kind unit, int& field, bool& found) {
        const std::size_t before = pos_;
        skipSpace();
        const auto number = acceptShortField();
        found = number.has_value();
        if (!found) {
            pos_ = before;
            return true;
        }
        if (!accept(unit)) return false;
        field = number->value;
        return true;
    }

    const std::vector<Token>& tokens_;
    int currentYear_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<DateValue> parseDateText(std::wstring_view text, int currentYear) {
    const auto tokens = tokenize(text);
    if (!tokens) return std::nullopt;
    return Parser(*tokens, currentYear).parse();
}

}  // namespace tavro::datetime
