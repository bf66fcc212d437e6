#include "reminders/told_occurrences.h"

#include <algorithm>
#include <cstdio>

#include "reminders/ics_values.h"

namespace tavro::reminders {
namespace {

std::optional<LocalMinute> minuteOfText(std::string_view s) {
    if (s.size() != 13) return std::nullopt;
    const auto v = parseIcsDateTime(std::string(s) + "00");
    if (!v || v->day < kFirstDay - 366 || v->day > kLastDay + 366) return std::nullopt;
    return v->day * kMinutesPerDay + v->secondOfDay / 60;
}

std::string textOfMinute(LocalMinute m) { return formatIcsDateTime(m).substr(0, 13); }

}  // namespace

uint64_t ToldOccurrences::hashOf(std::string_view key) {
    uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : key) h = (h ^ c) * 1099511628211ULL;
    return h;
}

ToldOccurrences::Entry* ToldOccurrences::find(uint64_t hash) {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), hash, [](const Entry& e, uint64_t h) { return e.hash < h; });
    return it != entries_.end() && it->hash == hash ? &*it : nullptr;
}

const ToldOccurrences::Entry* ToldOccurrences::find(uint64_t hash) const {
    return const_cast<ToldOccurrences*>(this)->find(hash);
}

bool ToldOccurrences::isTold(std::string_view key, LocalMinute start) const {
    const Entry* e = find(hashOf(key));
    return e && start <= e->toldThrough;
}

std::optional<LocalMinute> ToldOccurrences::toldThrough(std::string_view key) const {
    const Entry* e = find(hashOf(key));
    if (!e) return std::nullopt;
    return e->toldThrough;
}

void ToldOccurrences::markTold(std::string_view key, LocalMinute start) {
    const uint64_t h = hashOf(key);
    if (Entry* e = find(h)) e->toldThrough = std::max(e->toldThrough, start);
    else entries_.insert(std::lower_bound(entries_.begin(), entries_.end(), h, [](const Entry& x, uint64_t v) { return x.hash < v; }),
                         Entry{h, start, std::nullopt});
}

void ToldOccurrences::setSnooze(std::string_view key, Snooze snooze) {
    markTold(key, snooze.start);
    find(hashOf(key))->snooze = snooze;
}

void ToldOccurrences::clearSnooze(std::string_view key) {
    if (Entry* e = find(hashOf(key))) e->snooze.reset();
}

std::optional<Snooze> ToldOccurrences::snoozeOf(std::string_view key) const {
    const Entry* e = find(hashOf(key));
    return e ? e->snooze : std::nullopt;
}

void ToldOccurrences::keepOnly(const std::vector<std::string>& keys) {
    std::vector<uint64_t> hashes;
    hashes.reserve(keys.size());
    for (const std::string& k : keys) hashes.push_back(hashOf(k));
    std::sort(hashes.begin(), hashes.end());
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return !std::binary_search(hashes.begin(), hashes.end(), e.hash); }),
                   entries_.end());
}

std::string ToldOccurrences::text() const {
    std::string out;
    out.reserve(entries_.size() * 32);
    for (const Entry& e : entries_) {
        char hash[20];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(e.hash));
        out += hash;
        out += ' ' + textOfMinute(e.toldThrough);
        if (e.snooze) out += ' ' + textOfMinute(e.snooze->start) + '-' + textOfMinute(e.snooze->until);
        out += '\n';
    }
    return out;
}

ToldOccurrences ToldOccurrences::parse(std::string_view text) {
    ToldOccurrences told;
    if (text.size() > kMaxToldTextBytes) return told;
    while (!text.empty() && told.entries_.size() < kMaxToldEntries) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() != 30 && line.size() != 58) continue;
        uint64_t hash = 0;
        bool ok = line[16] == ' ';
        for (std::size_t i = 0; i < 16 && ok; ++i) {
            const char c = line[i];
            const int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            ok = v >= 0;
            hash = hash << 4 | static_cast<uint64_t>(v < 0 ? 0 : v);
        }
        const auto told_ = minuteOfText(line.substr(17, 13));
        if (!ok || !told_) continue;
        Entry e{hash, *told_, std::nullopt};
        if (line.size() == 58) {
            const auto start = minuteOfText(line.substr(31, 13));
            const auto until = minuteOfText(line.substr(45, 13));
            if (line[30] != ' ' || line[44] != '-' || !start || !until) continue;
            e.snooze = Snooze{*start, *until};
        }
        told.entries_.push_back(e);
    }
    auto& v = told.entries_;  // sorted by hash, the first line of a hash kept
    std::stable_sort(v.begin(), v.end(), [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
    v.erase(std::unique(v.begin(), v.end(), [](const Entry& a, const Entry& b) { return a.hash == b.hash; }), v.end());
    return told;
}

}  // namespace tavro::reminders
