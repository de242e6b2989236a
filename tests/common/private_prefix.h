#pragma once

#include <string>

// Tests that change HKCU or run the program (which changes HKCU) may run only
// under Wine, in the prefix that tools/test made and marked for them.
// Returns false and says why when this process is anywhere else.
[[nodiscard]] bool InPrivateTestPrefix(std::wstring& why);

// For fixtures: fails the current test unless it runs in the private prefix.
#define REQUIRE_PRIVATE_TEST_PREFIX()                                              \
    do {                                                                           \
        std::wstring privatePrefixWhy;                                             \
        ASSERT_TRUE(InPrivateTestPrefix(privatePrefixWhy)) << NarrowForTest(privatePrefixWhy); \
    } while (false)

[[nodiscard]] std::string NarrowForTest(const std::wstring& text);
