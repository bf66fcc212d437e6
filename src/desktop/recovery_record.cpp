#include "desktop/recovery_record.h"

#include <climits>

namespace tavro::desktop {

namespace {

constexpr wchar_t kEscape = L'%';
constexpr std::wstring_view kHex = L"0123456789ABCDEF";

constexpr wchar_t kSeparator = L'|';

// Lone halves of surrogate pairs are escaped too: whatever reads the value as text keeps them.
bool keptAsIs(wchar_t c) {
    return c >= 0x20 && c != 0x7F && (c < 0xD800 || c > 0xDFFF) && c != kEscape && c != kSeparator;
}

std::wstring partName(int index) { return std::wstring(kRecordPartName) + std::to_wstring(index); }

int hexValue(wchar_t c) {
    const auto at = kHex.find(c);
    return at == std::wstring_view::npos ? -1 : static_cast<int>(at);
}

// The fields one after another, each escaped, so that the separator never occurs inside one.
class FieldWriter {
public:
    void text(std::wstring_view field) {
        if (started_) out_ += kSeparator;
        started_ = true;
        out_ += escapeRecordText(field);
    }
    void number(int64_t value) { text(std::to_wstring(value)); }
    std::wstring out_;

private:
    bool started_ = false;
};

class FieldReader {
public:
    explicit FieldReader(std::wstring_view all) {
        for (std::size_t from = 0;;) {
            const std::size_t end = all.find(kSeparator, from);
            fields_.push_back(all.substr(from, end == std::wstring_view::npos ? std::wstring_view::npos : end - from));
            if (end == std::wstring_view::npos) break;
            from = end + 1;
        }
    }
    std::optional<std::wstring> text() {
        if (at_ >= fields_.size()) return std::nullopt;
        return unescapeRecordText(fields_[at_++]);
    }
    // Whole numbers in [low, high] only.
    std::optional<int32_t> number(int32_t low, int32_t high) {
        const auto t = text();
        if (!t || t->empty() || t->size() > 11) return std::nullopt;
        int64_t value = 0;
        for (std::size_t i = (*t)[0] == L'-' ? 1 : 0; i < t->size(); ++i) {
            if ((*t)[i] < L'0' || (*t)[i] > L'9') return std::nullopt;
            value = value * 10 + ((*t)[i] - L'0');
        }
        if ((*t)[0] == L'-') value = -value;
        if (value < low || value > high) return std::nullopt;
        return static_cast<int32_t>(value);
    }
    bool done() const { return at_ == fields_.size(); }

private:
    std::vector<std::wstring_view> fields_;
    std::size_t at_ = 0;
};

constexpr int32_t kMaxListed = 4096;

std::wstring recordText(const DesktopSettings& s) {
    FieldWriter w;
    w.text(s.wallPaper);
    w.text(s.style);
    w.text(s.tile);
    w.text(s.ownWallPaper);
    w.number(static_cast<int64_t>(s.kept.size()));
    for (const KeptPicture& k : s.kept) {
        w.text(k.original);
        w.text(k.copy);
    }
    w.number(s.shell ? 1 : 0);
    if (s.shell) {
        w.number(s.shell->position);
        w.number(s.shell->slideshow ? 1 : 0);
        w.number(s.shell->slideshowOptions);
        w.number(s.shell->slideshowTick);
        w.number(static_cast<int64_t>(s.shell->slideshowItems.size()));
        for (const std::wstring& item : s.shell->slideshowItems) w.text(item);
        w.number(static_cast<int64_t>(s.shell->monitors.size()));
        for (const MonitorPicture& m : s.shell->monitors) {
            w.text(m.monitor);
            w.text(m.picture);
        }
    }
    return w.out_;
}

std::optional<DesktopSettings> parseRecordText(std::wstring_view text) {
    FieldReader r(text);
    DesktopSettings s;
    const auto wallPaper = r.text(), style = r.text(), tile = r.text(), own = r.text();
    const auto kept = r.number(0, kMaxListed);
    if (!wallPaper || !style || !tile || !own || !kept) return std::nullopt;
    s.wallPaper = *wallPaper;
    s.style = *style;
    s.tile = *tile;
    s.ownWallPaper = *own;
    for (int32_t i = 0; i < *kept; ++i) {
        auto original = r.text(), copy = r.text();
        if (!original || !copy) return std::nullopt;
        s.kept.push_back({std::move(*original), std::move(*copy)});
    }
    const auto hasShell = r.number(0, 1);
    if (!hasShell) return std::nullopt;
    if (*hasShell) {
        ShellWallPaper shell;
        const auto position = r.number(INT32_MIN, INT32_MAX), slideshow = r.number(0, 1);
        const auto options = r.number(INT32_MIN, INT32_MAX), tick = r.number(INT32_MIN, INT32_MAX);
        const auto items = r.number(0, kMaxListed);
        if (!position || !slideshow || !options || !tick || !items) return std::nullopt;
        shell.position = *position;
        shell.slideshow = *slideshow == 1;
        shell.slideshowOptions = *options;
        shell.slideshowTick = *tick;
        for (int32_t i = 0; i < *items; ++i) {
            auto item = r.text();
            if (!item) return std::nullopt;
            shell.slideshowItems.push_back(std::move(*item));
        }
        const auto monitors = r.number(0, kMaxListed);
        if (!monitors) return std::nullopt;
        for (int32_t i = 0; i < *monitors; ++i) {
            auto monitor = r.text(), picture = r.text();
            if (!monitor || !picture) return std::nullopt;
            shell.monitors.push_back({std::move(*monitor), std::move(*picture)});
        }
        s.shell = std::move(shell);
    }
    if (!r.done()) return std::nullopt;
    return s;
}

// The colour, the length of the rest (a record cut short is no record), then the fields.
std::wstring wholeRecordText(const DesktopSettings& s) {
    const std::wstring fields = recordText(s);
    return std::to_wstring(s.colour & 0xFFFFFF) + kSeparator + std::to_wstring(fields.size()) + kSeparator + fields;
}

std::optional<DesktopSettings> parseWholeRecord(std::wstring_view text) {
    const std::size_t first = text.find(kSeparator);
    const std::size_t second = first == std::wstring_view::npos ? first : text.find(kSeparator, first + 1);
    if (second == std::wstring_view::npos) return std::nullopt;
    FieldReader head(text.substr(0, second));
    const auto colour = head.number(0, 0xFFFFFF), length = head.number(0, INT32_MAX);
    const std::wstring_view fields = text.substr(second + 1);
    if (!colour || !length || static_cast<std::size_t>(*length) != fields.size()) return std::nullopt;
    auto settings = parseRecordText(fields);
    if (settings) settings->colour = *colour;
    return settings;
}

// The first version kept the wallpaper alone, escaped as now but with "|" as it is, and never
// changed the style, so the style now in force is the user's own. A path never holds "|", so a
// text without one is such a record.
std::optional<DesktopSettings> parseWallPaperOnlyRecord(std::wstring_view text) {
    if (text.find(kSeparator) != std::wstring_view::npos) return std::nullopt;
    auto wallPaper = unescapeRecordText(text);
    if (!wallPaper) return std::nullopt;
    DesktopSettings s;
    s.wallPaper = std::move(*wallPaper);
    s.style = s.tile = std::wstring(kCentred);
    return s;
}

}  // namespace

std::wstring escapeRecordText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        if (keptAsIs(c)) {
            out += c;
            continue;
        }
        const auto unit = static_cast<uint16_t>(c);
        out += kEscape;
        for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
    }
    return out;
}

