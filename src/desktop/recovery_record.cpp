#include "desktop/recovery_record.h"

#include <algorithm>

namespace tavro::desktop {

namespace {

constexpr wchar_t kEscape = L'%';
constexpr std::wstring_view kHex = L"0123456789ABCDEF";

bool keptAsIs(wchar_t c) { return c >= 0x20 && c <= 0x7E && c != kEscape; }

std::wstring partName(int index) { return std::wstring(kRecordPartName) + std::to_wstring(index); }

int hexValue(wchar_t c) {
    const auto at = kHex.find(c);
    return at == std::wstring_view::npos ? -1 : static_cast<int>(at);
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

std::optional<DesktopSettings> loadRecord(RecordStore& store) {
    const auto parts = store.readNumber(kRecordPartsName);
    const auto colour = store.readNumber(kRecordColourName);
    if (!parts || !colour || *parts < 1 || *parts > kRecordMaxParts) return std::nullopt;
    if (*colour < 0 || *colour > 0xFFFFFF) return std::nullopt;
    std::wstring escaped;
    for (int i = 1; i <= *parts; ++i) {
        const auto part = store.readText(partName(i));
        if (!part) return std::nullopt;
        escaped += *part;
    }
    auto wallPaper = unescapeRecordText(escaped);
    if (!wallPaper) return std::nullopt;
    return DesktopSettings{std::move(*wallPaper), *colour};
}

bool saveRecord(RecordStore& store, const DesktopSettings& originals) {
    const std::wstring escaped = escapeRecordText(originals.wallPaper);
    const std::size_t needed = escaped.empty() ? 1 : (escaped.size() + kRecordPartChars - 1) / kRecordPartChars;
    if (needed > static_cast<std::size_t>(kRecordMaxParts)) {
        clearRecord(store);
        return false;
    }
    const int parts = static_cast<int>(needed);
    // The count goes last: a record cut short by a failed write is never read as whole.
    store.remove(kRecordPartsName);
    bool ok = store.writeNumber(kRecordColourName, originals.colour & 0xFFFFFF);
    for (int i = 1; i <= parts; ++i) {
        const std::size_t from = static_cast<std::size_t>(i - 1) * kRecordPartChars;
        const std::wstring_view part = std::wstring_view(escaped).substr(std::min(from, escaped.size()), kRecordPartChars);
        ok = store.writeText(partName(i), part) && ok;
    }
    for (int i = parts + 1; i <= kRecordMaxParts; ++i) store.remove(partName(i));
    if (!ok) return false;
    return store.writeNumber(kRecordPartsName, parts);
}

void clearRecord(RecordStore& store) {
    store.remove(kRecordPartsName);
    store.remove(kRecordColourName);
    for (int i = 1; i <= kRecordMaxParts; ++i) store.remove(partName(i));
}

}  // namespace tavro::desktop
