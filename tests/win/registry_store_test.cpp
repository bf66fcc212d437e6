// The settings store on the real registry: what it makes of values a user or another program may have
// left (the forms it writes are read back end to end). What the key held before is put back afterwards.
#include <windows.h>

#include "settings/registry_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace tavro::settings;

namespace {

constexpr const char* kKey = "Software\\Quillmar-soft\\tavroClock";
constexpr const char* kBackup = "Software\\tavroClock registry test backup";
constexpr const wchar_t* kNoTarget = L"1899/12/30 00:00:00";
const std::string k255(255, 'x'), kDword2 = std::string("\x02\0\0\0", 4);
const std::string kHeisei22 = "\x95\xBD\x90\xAC" "22\x94\x4E";  // 平成22年 in Shift_JIS

// Moves a key's values and subkeys (none when it is missing) to another, which is replaced.
void moveKey(const char* from, const char* to) {
    RegDeleteTreeA(HKEY_CURRENT_USER, to);
    HKEY source = nullptr, target = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) == 0 &&
        RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) == 0)
        RegCopyTreeA(source, nullptr, target);
    if (source) RegCloseKey(source);
    if (target) RegCloseKey(target);
    RegDeleteTreeA(HKEY_CURRENT_USER, from);
}

void put(const char* name, DWORD type, const std::string& bytes) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name, type, bytes.data(), static_cast<DWORD>(bytes.size())), 0);
}

struct RegistryStore : ::testing::Test {
    static void SetUpTestSuite() { moveKey(kKey, kBackup); }
    static void TearDownTestSuite() { moveKey(kBackup, kKey); }
    // The stored texts are Shift_JIS, as on the Japanese systems the program is made for.
    void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "run under a Japanese locale (LC_ALL=ja_JP.UTF-8)"; }
};

// viewMode as stored -> the number read (3 is the default asked for): only a four-byte REG_DWORD counts.
TEST_F(RegistryStore, NumbersOfTheWrongTypeOrSizeGiveTheDefault) {
    const struct { DWORD type; std::string bytes; int expected; } rows[] = {
        {REG_DWORD, kDword2, 2}, {REG_DWORD, "\xFE\xFF\xFF\xFF", -2}, {REG_DWORD, std::string("\x02\0", 2), 3},
        {REG_BINARY, kDword2, 3}, {REG_QWORD, kDword2 + kDword2, 3}, {REG_DWORD_BIG_ENDIAN, kDword2, 3},
        {REG_SZ, std::string("2\0", 2), 3}};
    for (const auto& row : rows) {
        put("viewMode", row.type, row.bytes);
        EXPECT_EQ(readRegLong(L"viewMode", 3), row.expected) << row.type << " " << row.bytes.size();
    }
}

// targetDate as stored -> the text read, or nothing (then the default): only a REG_SZ that fits 256 bytes counts.
TEST_F(RegistryStore, TextsOfTheWrongTypeOrTooLongGiveTheDefault) {
    const struct { DWORD type; std::string bytes; std::optional<std::wstring> expected; } rows[] = {
        {REG_SZ, std::string("2010/02/03 01:02:03", 20), L"2010/02/03 01:02:03"}, {REG_SZ, std::string(1, '\0'), L""},
        {REG_SZ, std::string("2010/02/03\0 23:59:59", 21), L"2010/02/03"}, {REG_SZ, k255 + '\0', std::wstring(255, L'x')},
        {REG_SZ, k255 + "x" + '\0', std::nullopt}, {REG_EXPAND_SZ, "2010/02/03", std::nullopt},
        {REG_MULTI_SZ, std::string("2010/02/03\0\0", 12), std::nullopt}, {REG_BINARY, "2010/02/03", std::nullopt},
        {REG_DWORD, kDword2, std::nullopt}, {REG_SZ, kHeisei22 + '\0', L"平成22年"}};
    for (const auto& row : rows) {
        put("targetDate", row.type, row.bytes);
        EXPECT_EQ(readOptionalRegString(L"targetDate"), row.expected) << row.type << " " << row.bytes;
        EXPECT_EQ(readRegString(L"targetDate", kNoTarget), row.expected.value_or(kNoTarget)) << row.bytes;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    EXPECT_EQ(readOptionalRegString(L"feedHost"), std::nullopt);
    EXPECT_EQ(readRegLong(L"viewMode", 3), 3);
}

}  // namespace
