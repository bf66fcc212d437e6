#include <gtest/gtest.h>

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
        {"after a kill: wallpaper, style, copy, colour", ours, record, ownedBy(recorded, kOwn, {copy})},
        {"a wallpaper picked since wins with its style", settings(L"C:\\hills.jpg", kDesktopColour, L"10"), record,
         ownedBy(settings(L"C:\\hills.jpg", 0x102030, L"10"), kOwn)},
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

TEST(KeepPictures, ARewrittenPictureIsCopiedOnceUnderAFreeNameAndAFailedCopyShows) {
    FakeDesktop fake;
    const std::wstring second = std::wstring(kThemes) + L"\\Transcoded_001", copy0 = kMine + L"\\wallpaper0";
    fake.files = {{kTranscoded, "user"}, {second, "second"}};
    auto originals = keepPictures(fake, withShell(settings(kTranscoded, 1), {{L"A", kTranscoded}, {L"B", second}}), kThemes, kMine);
    EXPECT_EQ(originals.kept, (std::vector<KeptPicture>{{kTranscoded, copy0}, {second, kMine + L"\\wallpaper1"}}));
    EXPECT_EQ(fake.files[kMine + L"\\wallpaper1"], "second");
    EXPECT_TRUE(everyPictureKept(originals, kThemes));
    // A copy that an exit could not copy back is still in force on a monitor: its name is not taken.
    originals = keepPictures(fake, withShell(settings(kTranscoded, 1), {{L"A", copy0}}), kThemes, kMine);
    EXPECT_EQ(originals.kept, (std::vector<KeptPicture>{{kTranscoded, kMine + L"\\wallpaper1"}}));

    fake.unwritable = copy0;
    originals = keepPictures(fake, settings(kTranscoded, 1), kThemes, kMine);
    EXPECT_TRUE(originals.kept.empty());
    EXPECT_FALSE(everyPictureKept(originals, kThemes));
    EXPECT_TRUE(everyPictureKept(settings(L"C:\\sea.jpg", 1), kThemes));
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
    // A first version's record has no per-monitor part: the wallpaper alone comes back.
    FakeDesktop fake;
    fake.now = running;
    restoreDesktop(fake, ownedBy(settings(L"C:\\sea.jpg", 0x102030), kOwn), RestoreOrder::ColourFirst);
    EXPECT_EQ(fake.calls, (std::vector<std::wstring>{kBack, L"style 2/0", L"wallpaper C:\\sea.jpg"}));
}

}  // namespace
}  // namespace tavro::desktop
