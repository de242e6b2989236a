#include "takeover/key_state.h"

#include <gtest/gtest.h>

namespace {

KeyState Sample() {
    KeyState state;
    state.existingLevels = 3;
    state.values.push_back(TextValue(L"", L"%SystemRoot%\\Explorer.exe /e,\"%1\"", REG_EXPAND_SZ));
    state.values.push_back({L"DelegateExecute", false, REG_NONE, {}});
    // Another program's value of any type and any bytes, an odd count included.
    state.values.push_back({L"MUIVerb", true, REG_BINARY, {0x00, 0xFF, 0x7F}});
    return state;
}

TEST(KeyState, RoundTripsEveryValueWithItsTypeAndBytes) {
    EXPECT_EQ(DecodeKeyState(EncodeKeyState(Sample())), Sample());
    EXPECT_EQ(DecodeKeyState(EncodeKeyState(KeyState{})), KeyState{});
}

TEST(KeyState, AnyDamageRefusesTheWholeRecord) {
    const std::vector<BYTE> whole = EncodeKeyState(Sample());
    // Cut off anywhere (a write torn part-way), or with bytes beyond its end.
    for (size_t length = 0; length < whole.size(); ++length) {
        EXPECT_FALSE(DecodeKeyState(std::vector<BYTE>(whole.begin(), whole.begin() + length))) << length;
    }
    std::vector<BYTE> longer = whole;
    longer.push_back(0);
    EXPECT_FALSE(DecodeKeyState(longer));
    // Another format, and lengths no key comes near, which must not be trusted
    // for the size of what follows.
    std::vector<BYTE> otherMagic = whole;
    otherMagic[0] ^= 1;
    EXPECT_FALSE(DecodeKeyState(otherMagic));
    std::vector<BYTE> hugeCount = whole;
    hugeCount[8] = 0xFF;
    hugeCount[11] = 0x7F;
    EXPECT_FALSE(DecodeKeyState(hugeCount));
    std::vector<BYTE> presentTwo = whole;
    presentTwo[12 + 4] = 2;  // the first value's name is empty: its "present" follows its length
    EXPECT_FALSE(DecodeKeyState(presentTwo));
}

TEST(KeyState, PathLevelsCountAndCut) {
    EXPECT_EQ(PathLevels(L"Directory\\shell\\open\\command"), 4u);
    EXPECT_EQ(PathLevels(L"Drive"), 1u);
    EXPECT_EQ(PathLevels(L""), 0u);
    EXPECT_EQ(FirstLevels(L"Directory\\shell\\open\\command", 2), L"Directory\\shell");
    EXPECT_EQ(FirstLevels(L"Directory\\shell\\open\\command", 1), L"Directory");
    EXPECT_EQ(FirstLevels(L"Directory\\shell\\open\\command", 4), L"Directory\\shell\\open\\command");
    EXPECT_EQ(FirstLevels(L"Directory\\shell", 9), L"Directory\\shell");
    EXPECT_EQ(FirstLevels(L"Directory\\shell", 0), L"");
}

TEST(KeyState, SavedTextReadsStringsOnlyUpToTheirFirstNul) {
    EXPECT_EQ(SavedText(TextValue(L"", L"abc", REG_SZ)), L"abc");
    SavedValue unterminated{L"", true, REG_EXPAND_SZ, {'a', 0, 'b', 0, 'c'}};
    EXPECT_EQ(SavedText(unterminated), L"ab");
    EXPECT_FALSE(SavedText({L"", false, REG_NONE, {}}));
    EXPECT_FALSE(SavedText({L"", true, REG_DWORD, {1, 0, 0, 0}}));
}

}  // namespace
