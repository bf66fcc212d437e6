// Which occurrences were told, kept under the program's key so that a restart, a resume or a
// clock set back does not tell them again. Occurrences are told in time order, so one moment per
// reminder says it all: every start up to it was told. A snoozed occurrence waits beside it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reminders/local_minute.h"

namespace tavro::reminders {

struct Snooze {
    LocalMinute start = 0;  // the occurrence snoozed
    LocalMinute until = 0;  // when it is told once more
    bool operator==(const Snooze&) const = default;
};

// Caps for the stored text: longer texts and lines beyond the count are ignored.
inline constexpr std::size_t kMaxToldTextBytes = 1u << 20;
inline constexpr std::size_t kMaxToldEntries = 20000;

class ToldOccurrences {
public:
    // True when the reminder's occurrence starting at `start` was told.
    bool isTold(std::string_view key, LocalMinute start) const;
    // The latest start told of the reminder, if any.
    std::optional<LocalMinute> toldThrough(std::string_view key) const;
    // Records the occurrence (and every earlier one) as told.
    void markTold(std::string_view key, LocalMinute start);

    void setSnooze(std::string_view key, Snooze snooze);
    void clearSnooze(std::string_view key);
    std::optional<Snooze> snoozeOf(std::string_view key) const;
    // The reminders' keys hashed, with their snoozes: for the due check.
    struct Entry {
        uint64_t hash = 0;
        LocalMinute toldThrough = 0;
        std::optional<Snooze> snooze;
        bool operator==(const Entry&) const = default;
    };
    const std::vector<Entry>& entries() const { return entries_; }

    // Forgets the reminders not among these keys (deleted ones).
    void keepOnly(const std::vector<std::string>& keys);

    // One line per reminder: "<key hash, 16 hex> <told yyyymmddThhmm>[ <snoozed start>-<until>]".
    std::string text() const;
    // The stored text back; anything malformed, too long or too many is skipped, never an error.
    static ToldOccurrences parse(std::string_view text);

    static uint64_t hashOf(std::string_view key);
    bool operator==(const ToldOccurrences&) const = default;

private:
    Entry* find(uint64_t hash);
    const Entry* find(uint64_t hash) const;
    std::vector<Entry> entries_;
};

}  // namespace tavro::reminders
