#include <gtest/gtest.h>

#include <map>
#include <set>

#include "desktop/recovery_record.h"

namespace tavro::desktop {
namespace {

// Holds what the settings store can hold: ASCII texts under 256 bytes, numbers.
class MapStore : public RecordStore {
public:
    std::map<std::wstring, int32_t> numbers;
    std::map<std::wstring, std::wstring> texts;
    std::set<std::wstring> failingWrites;

    std::optional<int32_t> readNumber(std::wstring_view name) override {
        const auto it = numbers.find(std::wstring(name));
        if (it == numbers.end()) return std::nullopt;
        return it->second;
    }
    std::optional<std::wstring> readText(std::wstring_view name) override {
        const auto it = texts.find(std::wstring(name));
        if (it == texts.end()) return std::nullopt;
        return it->second;
    }
    bool writeNumber(std::wstring_view name, int32_t value) override {
        if (failingWrites.count(std::wstring(name))) return false;
        numbers[std::wstring(name)] = value;
        return true;
    }
    bool writeText(std::wstring_view name, std::wstring_view text) override {
        if (failingWrites.count(std::wstring(name)) || text.size() > 255) return false;
        for (wchar_t c : text)
            if (c > 0x7E) return false;
        texts[std::wstring(name)] = std::wstring(text);
        return true;
    }
    void remove(std::wstring_view name) override {
        numbers.erase(std::wstring(name));
        texts.erase(std::wstring(name));
    }
    std::size_t size() const { return numbers.size() + texts.size(); }
};

TEST(RecordText, EscapesAllButPrintableAsciiAndComesBackUnchanged) {
    const std::wstring path = L"C:\\Users\\山田\\Pictures\\100%\\tab\there.jpg";
    const std::wstring escaped = escapeRecordText(path);
    for (wchar_t c : escaped) EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << static_cast<int>(c);
    EXPECT_EQ(escapeRecordText(L"a%b"), L"a%0025b");
    EXPECT_EQ(escapeRecordText(L"山"), L"%5C71");
    EXPECT_EQ(unescapeRecordText(escaped), path);
    EXPECT_EQ(unescapeRecordText(L""), L"");
}

TEST(RecordText, ARecordNotMadeByTheEscapeReadsAsNothing) {
    EXPECT_FALSE(unescapeRecordText(L"abc%12"));
    EXPECT_FALSE(unescapeRecordText(L"%12G4"));
    EXPECT_FALSE(unescapeRecordText(L"%12a4"));  // lower-case hex is never written
    EXPECT_FALSE(unescapeRecordText(L"tab\tinside"));
}

TEST(RecoveryRecord, SavedAndLoadedBack) {
    MapStore store;
    const DesktopSettings originals{L"C:\\Users\\山田\\Pictures\\sea.jpg", 0x102030};
    ASSERT_TRUE(saveRecord(store, originals));
    EXPECT_EQ(loadRecord(store), originals);
    const DesktopSettings none{L"", 0};
    ASSERT_TRUE(saveRecord(store, none));
    EXPECT_EQ(loadRecord(store), none);
}

TEST(RecoveryRecord, ALongPathIsSplitOverValuesTheStoreCanHold) {
    MapStore store;
    std::wstring path = L"C:\\";
    for (int i = 0; i < 90; ++i) path += L"写真\\";  // 5 characters each once escaped, twice
    ASSERT_GT(escapeRecordText(path).size(), 3 * kRecordPartChars);
    ASSERT_TRUE(saveRecord(store, {path, 0x0000FF}));
    EXPECT_GE(store.numbers.at(std::wstring(kRecordPartsName)), 4);
    EXPECT_EQ(loadRecord(store), (DesktopSettings{path, 0x0000FF}));
}

TEST(RecoveryRecord, AShorterRecordLeavesNoPartsOfALongerOneBehind) {
    MapStore store;
    ASSERT_TRUE(saveRecord(store, {std::wstring(900, L'x'), 1}));
    ASSERT_TRUE(saveRecord(store, {L"C:\\a.bmp", 2}));
    EXPECT_EQ(store.texts.size(), 1u);
    EXPECT_EQ(loadRecord(store), (DesktopSettings{L"C:\\a.bmp", 2}));
}

TEST(RecoveryRecord, ClearedRecordIsGoneAndLeavesOtherSettings) {
    MapStore store;
    store.numbers[L"viewMode"] = 2;
    ASSERT_TRUE(saveRecord(store, {std::wstring(700, L'y'), 5}));
    clearRecord(store);
    EXPECT_FALSE(loadRecord(store));
    EXPECT_EQ(store.size(), 1u);
    EXPECT_EQ(store.numbers.at(L"viewMode"), 2);
}

TEST(RecoveryRecord, AFailedWriteLeavesNoRecordThatReadsAsWhole) {
    MapStore store;
    ASSERT_TRUE(saveRecord(store, {L"C:\\old.jpg", 1}));
    store.failingWrites.insert(std::wstring(kRecordPartName) + L"1");
    EXPECT_FALSE(saveRecord(store, {L"C:\\new.jpg", 2}));
    EXPECT_FALSE(loadRecord(store));
}

TEST(RecoveryRecord, HalfARecordOrBadValuesAreNoRecord) {
    MapStore store;
    ASSERT_TRUE(saveRecord(store, {L"C:\\sea.jpg", 0x102030}));
    MapStore noColour = store;
    noColour.numbers.erase(std::wstring(kRecordColourName));
    EXPECT_FALSE(loadRecord(noColour));
    MapStore missingPart = store;
    missingPart.numbers[std::wstring(kRecordPartsName)] = 2;
    EXPECT_FALSE(loadRecord(missingPart));
    for (int32_t parts : {0, -1, kRecordMaxParts + 1}) {
        MapStore bad = store;
        bad.numbers[std::wstring(kRecordPartsName)] = parts;
        EXPECT_FALSE(loadRecord(bad)) << parts;
    }
    for (int32_t colour : {-1, 0x1000000}) {
        MapStore bad = store;
        bad.numbers[std::wstring(kRecordColourName)] = colour;
        EXPECT_FALSE(loadRecord(bad)) << colour;
    }
    MapStore garbled = store;
    garbled.texts[std::wstring(kRecordPartName) + L"1"] = L"C:%ZZ";
    EXPECT_FALSE(loadRecord(garbled));
}

TEST(RecoveryRecord, APathTooLongForAnyRecordClearsItAndSaysSo) {
    MapStore store;
    ASSERT_TRUE(saveRecord(store, {L"C:\\sea.jpg", 1}));
    EXPECT_FALSE(saveRecord(store, {std::wstring(kRecordPartChars * kRecordMaxParts + 1, L'z'), 1}));
    EXPECT_FALSE(loadRecord(store));
}

}  // namespace
}  // namespace tavro::desktop
