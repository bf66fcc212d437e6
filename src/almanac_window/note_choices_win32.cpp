#include "almanac_window/note_choices_win32.h"

#include "settings/registry_store.h"

namespace tavro::almanac_window {

static_assert(std::size(settings::kAlmanacShows) == almanac::kNoteGroupCount);

almanac::NoteGroups readNoteChoices() {
    almanac::NoteGroups groups;
    for (int i = 0; i < almanac::kNoteGroupCount; ++i)
        groups.show(static_cast<almanac::NoteGroup>(i), settings::readSetting(settings::kAlmanacShows[i]) != 0);
    return groups;
}

void storeNoteChoice(almanac::NoteGroup group, bool shown) {
    const int i = static_cast<int>(group);
    if (i >= 0 && i < almanac::kNoteGroupCount) settings::writeSetting(settings::kAlmanacShows[i], shown ? 1 : 0);
}

}  // namespace tavro::almanac_window
