// An iCalendar file as components and content lines, read strictly enough to know a broken file
// and loosely enough for what other calendar programs write. Lines are kept as read (unfolded),
// so that what the clock does not use is written back unchanged.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro::reminders {

struct IcsProperty {
    std::string name;        // as written (compare with equalsNoCase)
    std::string parameters;  // as written, each with its leading ';' (";VALUE=DATE;TZID=Asia/Tokyo")
    std::string value;       // as written, escapes kept
    bool operator==(const IcsProperty&) const = default;
};

struct IcsComponent {
    std::string name;  // VCALENDAR, VEVENT, VALARM, … as written
    std::vector<IcsProperty> properties;
    std::vector<IcsComponent> components;
    bool operator==(const IcsComponent&) const = default;

    // The first property of that name, or null.
    const IcsProperty* find(std::string_view propertyName) const;
};

// Caps against hostile files: a larger file, a longer line (unfolded), more components or deeper
// nesting is refused as a whole, so that nothing of it is lost by a later write.
inline constexpr std::size_t kMaxFileBytes = 16u << 20;
inline constexpr std::size_t kMaxLineBytes = 1u << 20;
inline constexpr std::size_t kMaxComponents = 20000;
inline constexpr int kMaxDepth = 8;

enum class IcsError {
    None,
    NotUtf8,      // bytes that are not UTF-8
    NotCalendar,  // empty, or not BEGIN:VCALENDAR first
    CutOff,       // the file ends before END:VCALENDAR
    Malformed,    // a line without a name and ':', an END that closes nothing, text after the end
    TooLarge,     // beyond the caps above
};

struct IcsReadResult {
    IcsComponent calendar;  // the VCALENDAR (empty when error is not None)
    IcsError error = IcsError::None;
    std::size_t line = 0;  // the physical line (1-based) the error was found at; 0 when none
};

// Reads a whole file's bytes: UTF-8 with or without a byte-order mark, CRLF, LF or CR line ends,
// folded lines (a line starting with a space or tab continues the one before), blank lines ignored.
IcsReadResult readIcs(std::string_view bytes);

// The value of a parameter (unquoted), or nullopt.
std::optional<std::string> parameterOf(const IcsProperty& property, std::string_view name);

// The file's bytes: CRLF line ends, lines folded at 75 bytes between UTF-8 characters.
std::string writeIcs(const IcsComponent& calendar);

// One unfolded content line.
std::string contentLine(const IcsProperty& property);

}  // namespace tavro::reminders
