// The settings store on the real registry. Every test starts with the program's key deleted;
// whatever the key held before the suite is copied aside and put back afterwards.
#include <windows.h>

#include "settings/registry_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

using namespace tavro::settings;

namespace {

constexpr const char* kKeyPath = "Software\\Quillmar-soft\\tavroClock";
constexpr const char* kParentPath = "Software\\Quillmar-soft";
constexpr const char* kBackupPath = "Software\\tavroClock registry test backup";

bool keyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void deleteKey(const char* path) {
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

void copyKey(const char* from, const char* to) {
    HKEY source = nullptr;
    HKEY target = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) == ERROR_SUCCESS &&
        RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
            ERROR_SUCCESS)
        RegCopyTreeA(source, nullptr, target);
    if (source) RegCloseKey(source);
    if (target) RegCloseKey(target);
}

struct RawValue {
    LSTATUS status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::vector<uint8_t> bytes;
};

RawValue rawValue(const char* name) {
    RawValue raw;
    HKEY key = nullptr;
    raw.status = RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_QUERY_VALUE, &key);
    if (raw.status != ERROR_SUCCESS) return raw;
    raw.bytes.resize(4096);
    DWORD size = static_cast<DWORD>(raw.bytes.size());
    raw.status = RegQueryValueExA(key, name, nullptr, &raw.type, raw.bytes.data(), &size);
    raw.bytes.resize(raw.status == ERROR_SUCCESS ? size : 0);
    RegCloseKey(key);
    return raw;
}

void setRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

void setRawText(const char* name, const std::string& bytes) {
    setRaw(name, REG_SZ, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

constexpr const wchar_t* kNoTarget = L"1899/12/30 00:00:00";

}  // namespace

class RegistryStore : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        hadKey_ = keyExists(kKeyPath);
        deleteKey(kBackupPath);
        if (hadKey_) copyKey(kKeyPath, kBackupPath);
    }
    static void TearDownTestSuite() {
        deleteKey(kKeyPath);
        if (hadKey_) {
            copyKey(kBackupPath, kKeyPath);
            deleteKey(kBackupPath);
        } else {
            // Only when empty: another program of the maker may keep its key here.
            RegDeleteKeyA(HKEY_CURRENT_USER, kParentPath);
        }
    }
    void SetUp() override {
        deleteKey(kKeyPath);
        RegDeleteKeyA(HKEY_CURRENT_USER, kParentPath);
        ASSERT_FALSE(keyExists(kKeyPath));
    }

    static inline bool hadKey_ = false;
};

TEST_F(RegistryStore, FirstStartGivesTheDefaultsAndCreatesNothing) {
    const bool hadParent = keyExists(kParentPath);
    EXPECT_EQ(readRegLong(L"viewMode", 3), 3);
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), kNoTarget);
    EXPECT_EQ(readOptionalRegString(L"feedHost"), std::nullopt);
    EXPECT_EQ(std::get<int32_t>(readRegValue(RegRoot::CurrentUser, std::wstring(kSettingsKey), L"viewMode",
                                             RegType::Number, 7)),
              7);
    EXPECT_FALSE(keyExists(kKeyPath));
    EXPECT_EQ(keyExists(kParentPath), hadParent);
}

TEST_F(RegistryStore, TextIsStoredAsAnsiWithItsZeroByte) {
    EXPECT_TRUE(writeRegString(L"targetDate", L"2010/02/03 00:00:00"));
    const RawValue raw = rawValue("targetDate");
    ASSERT_EQ(raw.status, ERROR_SUCCESS);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.bytes, bytesOf(std::string("2010/02/03 00:00:00", 20)));
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), L"2010/02/03 00:00:00");

    EXPECT_TRUE(writeRegString(L"targetDate", L""));
    EXPECT_EQ(rawValue("targetDate").bytes, bytesOf(std::string(1, '\0')));
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), L"");
}

