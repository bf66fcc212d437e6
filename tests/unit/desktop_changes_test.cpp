// Start-up's takeover of the desktop and the mending of a killed run, on the fake system.
#include "desktop/desktop_changes.h"

#include <gtest/gtest.h>

#include "desktop_fakes.h"

namespace tavro::desktop {
namespace {

constexpr std::wstring_view kThemes = L"C:\\U\\AppData\\Roaming\\Microsoft\\Windows\\Themes";
const std::wstring kTranscoded = std::wstring(kThemes) + L"\\TranscodedWallpaper";
const std::wstring kOwn = L"C:\\U\\Pictures\\mosaic.bmp", kMine = L"C:\\U\\Local\\TavroClock", kCopy = kMine + L"\\wallpaper0";
const std::wstring kBack = L"colour " + std::to_wstring(0x102030), kMosaic = L"colour " + std::to_wstring(kDesktopColour);
const DesktopSettings kUser{kTranscoded, 0x102030, L"2", L"0", std::nullopt, {}, {}};
const DesktopSettings kOurs{kOwn, kDesktopColour, L"0", L"0", std::nullopt, {}, {}};

DesktopSettings recorded(DesktopSettings s, std::vector<KeptPicture> kept) {
    s.ownWallPaper = kOwn, s.kept = std::move(kept);
    return s;
}
MapStore storeWith(const std::optional<DesktopSettings>& record, std::map<std::wstring, std::wstring> texts = {},
                   std::map<std::wstring, int32_t> numbers = {}) {
    MapStore store;
    if (record) saveRecord(store, *record);
    store.texts.insert(texts.begin(), texts.end());
    store.numbers = std::move(numbers);
    return store;
}

TEST(DesktopChanges, TheDesktopChangesOnlyOnceItsWayBackIsSavedAndAKilledRunIsMendedAlike) {
    using Files = std::map<std::wstring, std::string>;
    const Files killed{{kTranscoded, "mosaic"}, {kCopy, "user"}};
    const DesktopSettings killedRecord = recorded(kUser, {{kTranscoded, kCopy}});
    struct Row { const char* name; bool start; DesktopSettings now; Files files; MapStore store; std::wstring unwritable; bool pictureSaved;
                 std::vector<std::wstring> calls; Files filesAfter; std::optional<DesktopSettings> recordAfter; bool changed; } rows[] = {
        {"a start: recorded with a copy first, then the wallpaper, centred, and the colour", true, kUser, {{kTranscoded, "user"}},
         storeWith(std::nullopt), L"", true, {L"style 0/0", L"wallpaper " + kOwn, kMosaic}, {{kTranscoded, "user"}, {kCopy, "user"}},
         killedRecord, true},
        {"the record cannot be saved: nothing changes, no copy stays", true, kUser, {{kTranscoded, "user"}},
         [] { MapStore s; s.failing = kRecordName; return s; }(), L"", true, {}, {{kTranscoded, "user"}}, std::nullopt, false},
        {"a picture that cannot be copied: the wallpaper and its style stay", true, kUser, {{kTranscoded, "user"}}, storeWith(std::nullopt),
         kCopy, true, {kMosaic}, {{kTranscoded, "user"}}, recorded(kUser, {}), true},
        {"the program's picture cannot be written: the wallpaper stays", true, kUser, {{kTranscoded, "user"}}, storeWith(std::nullopt),
         L"", false, {kMosaic}, {{kTranscoded, "user"}, {kCopy, "user"}}, killedRecord, true},
        {"a start after a kill: the killed run mended, then the desktop taken anew", true, kOurs, killed, storeWith(killedRecord), L"", true,
         {kBack, L"style 2/0", L"wallpaper " + kTranscoded, L"style 0/0", L"wallpaper " + kOwn, kMosaic},
         {{kTranscoded, "user"}, {kCopy, "user"}}, killedRecord, true},
        {"mended (a start with the choice off, /restore-desktop): the picture copied back, the copy gone", false, kOurs, killed,
         storeWith(killedRecord), L"", true, {kBack, L"style 2/0", L"wallpaper " + kTranscoded}, {{kTranscoded, "user"}}, std::nullopt, false},
        {"mended: a wallpaper picked since stays, the copy of the one it replaced goes", false,
         {L"C:\\hills.jpg", kDesktopColour, L"10", L"0", std::nullopt, {}, {}}, killed, storeWith(killedRecord), L"", true, {kBack},
         {{kTranscoded, "mosaic"}}, std::nullopt, false},
        {"mended from a record of the release before", false, kOurs, {},
         storeWith(std::nullopt, {{std::wstring(kRecordPartName) + L"1", L"C:\\sea.jpg|2|0|" + kOwn + L"|0|0"}},
                   {{std::wstring(kRecordPartsName), 1}, {std::wstring(kRecordColourName), 0x102030}}),
         L"", true, {kBack, L"style 2/0", L"wallpaper C:\\sea.jpg"}, {}, std::nullopt, false},
        {"no record, or a cut one: nothing", false, kOurs, killed, storeWith(std::nullopt, {{std::wstring(kRecordName), L"1056816|40|C:\\sea"}}),
         L"", true, {}, killed, std::nullopt, false},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeDesktop fake;
        fake.now = row.now, fake.files = row.files, fake.unwritable = row.unwritable;
        const DesktopPaths paths{kOwn, std::wstring(kThemes), kMine};
        if (row.start) EXPECT_EQ(takeOverDesktop(fake, row.store, paths, [&] { return row.pictureSaved; }).changed, row.changed);
        else mendKilledRun(fake, row.store, paths);
        EXPECT_EQ(fake.calls, row.calls);
        EXPECT_EQ(fake.files, row.filesAfter);
        EXPECT_EQ(loadRecord(row.store), row.recordAfter);
    }
}

}  // namespace
}  // namespace tavro::desktop
