#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "desktop/recovery_record.h"

namespace tavro::desktop {
namespace {

template <typename Map>
std::optional<typename Map::mapped_type> find(const Map& map, std::wstring_view name) {
    const auto it = map.find(std::wstring(name));
    return it == map.end() ? std::nullopt : std::optional(it->second);
}

class MapStore : public RecordStore {
public:
    std::map<std::wstring, int32_t> numbers;
    std::map<std::wstring, std::wstring> texts;
    std::wstring failing;

    std::optional<int32_t> readNumber(std::wstring_view name) override { return find(numbers, name); }
    std::optional<std::wstring> readText(std::wstring_view name) override { return find(texts, name); }
    bool writeNumber(std::wstring_view name, int32_t value) override { return numbers[std::wstring(name)] = value, true; }
    bool writeText(std::wstring_view name, std::wstring_view text) override {
        // What the settings store can hold: ASCII texts under 256 bytes.
        const bool ascii = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x20 && c <= 0x7E; });
        return name != failing && text.size() <= 255 && ascii && (texts[std::wstring(name)] = text, true);
    }
    void remove(std::wstring_view name) override { numbers.erase(std::wstring(name)), texts.erase(std::wstring(name)); }
};

TEST(RecordText, EscapesAllButPrintableAsciiAndTheSeparatorAndReadsOnlyWhatItWrote) {
    const std::wstring path = L"C:\\Users\\山田\\100%\\a|b\tc.jpg";
    EXPECT_EQ(escapeRecordText(L"a%b|山"), L"a%0025b%007C%5C71");
    EXPECT_EQ(unescapeRecordText(escapeRecordText(path)), path);
    for (const wchar_t* bad : {L"abc%12", L"%12G4", L"%12a4", L"tab\tinside"}) EXPECT_FALSE(unescapeRecordText(bad)) << bad;
}

const std::wstring kPart1 = std::wstring(kRecordPartName) + L"1";

TEST(RecoveryRecord, EveryFieldComesBackAndAShorterRecordLeavesNothingOfALongerOne) {
    std::wstring longPath = L"C:\\";
    for (int i = 0; i < 90; ++i) longPath += L"写真\\";
    DesktopSettings full{longPath, 0x102030, L"10", L"", std::nullopt,
                         {{L"C:\\T\\TranscodedWallpaper", L"C:\\L\\wallpaper0"}}, L"C:\\P|q\\mosaic.bmp"};
    full.shell = ShellWallPaper{3, true, {L"C:\\Show", L"D:\\b|c"}, 1, 90000, {{L"\\\\?\\DISPLAY#1", L"C:\\a.jpg"}, {L"B", L""}}};
    const DesktopSettings small{L"", 0, L"", L"", ShellWallPaper{}, {}, L""};
    MapStore store;
    store.numbers[L"viewMode"] = 2;
    // The largest record fills every part: "path|2|1|x|0|0".
    const DesktopSettings largest{std::wstring(kRecordPartChars * kRecordMaxParts - 10, L'a'), 0xFFFFFF, L"2", L"1", std::nullopt, {}, L"x"};
    for (const DesktopSettings& s : {full, largest, small}) {
        ASSERT_TRUE(saveRecord(store, s));
        EXPECT_EQ(loadRecord(store), s);
    }
    EXPECT_EQ(store.texts.size(), 1u);
    ASSERT_TRUE(saveRecord(store, largest));
    EXPECT_EQ(store.texts.size(), static_cast<std::size_t>(kRecordMaxParts));
    clearRecord(store);
    EXPECT_EQ(store.numbers, (std::map<std::wstring, int32_t>{{L"viewMode", 2}}));
    EXPECT_TRUE(store.texts.empty());
}

TEST(RecoveryRecord, HalfARecordBadValuesOrAFailedWriteAreNoRecord) {
    MapStore good;
    DesktopSettings s{L"C:\\sea.jpg", 0x102030, L"2", L"0", ShellWallPaper{}, {{L"a", L"b"}}, L"C:\\m.bmp"};
    s.shell->monitors = {{L"A", L"C:\\a.jpg"}};
    ASSERT_TRUE(saveRecord(good, s));
    const std::wstring text = good.texts[kPart1];
    const std::pair<std::wstring, int32_t> numbers[] = {
        {std::wstring(kRecordPartsName), 0}, {std::wstring(kRecordPartsName), 2}, {std::wstring(kRecordPartsName), kRecordMaxParts + 1},
        {std::wstring(kRecordColourName), -1}, {std::wstring(kRecordColourName), 0x1000000}};
    for (const auto& [name, value] : numbers) {
        MapStore bad = good;
        bad.numbers[name] = value;
        EXPECT_FALSE(loadRecord(bad)) << value;
    }
    for (const std::wstring& garbled : {text.substr(0, text.rfind(L'|')), text + L"|x", std::wstring(L"C:%ZZ"),
                                        std::wstring(L"a|b"), std::wstring(L"a|b|c|d|1|x"), std::wstring(L"a|b|c|d|1x|0"),
                                        text.substr(0, text.rfind(L"|1|")) + L"|2|" + text.substr(text.rfind(L"|1|") + 3),
                                        text.substr(0, text.rfind(L"|1|")) + L"|",  // the monitors' count empty
                                        text.substr(0, text.find(L"|b|1|")) + L"|b|7|" + text.substr(text.find(L"|b|1|") + 5)}) {
        MapStore bad = good;
        bad.texts[kPart1] = garbled;
        EXPECT_FALSE(loadRecord(bad)) << garbled;
    }
    // A record of the first version, the wallpaper alone: the style in force stays the user's.
    MapStore first = good;
    first.texts[kPart1] = L"C:\\%5199%771F\\sea.jpg";
    EXPECT_EQ(loadRecord(first), (DesktopSettings{L"C:\\写真\\sea.jpg", 0x102030, L"0", L"0", std::nullopt, {}, L""}));
    MapStore noColour = good;
    noColour.numbers.erase(std::wstring(kRecordColourName));
    EXPECT_FALSE(loadRecord(noColour));
    good.failing = kPart1;
    EXPECT_FALSE(saveRecord(good, s));
    EXPECT_FALSE(loadRecord(good));
    good.failing.clear();
    EXPECT_FALSE(saveRecord(good, {std::wstring(kRecordPartChars * kRecordMaxParts + 1, L'z'), 1, L"", L"", {}, {}, L""}));
    EXPECT_FALSE(loadRecord(good));
}

}  // namespace
}  // namespace tavro::desktop
