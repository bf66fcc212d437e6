#include <gtest/gtest.h>

#include "desktop/recovery_record.h"
#include "desktop_fakes.h"

namespace tavro::desktop {
namespace {

TEST(RecordText, EscapesTheSeparatorTheEscapeAndControlsAndReadsOnlyWhatItWrote) {
    EXPECT_EQ(escapeRecordText(L"a%b|山 \x1F\xD800"), L"a%0025b%007C山 %001F%D800");
    EXPECT_EQ(unescapeRecordText(L"a%0025b%007C山 %001F%D800"), L"a%b|山 \x1F\xD800");
    for (const wchar_t* bad : {L"abc%12", L"%12G4", L"%12a4", L"tab\tinside", L"a|b"}) EXPECT_FALSE(unescapeRecordText(bad)) << bad;
}

// The colour, the length of the fields, the fields.
std::wstring whole(const std::wstring& fields, const std::wstring& colour = L"1056816") {
    return colour + L"|" + std::to_wstring(fields.size()) + L"|" + fields;
}

TEST(RecoveryRecord, EveryFieldComesBackInOneValueHoweverLong) {
    // A slideshow of 80 photos in a folder with a Japanese name, of a user with a Japanese name.
    std::wstring longPath = L"C:\\";
    for (int i = 0; i < 90; ++i) longPath += L"写真\\";
    DesktopSettings full{longPath, 0x102030, L"10", L"", ShellWallPaper{3, true, {}, 1, 90000, {{L"\\\\?\\DISPLAY#1", L"C:\\a.jpg"}, {L"B", L""}}},
                         {{L"C:\\T\\TranscodedWallpaper", L"C:\\L\\wallpaper0"}}, L"C:\\P|q\\mosaic.bmp"};
    for (int i = 1; i <= 80; ++i)
        full.shell->slideshowItems.push_back(L"C:\\Users\\山田太郎\\Pictures\\北海道の旅 二〇二四年夏\\写真" + std::to_wstring(i) + L".jpg");
    const DesktopSettings small{L"", 0, L"", L"", ShellWallPaper{}, {}, L""};
    MapStore store;
    store.numbers[L"viewMode"] = 2;
    for (const DesktopSettings& s : {full, small}) {
        ASSERT_TRUE(saveRecord(store, s));
        EXPECT_EQ(loadRecord(store), s);
        EXPECT_EQ(store.texts.size(), 1u);
    }
    clearRecord(store);
    EXPECT_EQ(store.numbers, (std::map<std::wstring, int32_t>{{L"viewMode", 2}}));
    EXPECT_TRUE(store.texts.empty());
}

TEST(RecoveryRecord, ACutOrMalformedRecordIsNoRecordAndAFailedSaveKeepsTheOneBefore) {
    MapStore good;
    DesktopSettings s{L"C:\\sea.jpg", 0x102030, L"2", L"0", ShellWallPaper{}, {{L"a", L"b"}}, L"C:\\m.bmp"};
    s.shell->monitors = {{L"A", L"C:\\a.jpg"}};
    ASSERT_TRUE(saveRecord(good, s));
    const std::wstring text = good.texts[std::wstring(kRecordName)];
    const std::wstring fields = text.substr(text.find(L'|', text.find(L'|') + 1) + 1);
    std::vector<std::wstring> bad{text + L"x", whole(fields, L"-1"), whole(fields, L"16777216"), L"1|x|" + fields};
    for (std::size_t n = 0; n < text.size(); ++n) bad.push_back(text.substr(0, n));
    for (const std::wstring& garbled : {fields.substr(0, fields.rfind(L'|')), fields + L"|x", std::wstring(L"C:%ZZ"),
                                        std::wstring(L"a|b"), std::wstring(L"a|b|c|d|1|x"), std::wstring(L"a|b|c|d|1x|0"),
                                        fields.substr(0, fields.rfind(L"|1|")) + L"|2|" + fields.substr(fields.rfind(L"|1|") + 3),
                                        fields.substr(0, fields.rfind(L"|1|")) + L"|",  // the monitors' count empty
                                        fields.substr(0, fields.find(L"|b|1|")) + L"|b|7|" + fields.substr(fields.find(L"|b|1|") + 5)})
        bad.push_back(whole(garbled));
    for (const std::wstring& b : bad) {
        MapStore store = good;
        store.texts[std::wstring(kRecordName)] = b;
        EXPECT_FALSE(loadRecord(store)) << b;
    }
    good.failing = kRecordName;
    EXPECT_FALSE(saveRecord(good, {L"C:\\other.jpg", 1, L"", L"", {}, {}, L""}));
    EXPECT_EQ(loadRecord(good), s);
}

TEST(RecoveryRecord, TheShapeOfTheReleaseBeforeIsReadAndASaveReplacesIt) {
    // Numbered ANSI parts of 200 characters, every character beyond ASCII escaped, the colour apart.
    const std::wstring path = L"C:\\" + std::wstring(250, L'a') + L"\\%5199%771F.jpg";
    const std::wstring text = path + L"|2|0|C:\\P\\mosaic.bmp|0|0";
    MapStore old;
    old.numbers = {{std::wstring(kRecordPartsName), 2}, {std::wstring(kRecordColourName), 0x102030}};
    old.texts = {{std::wstring(kRecordPartName) + L"1", text.substr(0, 200)}, {std::wstring(kRecordPartName) + L"2", text.substr(200)}};
    const DesktopSettings expected{L"C:\\" + std::wstring(250, L'a') + L"\\写真.jpg", 0x102030, L"2", L"0", std::nullopt, {}, L"C:\\P\\mosaic.bmp"};
    EXPECT_EQ(loadRecord(old), expected);
    // The first version's: the wallpaper alone, and the style in force stays the user's.
    MapStore first = old;
    first.numbers[std::wstring(kRecordPartsName)] = 1;
    first.numbers[std::wstring(kRecordColourName)] = 0;  // black
    first.texts[std::wstring(kRecordPartName) + L"1"] = L"C:\\%5199%771F\\sea.jpg";
    EXPECT_EQ(loadRecord(first), (DesktopSettings{L"C:\\写真\\sea.jpg", 0, L"0", L"0", std::nullopt, {}, L""}));
    MapStore partMissing = old;
    partMissing.numbers[std::wstring(kRecordPartsName)] = 3;
    EXPECT_FALSE(loadRecord(partMissing));
    ASSERT_TRUE(saveRecord(old, expected));
    EXPECT_TRUE(old.numbers.empty());
    EXPECT_EQ(old.texts.size(), 1u);
    EXPECT_EQ(loadRecord(old), expected);
}

}  // namespace
}  // namespace tavro::desktop
