#include "reminders/ics_values.h"

#include <cstdio>
#include <cstdlib>

#include "reminders/wide_text.h"

namespace tavro::reminders {
namespace {

bool digits(std::string_view s, std::size_t from, std::size_t n, int& out) {
    if (from + n > s.size()) return false;
    out = 0;
    for (std::size_t i = from; i < from + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = lowerAscii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::optional<IcsDateTime> parseIcsDateTime(std::string_view text) {
    IcsDateTime v;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!digits(text, 0, 4, y) || !digits(text, 4, 2, mo) || !digits(text, 6, 2, d)) return std::nullopt;
    if (y < 1000 || !datetime::isValidDate(y, mo, d)) return std::nullopt;
    v.day = datetime::daysFromCivil(y, mo, d);
    if (text.size() == 8) return v;
    if (text.size() != 15 && text.size() != 16) return std::nullopt;
    if (text[8] != 'T' && text[8] != 't') return std::nullopt;
    if (!digits(text, 9, 2, h) || !digits(text, 11, 2, mi) || !digits(text, 13, 2, s)) return std::nullopt;
    if (h > 23 || mi > 59 || s > 60) return std::nullopt;  // 60: a leap second
    if (text.size() == 16) {
        if (text[15] != 'Z' && text[15] != 'z') return std::nullopt;
        v.utc = true;
    }
    v.hasTime = true;
    v.secondOfDay = h * 3600 + mi * 60 + (s > 59 ? 59 : s);
    return v;
}

std::string formatIcsDate(int64_t day) {
    const datetime::CivilDate c = datetime::civilFromDays(day);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", c.year, c.month, c.day);
    return buf;
}

std::string formatIcsDateTime(LocalMinute minute, int second) {
    const int m = minuteOfDay(minute);
    char buf[16];
    std::snprintf(buf, sizeof buf, "T%02d%02d%02d", m / 60, m % 60, second);
    return formatIcsDate(dayOf(minute)) + buf;
}

std::optional<int> fixedZoneOffset(std::string_view tzid, const TimeContext& context) {
    for (const auto& [name, offset] : context.zoneOffsets) {
        if (name == tzid) return offset;
    }
    // Names of Japan's zone as Windows, the tz database and some programs write them.
    for (std::string_view japan : {"Asia/Tokyo", "Tokyo Standard Time", "Japan", "JST", "Japan Standard Time"}) {
        if (tzid.size() >= japan.size() && equalsNoCase(tzid.substr(tzid.size() - japan.size()), japan)) return 540;
    }
    return std::nullopt;
}

LocalMinute localMinuteOf(const IcsDateTime& value, std::optional<std::string_view> tzid, const TimeContext& context) {
    LocalMinute m = value.day * kMinutesPerDay + value.secondOfDay / 60;
    if (!value.hasTime) return m;
    if (value.utc) return m + context.localOffsetMinutes;
    if (tzid) {
        if (const auto offset = fixedZoneOffset(*tzid, context)) return m - *offset + context.localOffsetMinutes;
    }
    return m;
}

std::optional<int64_t> parseIcsDuration(std::string_view text) {
    std::size_t i = 0;
    int sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) sign = text[i++] == '-' ? -1 : 1;
    if (i >= text.size() || (text[i] != 'P' && text[i] != 'p')) return std::nullopt;
    ++i;
    int64_t seconds = 0;
    bool inTime = false, any = false;
    while (i < text.size()) {
        if (text[i] == 'T' || text[i] == 't') {
            if (inTime) return std::nullopt;
            inTime = true;
            ++i;
            continue;
        }
        int64_t n = 0;
        std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 9) n = n * 10 + (text[i++] - '0');
        if (i == start || i >= text.size()) return std::nullopt;
        const char unit = static_cast<char>(text[i++] & ~0x20);
        int64_t scale = 0;
        if (!inTime && unit == 'W') scale = 7 * 86400;
        else if (!inTime && unit == 'D') scale = 86400;
        else if (inTime && unit == 'H') scale = 3600;
        else if (inTime && unit == 'M') scale = 60;
        else if (inTime && unit == 'S') scale = 1;
        else return std::nullopt;
        seconds += n * scale;
        any = true;
        if (seconds > 10LL * 366 * 86400) return std::nullopt;
    }
    if (!any) return std::nullopt;
    return sign * seconds;
}

std::string formatIcsDuration(int minutes) {
    if (minutes == 0) return "PT0S";
    std::string out = minutes < 0 ? "-P" : "P";
    int64_t m = std::llabs(minutes);
    if (m % 1440 == 0) return out + std::to_string(m / 1440) + "D";
    out += "T";
    if (m >= 60) out += std::to_string(m / 60) + "H";
    if (m % 60) out += std::to_string(m % 60) + "M";
    return out;
}

std::string escapeIcsText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == ';' || c == ',') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\\n";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string unescapeIcsText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += (next == 'n' || next == 'N') ? '\n' : next;
    }
    return out;
}

std::string fileUriFromPath(std::wstring_view path) {
    const std::string utf8 = utf8FromWide(path);
    std::string out = "file://";
    std::size_t i = 0;
    if (utf8.size() >= 2 && (utf8[0] == '\\' || utf8[0] == '/') && (utf8[1] == '\\' || utf8[1] == '/')) {
        i = 2;  // \\server\share: the server is the URI's host
    } else {
        out += '/';
    }
    static const char* kHex = "0123456789ABCDEF";
    for (; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\\') {
            out += '/';
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   c == '-' || c == '_' || c == '.' || c == '~' || c == '/' || c == ':') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::optional<std::wstring> pathFromFileUri(std::string_view uri) {
    if (uri.size() < 5 || !equalsNoCase(uri.substr(0, 5), "file:")) return std::nullopt;
    std::string_view rest = uri.substr(5);
    std::string path;
    if (rest.substr(0, 3) == "///") {
        rest.remove_prefix(3);  // file:///C:/…
    } else if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);  // file://server/share/…, or file://localhost/C:/…
        if (rest.size() >= 10 && equalsNoCase(rest.substr(0, 10), "localhost/")) rest.remove_prefix(10);
        else path = "\\\\";
    } else if (!rest.empty() && rest[0] == '/') {
        rest.remove_prefix(1);  // file:/C:/…
    }
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() + 0 && hexValue(rest[i + 1]) >= 0 && hexValue(rest[i + 2]) >= 0) {
            path += static_cast<char>(hexValue(rest[i + 1]) * 16 + hexValue(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i] == '/' ? '\\' : rest[i];
        }
    }
    if (path.empty() || path.find('\0') != std::string::npos || !isValidUtf8(path)) return std::nullopt;
    return wideFromUtf8(path);
}

}  // namespace tavro::reminders
