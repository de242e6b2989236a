#include "takeover/registry_values.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "common/private_prefix.h"
#include "common/registry_set_aside.h"
#include "ui/handles.h"

namespace {

constexpr wchar_t kScratchKey[] = L"Software\\QuorlenRegistryValuesTest";

// A key of its own in the private prefix's HKCU, gone again after each test.
class ReadStringValueTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        aside.emplace(HKEY_CURRENT_USER, kScratchKey);
        ASSERT_TRUE(aside->Ready());
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                                  nullptr),
                  ERROR_SUCCESS);
    }

    void StoreBytes(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }

    std::optional<RegistryKeySetAside> aside;
    UniqueKey key;
};

TEST_F(ReadStringValueTest, ReadsTextsAsStoredWithTheirType) {
    const wchar_t plain[] = L"\"C:\\Program Files\\Quorlen\\Quorlen.exe\" \"%1\"";
    StoreBytes(nullptr, REG_SZ, plain, sizeof(plain));
    const wchar_t expandable[] = L"%SystemRoot%\\Explorer.exe";
    StoreBytes(L"expand", REG_EXPAND_SZ, expandable, sizeof(expandable));
    StoreBytes(L"empty", REG_SZ, L"", sizeof(wchar_t));

    EXPECT_EQ(ReadStringValue(key.get(), nullptr), (RegistryString{plain, REG_SZ}));
    EXPECT_EQ(ReadStringValue(key.get(), L"expand"), (RegistryString{expandable, REG_EXPAND_SZ}))
        << "an expandable text is read unexpanded";
    EXPECT_EQ(ReadStringValue(key.get(), L"empty"), (RegistryString{L"", REG_SZ}));
}

TEST_F(ReadStringValueTest, ReadsTextsOtherProgramsStoredCarelessly) {
    const wchar_t text[] = L"notepad.exe %1";
    const DWORD withoutTerminator = static_cast<DWORD>((sizeof(text) / sizeof(wchar_t) - 1) * sizeof(wchar_t));
    StoreBytes(L"unterminated", REG_SZ, text, withoutTerminator);
    StoreBytes(L"odd", REG_SZ, text, withoutTerminator + 1);
    const wchar_t inner[] = L"first\0second";
    StoreBytes(L"inner", REG_SZ, inner, sizeof(inner));
    StoreBytes(L"none", REG_SZ, nullptr, 0);

    EXPECT_EQ(ReadStringValue(key.get(), L"unterminated"), (RegistryString{text, REG_SZ}));
    EXPECT_EQ(ReadStringValue(key.get(), L"odd"), (RegistryString{text, REG_SZ}));
    EXPECT_EQ(ReadStringValue(key.get(), L"inner"), (RegistryString{L"first", REG_SZ}));
    EXPECT_EQ(ReadStringValue(key.get(), L"none"), (RegistryString{L"", REG_SZ}));
}

TEST_F(ReadStringValueTest, OtherTypesAndMissingValuesAreNoText) {
    const DWORD number = 7;
    StoreBytes(L"number", REG_DWORD, &number, sizeof(number));
    StoreBytes(L"binary", REG_BINARY, L"ab", 4);
    EXPECT_EQ(ReadStringValue(key.get(), L"number"), std::nullopt);
    EXPECT_EQ(ReadStringValue(key.get(), L"binary"), std::nullopt);
    EXPECT_EQ(ReadStringValue(key.get(), L"missing"), std::nullopt);
}

}  // namespace