TEST_F(RegistryStore, NumberIsStoredAsFourLittleEndianBytes) {
    EXPECT_TRUE(writeRegLong(L"viewMode", 2));
    const RawValue raw = rawValue("viewMode");
    ASSERT_EQ(raw.status, ERROR_SUCCESS);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(raw.bytes, (std::vector<uint8_t>{0x02, 0x00, 0x00, 0x00}));
    EXPECT_EQ(readRegLong(L"viewMode", 3), 2);

    EXPECT_TRUE(writeRegLong(L"viewMode", -2));
    EXPECT_EQ(rawValue("viewMode").bytes, (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(readRegLong(L"viewMode", 3), -2);
    EXPECT_TRUE(writeRegLong(L"viewMode", INT32_MIN));
    EXPECT_EQ(readRegLong(L"viewMode", 3), INT32_MIN);
}

TEST_F(RegistryStore, OnlyTextsThatFitTheBufferAreRead) {
    const std::string fits(255, 'x');
    setRawText("targetDate", fits + '\0');
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), std::wstring(255, L'x'));

    setRawText("targetDate", std::string(256, 'x') + '\0');
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), kNoTarget);
    EXPECT_EQ(readOptionalRegString(L"targetDate"), std::nullopt);

    // Written by the store the same way: 255 characters are the longest text it reads back.
    EXPECT_TRUE(writeRegString(L"feedHost", std::wstring(255, L'h')));
    EXPECT_EQ(readRegString(L"feedHost", L"default"), std::wstring(255, L'h'));
    EXPECT_TRUE(writeRegString(L"feedHost", std::wstring(300, L'h')));
    EXPECT_EQ(rawValue("feedHost").bytes.size(), 301u);
    EXPECT_EQ(readRegString(L"feedHost", L"default"), L"default");
}

TEST_F(RegistryStore, TextIsCutAtTheFirstZeroByte) {
    setRawText("targetDate", std::string("2010/02/03\0 23:59:59", 21));
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), L"2010/02/03");

    EXPECT_TRUE(writeRegString(L"feedCalendarId", std::wstring(L"abc\0def", 7)));
    EXPECT_EQ(rawValue("feedCalendarId").bytes, bytesOf(std::string("abc\0def", 8)));
    EXPECT_EQ(readOptionalRegString(L"feedCalendarId"), L"abc");
}

TEST_F(RegistryStore, ValuesOfAnotherTypeGiveTheDefault) {
    EXPECT_TRUE(writeRegLong(L"targetDate", 2));
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), kNoTarget);
    EXPECT_EQ(readOptionalRegString(L"targetDate"), std::nullopt);

    EXPECT_TRUE(writeRegString(L"viewMode", L"2"));
    EXPECT_EQ(readRegLong(L"viewMode", 3), 3);

    const uint8_t four[] = {2, 0, 0, 0};
    const uint8_t two[] = {2, 0};
    const uint8_t eight[] = {2, 0, 0, 0, 0, 0, 0, 0};
    setRaw("viewMode", REG_BINARY, four, sizeof four);
    EXPECT_EQ(readRegLong(L"viewMode", 3), 3);
    setRaw("viewMode", REG_BINARY, two, sizeof two);
    EXPECT_EQ(readRegLong(L"viewMode", 3), 3);
    setRaw("viewMode", REG_BINARY, eight, sizeof eight);
    EXPECT_EQ(readRegLong(L"viewMode", 3), 3);
    setRaw("viewMode", REG_QWORD, eight, sizeof eight);
    EXPECT_EQ(readRegLong(L"viewMode", 3), 3);
    setRaw("viewMode", REG_DWORD_BIG_ENDIAN, four, sizeof four);
    EXPECT_EQ(readRegLong(L"viewMode", 3), 3);
    // A REG_DWORD of two bytes would leave half the number unset.
    setRaw("viewMode", REG_DWORD, two, sizeof two);
    EXPECT_EQ(readRegLong(L"viewMode", 3), 3);

    setRaw("targetDate", REG_EXPAND_SZ, "2010/02/03", 11);
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), kNoTarget);
    setRaw("targetDate", REG_MULTI_SZ, "2010/02/03\0\0", 12);
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), kNoTarget);
    setRaw("targetDate", REG_BINARY, "2010/02/03", 11);
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), kNoTarget);
}