std::optional<std::wstring> unescapeRecordText(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c != kEscape) {
            if (!keptAsIs(c)) return std::nullopt;
            out += c;
            continue;
        }
        if (text.size() - i < 5) return std::nullopt;
        unsigned unit = 0;
        for (std::size_t k = 1; k <= 4; ++k) {
            const int v = hexValue(text[i + k]);
            if (v < 0) return std::nullopt;
            unit = unit * 16 + static_cast<unsigned>(v);
        }
        out += static_cast<wchar_t>(unit);
        i += 4;
    }
    return out;
}

namespace {
// As the release before wrote it: numbered parts and the colour apart.
std::optional<DesktopSettings> loadPartedRecord(RecordStore& store) {
    const auto parts = store.readNumber(kRecordPartsName);
    const auto colour = store.readNumber(kRecordColourName);
    if (!parts || !colour || *parts < 1 || *parts > kRecordMaxParts) return std::nullopt;
    if (*colour < 0 || *colour > 0xFFFFFF) return std::nullopt;
    std::wstring text;
    for (int i = 1; i <= *parts; ++i) {
        const auto part = store.readText(partName(i));
        if (!part) return std::nullopt;
        text += *part;
    }
    auto settings = parseRecordText(text);
    if (!settings) settings = parseWallPaperOnlyRecord(text);
    if (!settings) return std::nullopt;
    settings->colour = *colour;
    return settings;
}

void clearPartedRecord(RecordStore& store) {
    store.remove(kRecordPartsName);
    store.remove(kRecordColourName);
    for (int i = 1; i <= kRecordMaxParts; ++i) store.remove(partName(i));
}
}  // namespace

std::optional<DesktopSettings> loadRecord(RecordStore& store) {
    if (const auto text = store.readText(kRecordName)) return parseWholeRecord(*text);
    return loadPartedRecord(store);
}

bool saveRecord(RecordStore& store, const DesktopSettings& originals) {
    const std::wstring text = wholeRecordText(originals);
    if (!store.writeText(kRecordName, text) || store.readText(kRecordName) != text) return false;
    clearPartedRecord(store);
    return true;
}

void clearRecord(RecordStore& store) {
    store.remove(kRecordName);
    clearPartedRecord(store);
}

}  // namespace tavro::desktop
