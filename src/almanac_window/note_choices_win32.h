// The groups of a day's notes the user chose to see (六曜, 干支, 月, 雑節, 選日), kept in the
// program's key (settings/settings_table.h: kAlmanacShows) for the 暦 window and the desktop
// calendar's day tooltips alike.
#pragma once

#include "almanac/day_note.h"

namespace tavro::almanac_window {

// Read afresh at each call: the tooltips follow a choice made in the 暦 window at their next showing.
almanac::NoteGroups readNoteChoices();
void storeNoteChoice(almanac::NoteGroup group, bool shown);

}  // namespace tavro::almanac_window
