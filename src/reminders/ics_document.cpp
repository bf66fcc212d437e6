#include "reminders/ics_document.h"

#include "reminders/ics_values.h"
#include "reminders/wide_text.h"

namespace tavro::reminders {
namespace {

// Splits "NAME;P=V;Q="a:b":value" at the first ':' outside quotes.
bool splitLine(std::string_view line, IcsProperty& out) {
    std::size_t nameEnd = 0;
    while (nameEnd < line.size() && line[nameEnd] != ';' && line[nameEnd] != ':') ++nameEnd;
    if (nameEnd == 0 || nameEnd == line.size()) return false;
    for (std::size_t i = 0; i < nameEnd; ++i) {
        const char c = line[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
    }
    bool quoted = false;
    std::size_t colon = nameEnd;
    for (; colon < line.size(); ++colon) {
        if (line[colon] == '"') quoted = !quoted;
        else if (line[colon] == ':' && !quoted) break;
    }
    if (colon == line.size()) return false;
    out.name.assign(line.substr(0, nameEnd));
    out.parameters.assign(line.substr(nameEnd, colon - nameEnd));
    out.value.assign(line.substr(colon + 1));
    return true;
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    IcsReadResult read() {
        IcsReadResult result;
        if (bytes_.size() > kMaxFileBytes) return fail(IcsError::TooLarge, 0);
        if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") bytes_.remove_prefix(3);
        if (!isValidUtf8(bytes_)) return fail(IcsError::NotUtf8, lineOfBadByte());
        std::vector<IcsComponent> stack;
        std::string line;
        bool ended = false;
        std::size_t components = 0;
        while (nextLine(line)) {
            if (line.empty()) continue;
            if (ended) return fail(IcsError::Malformed, lineNumber_);
            IcsProperty p;
            if (!splitLine(line, p)) {
                return fail(stack.empty() ? IcsError::NotCalendar : IcsError::Malformed, lineNumber_);
            }
            if (equalsNoCase(p.name, "BEGIN")) {
                if (stack.empty() && !equalsNoCase(p.value, "VCALENDAR")) return fail(IcsError::NotCalendar, lineNumber_);
                if (static_cast<int>(stack.size()) >= kMaxDepth || ++components > kMaxComponents) {
                    return fail(IcsError::TooLarge, lineNumber_);
                }
                stack.push_back(IcsComponent{p.value, {}, {}});
            } else if (equalsNoCase(p.name, "END")) {
                if (stack.empty() || !equalsNoCase(p.value, stack.back().name)) return fail(IcsError::Malformed, lineNumber_);
                IcsComponent done = std::move(stack.back());
                stack.pop_back();
                if (stack.empty()) {
                    result.calendar = std::move(done);
                    ended = true;
                } else {
                    stack.back().components.push_back(std::move(done));
                }
            } else {
                if (stack.empty()) return fail(IcsError::NotCalendar, lineNumber_);
                stack.back().properties.push_back(std::move(p));
            }
        }
        if (tooLong_) return fail(IcsError::TooLarge, lineNumber_);
        if (!ended) return fail(stack.empty() ? IcsError::NotCalendar : IcsError::CutOff, lineNumber_);
        return result;
    }

private:
    static IcsReadResult fail(IcsError error, std::size_t line) {
        IcsReadResult r;
        r.error = error;
        r.line = line;
        return r;
    }

    // One physical line's end at pos: the index after its line break.
    std::size_t physicalEnd(std::size_t pos, std::size_t& contentEnd) const {
        std::size_t i = pos;
        while (i < bytes_.size() && bytes_[i] != '\r' && bytes_[i] != '\n') ++i;
        contentEnd = i;
        if (i < bytes_.size() && bytes_[i] == '\r') ++i;
        if (i < bytes_.size() && bytes_[i] == '\n' && (i == contentEnd || bytes_[i - 1] == '\r')) ++i;
        return i;
    }

    // The next logical (unfolded) line; false at the end or past a line cap.
    bool nextLine(std::string& out) {
        out.clear();
        if (pos_ >= bytes_.size()) return false;
        std::size_t contentEnd = 0;
        std::size_t next = physicalEnd(pos_, contentEnd);
        ++lineNumber_;
        out.append(bytes_.substr(pos_, contentEnd - pos_));
        pos_ = next;
        while (pos_ < bytes_.size() && (bytes_[pos_] == ' ' || bytes_[pos_] == '\t')) {
            next = physicalEnd(pos_, contentEnd);
            ++lineNumber_;
            if (out.size() + (contentEnd - pos_) > kMaxLineBytes) {
                tooLong_ = true;
                return false;
            }
            out.append(bytes_.substr(pos_ + 1, contentEnd - pos_ - 1));
            pos_ = next;
        }
        if (out.size() > kMaxLineBytes) {
            tooLong_ = true;
            return false;
        }
        return true;
    }

    std::size_t lineOfBadByte() const {
        std::size_t line = 1;
        for (std::size_t i = 0; i < bytes_.size();) {
            const std::size_t start = i;
            while (i < bytes_.size() && bytes_[i] != '\n') ++i;
            if (!isValidUtf8(bytes_.substr(start, i - start))) return line;
            ++i;
            ++line;
        }
        return line;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t lineNumber_ = 0;
    bool tooLong_ = false;
};

void appendFolded(std::string& out, std::string_view line) {
    constexpr std::size_t kFold = 75;
    std::size_t width = kFold;
    while (line.size() > width) {
        std::size_t cut = width;
        while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        width = kFold - 1;  // the leading space counts
    }
    out.append(line);
    out += "\r\n";
}

void writeComponent(std::string& out, const IcsComponent& c) {
    appendFolded(out, "BEGIN:" + c.name);
    for (const IcsProperty& p : c.properties) appendFolded(out, contentLine(p));
    for (const IcsComponent& child : c.components) writeComponent(out, child);
    appendFolded(out, "END:" + c.name);
}

}  // namespace

const IcsProperty* IcsComponent::find(std::string_view propertyName) const {
    for (const IcsProperty& p : properties) {
        if (equalsNoCase(p.name, propertyName)) return &p;
    }
    return nullptr;
}

IcsReadResult readIcs(std::string_view bytes) { return Reader(bytes).read(); }

std::optional<std::string> parameterOf(const IcsProperty& property, std::string_view name) {
    std::string_view rest = property.parameters;
    while (!rest.empty() && rest[0] == ';') {
        rest.remove_prefix(1);
        std::size_t end = 0;
        bool quoted = false;
        while (end < rest.size() && (quoted || rest[end] != ';')) {
            if (rest[end] == '"') quoted = !quoted;
            ++end;
        }
        const std::string_view item = rest.substr(0, end);
        rest.remove_prefix(end);
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos || !equalsNoCase(item.substr(0, equals), name)) continue;
        std::string value(item.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

std::string contentLine(const IcsProperty& property) { return property.name + property.parameters + ":" + property.value; }

std::string writeIcs(const IcsComponent& calendar) {
    std::string out;
    writeComponent(out, calendar);
    return out;
}

}  // namespace tavro::reminders