TEST_F(RegistryStore, WritesReplaceTheStoredTypeAndValue) {
    setRaw("viewMode", REG_BINARY, "xy", 2);
    EXPECT_TRUE(writeRegLong(L"viewMode", 1));
    EXPECT_EQ(rawValue("viewMode").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(readRegLong(L"viewMode", 3), 1);
    EXPECT_TRUE(writeRegString(L"targetDate", L"2010/12/31 23:59:59"));
    EXPECT_TRUE(writeRegString(L"targetDate", kNoTarget));
    EXPECT_EQ(readRegString(L"targetDate", L"other"), kNoTarget);
}

TEST_F(RegistryStore, GeneralOperationsConvertToTheAskedKind) {
    const std::wstring key(kSettingsKey);
    EXPECT_TRUE(writeRegValue(RegRoot::CurrentUser, key, L"viewMode", RegType::Number, std::wstring(L" 12 ")));
    EXPECT_EQ(rawValue("viewMode").bytes, (std::vector<uint8_t>{12, 0, 0, 0}));
    EXPECT_TRUE(writeRegValue(RegRoot::CurrentUser, key, L"targetDate", RegType::Text, -42));
    EXPECT_EQ(rawValue("targetDate").bytes, bytesOf(std::string("-42", 4)));

    // A text that is no 32-bit number writes nothing and keeps what was there.
    for (const wchar_t* text : {L"abc", L"", L"12x", L"2147483648", L"1.5"}) {
        EXPECT_FALSE(writeRegValue(RegRoot::CurrentUser, key, L"viewMode", RegType::Number, std::wstring(text)));
    }
    EXPECT_EQ(readRegLong(L"viewMode", 3), 12);

    const auto otherType = static_cast<RegType>(REG_BINARY);
    EXPECT_FALSE(writeRegValue(RegRoot::CurrentUser, key, L"other", otherType, std::wstring(L"x")));
    EXPECT_EQ(rawValue("other").status, ERROR_FILE_NOT_FOUND);
    const RegValue kept = readRegValue(RegRoot::CurrentUser, key, L"viewMode", otherType, std::wstring(L"d"));
    EXPECT_EQ(std::get<std::wstring>(kept), L"d");
}

TEST_F(RegistryStore, OptionalTextsAreMissingOrThere) {
    EXPECT_EQ(readOptionalRegString(L"feedHost"), std::nullopt);
    EXPECT_TRUE(writeRegLong(L"viewMode", 3));
    EXPECT_EQ(readOptionalRegString(L"feedHost"), std::nullopt);
    setRawText("feedHost", std::string("127.0.0.1:8080", 15));
    EXPECT_EQ(readOptionalRegString(L"feedHost"), L"127.0.0.1:8080");
    setRawText("feedCalendarId", std::string(1, '\0'));
    EXPECT_EQ(readOptionalRegString(L"feedCalendarId"), L"");
}

TEST_F(RegistryStore, JapaneseTextGoesThroughShiftJis) {
    if (GetACP() != 932) GTEST_SKIP() << "ANSI code page " << GetACP() << ", not 932";
    EXPECT_TRUE(writeRegString(L"targetDate", L"平成22年"));
    // 平 95 BD, 成 90 AC, 2 2, 年 94 4E, and the zero byte.
    EXPECT_EQ(rawValue("targetDate").bytes,
              (std::vector<uint8_t>{0x95, 0xBD, 0x90, 0xAC, '2', '2', 0x94, 0x4E, 0x00}));
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), L"平成22年");

    // The 256-byte limit counts bytes: 127 double-byte characters and one more byte fit, 128 do not.
    EXPECT_TRUE(writeRegString(L"targetDate", std::wstring(127, L'年') + L"x"));
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), std::wstring(127, L'年') + L"x");
    EXPECT_TRUE(writeRegString(L"targetDate", std::wstring(128, L'年')));
    EXPECT_EQ(readRegString(L"targetDate", kNoTarget), kNoTarget);
}
