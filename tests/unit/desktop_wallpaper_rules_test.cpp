#include <gtest/gtest.h>

#include <algorithm>

#include "desktop/desktop_changes.h"
#include "desktop/wallpaper_rules.h"
#include "desktop_fakes.h"

namespace tavro::desktop {
namespace {

constexpr std::wstring_view kThemes = L"C:\\U\\AppData\\Roaming\\Microsoft\\Windows\\Themes";
const std::wstring kTranscoded = std::wstring(kThemes) + L"\\TranscodedWallpaper";
const std::wstring kOwn = L"C:\\U\\Pictures\\mosaic.bmp", kMine = L"C:\\U\\Local\\TavroClock";

TEST(Paths, TheFileTheBufferTheFilesTheSystemRewritesAndTheirCopies) {
    EXPECT_EQ(wallpaperPath(L"C:\\P", L"C:\\D"), L"C:\\P\\mosaic.bmp");
    EXPECT_EQ(wallpaperPath(L"", L"C:\\写真"), L"C:\\写真\\mosaic.bmp");
    const wchar_t buffer[] = {L'a', L'b', L'\0', L'c'}, full[] = {L'x', L'y'};
    EXPECT_EQ(textBeforeNul(buffer, 4) + textBeforeNul(full, 2) + textBeforeNul(nullptr, 4), L"abxy");
    EXPECT_TRUE(isRewrittenBySystem(L"c:\\u\\appdata\\roaming\\microsoft\\windows\\THEMES\\Transcoded_001", kThemes));
    for (const std::wstring& other : {std::wstring(kThemes) + L"2\\a.jpg", std::wstring(kThemes) + L"\\", std::wstring(L"C:\\a.jpg")})
        EXPECT_FALSE(isRewrittenBySystem(other, kThemes)) << other;
    EXPECT_FALSE(isRewrittenBySystem(kTranscoded, L""));
    EXPECT_EQ(copyPathFor(kMine, 0, kTranscoded), kMine + L"\\wallpaper0");
    EXPECT_EQ(copyPathFor(kMine, 2, L"C:\\a.b\\sea.jpg"), kMine + L"\\wallpaper2.jpg");
}

DesktopSettings settings(std::wstring wallPaper, render::ColorRef colour, std::wstring style = L"2", std::wstring tile = L"0") {
    return {std::move(wallPaper), colour, std::move(style), std::move(tile), std::nullopt, {}, {}};
}
DesktopSettings withShell(DesktopSettings s, std::vector<MonitorPicture> monitors, bool slideshow = false,
                          int position = 4) {
    s.shell = ShellWallPaper{position, slideshow, slideshow ? std::vector<std::wstring>{L"C:\\Show"} : std::vector<std::wstring>{},
                             1, 60000, std::move(monitors)};
    return s;
}
DesktopSettings ownedBy(DesktopSettings s, std::wstring own, std::vector<KeptPicture> kept = {}) {
    s.ownWallPaper = std::move(own);
    s.kept = std::move(kept);
    return s;
}

TEST(OriginalsAtStart, TheRecordStandsForWhatStillShowsOursAndTheUsersLaterChoiceWins) {
    const DesktopSettings ours = settings(kOwn, kDesktopColour, L"0");
    const KeptPicture copy{kTranscoded, kMine + L"\\wallpaper0"};
    const auto recorded = ownedBy(settings(kTranscoded, 0x102030), kOwn, {copy});
    const std::optional<DesktopSettings> record = recorded;
    const auto movedRecord = ownedBy(settings(L"C:\\sea.jpg", 0x102030, L"2", L"1"), L"C:\\Old\\mosaic.bmp");
    struct Row { const char* name; DesktopSettings now; std::optional<DesktopSettings> record; DesktopSettings expected; } rows[] = {
        {"no record: all in force is the user's", settings(L"C:\\sea.jpg", 1), std::nullopt,
         ownedBy(settings(L"C:\\sea.jpg", 1), kOwn)},
        {"ours with no record: nothing better known", ours, std::nullopt, ownedBy(ours, kOwn)},
        {"a colour picked since wins", settings(kOwn, 0x00FF00, L"0"), record,
         ownedBy(settings(kTranscoded, 0x00FF00), kOwn, {copy})},
        {"our file in a folder moved since", settings(L"C:\\Old\\mosaic.bmp", kDesktopColour, L"0"), movedRecord,
         ownedBy(settings(L"C:\\sea.jpg", 0x102030, L"2", L"1"), kOwn)},
        {"another spelling is not ours", settings(L"C:\\U\\PICTURES\\mosaic.bmp", 7), record,
         ownedBy(settings(L"C:\\U\\PICTURES\\mosaic.bmp", 7), kOwn)},
        {"per monitor; a removed one dropped, a new one takes the wallpaper, the slideshow back",
         withShell(ours, {{L"A", kOwn}, {L"C", kOwn}}, false, kCentredPosition), withShell(recorded, {{L"A", L"C:\\a.jpg"}, {L"B", L"C:\\b.jpg"}}, true),
         ownedBy(withShell(recorded, {{L"A", L"C:\\a.jpg"}, {L"C", kTranscoded}}, true), kOwn, {copy})},
        {"a monitor the user changed since keeps its picture; no slideshow over it",
         withShell(settings(L"C:\\new.jpg", 1), {{L"A", kOwn}, {L"B", L"C:\\new.jpg"}}, false, kCentredPosition),
         withShell(recorded, {{L"A", L"C:\\a.jpg"}, {L"B", L"C:\\b.jpg"}}, true),
         ownedBy(withShell(settings(L"C:\\new.jpg", 1), {{L"A", L"C:\\a.jpg"}, {L"B", L"C:\\new.jpg"}}, false, kCentredPosition),
                 kOwn)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(originalsAtStart(row.now, row.record, kOwn), row.expected);
    }
}

const std::wstring kBack = L"colour " + std::to_wstring(0x102030);

TEST(RestoreDesktop, TheUsersPictureComesBackDurablyWhatTheUserChoseStaysAndCopiesGo) {
    const std::wstring copy = kMine + L"\\wallpaper0";
    const auto originals = ownedBy(withShell(settings(kTranscoded, 0x102030), {{L"A", kTranscoded}, {L"B", L"C:\\b.jpg"}}, true),
                                   kOwn, {{kTranscoded, copy}});
    const auto running = withShell(settings(kOwn, kDesktopColour, L"0"), {{L"A", kOwn}, {L"B", kOwn}, {L"N", kOwn}});
    // `transcoded`: what the themes file holds at exit.
    struct Row { const char* name; DesktopSettings now; std::string transcoded; std::wstring unwritable; RestoreOrder order;
                 std::vector<std::wstring> calls; std::map<std::wstring, std::string> files; } rows[] = {
        {"overwritten by the system: copied back", running, "mosaic", L"", RestoreOrder::ColourFirst,
         {kBack, L"style 2/0", L"wallpaper " + kTranscoded, L"monitor A " + kTranscoded, L"monitor B C:\\b.jpg",
          L"monitor N " + kTranscoded, L"position 4", L"slideshow C:\\Show"},
         {{kTranscoded, "user"}}},
        {"the file still the user's; log-off sets the colour last", running, "user", L"", RestoreOrder::WallPaperFirst,
         {L"style 2/0", L"wallpaper " + kTranscoded, L"monitor A " + kTranscoded, L"monitor B C:\\b.jpg",
          L"monitor N " + kTranscoded, L"position 4", L"slideshow C:\\Show", kBack},
         {{kTranscoded, "user"}}},
        {"cannot copy back: the copy becomes the wallpaper and stays",
         withShell(settings(kOwn, kDesktopColour, L"0"), {{L"A", kOwn}}), "mosaic", kTranscoded, RestoreOrder::ColourFirst,
         {kBack, L"style 2/0", L"wallpaper " + copy, L"monitor A " + copy, L"position 4", L"slideshow C:\\Show"},
         {{kTranscoded, "mosaic"}, {copy, "user"}}},
        {"the user's later choices stay", withShell(settings(L"C:\\new.jpg", kDesktopColour, L"6"), {{L"A", L"C:\\new.jpg"}, {L"B", kOwn}}),
         "user", L"", RestoreOrder::ColourFirst, {kBack, L"monitor B C:\\b.jpg"}, {{kTranscoded, "user"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeDesktop fake;
        fake.now = row.now;
        fake.now.shell->position = kCentredPosition;
        fake.files = {{kTranscoded, row.transcoded}, {copy, "user"}};
        fake.unwritable = row.unwritable;
        restoreDesktop(fake, originals, row.order);
        EXPECT_EQ(fake.calls, row.calls);
        EXPECT_EQ(fake.files, row.files);
    }
}

// Start-up's takeover of the desktop and the mending of a killed run.
TEST(DesktopChanges, TheDesktopChangesOnlyOnceItsWayBackIsSavedAndAKilledRunIsMendedAlike) {
    using Files = std::map<std::wstring, std::string>;
    const std::wstring second = std::wstring(kThemes) + L"\\Transcoded_001", copy = kMine + L"\\wallpaper";
    const std::wstring mosaic = L"colour " + std::to_wstring(kDesktopColour);
    const std::vector<std::wstring> taken{L"style 0/0", L"wallpaper " + kOwn, mosaic};
    const DesktopSettings user = settings(kTranscoded, 0x102030), ours = settings(kOwn, kDesktopColour, L"0");
    const DesktopSettings three = withShell(user, {{L"A", kTranscoded}, {L"B", second}, {L"C", copy + L"0"}});
    const DesktopSettings killedRecord = ownedBy(user, kOwn, {{kTranscoded, copy + L"0"}});
    const Files users{{kTranscoded, "user"}}, killed{{kTranscoded, "mosaic"}, {copy + L"0", "user"}};
    MapStore none, failing, earlier, releaseBefore;
    failing.failing = kRecordName;
    saveRecord(earlier, killedRecord);
    releaseBefore.numbers = {{std::wstring(kRecordPartsName), 1}, {std::wstring(kRecordColourName), 0x102030}};
    releaseBefore.texts = {{std::wstring(kRecordPartName) + L"1", L"C:\\sea.jpg|2|0|" + kOwn + L"|0|0"}};
    struct Row { const char* name; bool start; DesktopSettings now; Files files; MapStore store; std::wstring unwritable;
                 std::vector<std::wstring> calls; Files filesAfter; std::optional<DesktopSettings> recordAfter; } rows[] = {
        {"a start: recorded with a copy first, then the wallpaper, centred, and the colour", true, user, users, none, L"", taken,
         {{kTranscoded, "user"}, {copy + L"0", "user"}}, killedRecord},
        {"each picture copied under a name no picture in force has (a copy an exit could not put back)", true, three,
         {{kTranscoded, "user"}, {second, "2"}, {copy + L"0", "0"}}, none, L"", taken,
         {{kTranscoded, "user"}, {second, "2"}, {copy + L"0", "0"}, {copy + L"1", "user"}, {copy + L"2", "2"}},
         ownedBy(three, kOwn, {{kTranscoded, copy + L"1"}, {second, copy + L"2"}})},
        {"the record cannot be saved: nothing changes, no copy stays", true, user, users, failing, L"", {}, users, std::nullopt},
        {"a picture that cannot be copied: the wallpaper and its style stay", true, user, users, none, copy + L"0", {mosaic}, users,
         ownedBy(user, kOwn)},
        {"a start after a kill: the killed run mended, then the desktop taken anew", true, ours, killed, earlier, L"",
         {kBack, L"style 2/0", L"wallpaper " + kTranscoded, L"style 0/0", L"wallpaper " + kOwn, mosaic},
         {{kTranscoded, "user"}, {copy + L"0", "user"}}, killedRecord},
        {"mended (a start with the choice off, /restore-desktop): the picture copied back, the copy gone", false, ours, killed,
         earlier, L"", {kBack, L"style 2/0", L"wallpaper " + kTranscoded}, users, std::nullopt},
        {"mended: a wallpaper picked since stays, the copy of the one it replaced goes", false, settings(L"C:\\hills.jpg", kDesktopColour, L"10"),
         killed, earlier, L"", {kBack}, {{kTranscoded, "mosaic"}}, std::nullopt},
        {"mended from a record of the release before, which has no per-monitor part", false, withShell(ours, {{L"A", kOwn}}), {},
         releaseBefore, L"", {kBack, L"style 2/0", L"wallpaper C:\\sea.jpg"}, {}, std::nullopt},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeDesktop fake;
        fake.now = row.now, fake.files = row.files, fake.unwritable = row.unwritable;
        const DesktopPaths paths{kOwn, std::wstring(kThemes), kMine};
        DesktopTakeover t;
        if (row.start) t = takeOverDesktop(fake, row.store, paths, [] { return true; });
        else mendKilledRun(fake, row.store, paths);
        // Exit puts back exactly what a kept record allows; a new screen repaints only our wallpaper.
        const bool ours = std::count(row.calls.begin(), row.calls.end(), L"wallpaper " + kOwn) > 0;
        EXPECT_EQ(std::pair(t.changed, t.wallPaperChanged), std::pair(row.start && row.recordAfter.has_value(), row.start && ours));
        EXPECT_EQ(fake.calls, row.calls);
        EXPECT_EQ(fake.files, row.filesAfter);
        EXPECT_EQ(loadRecord(row.store), row.recordAfter);
    }
}

}  // namespace
}  // namespace tavro::desktop
