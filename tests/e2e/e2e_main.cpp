#include <gtest/gtest.h>

#include <cstdio>

#include "common/private_prefix.h"

// The program writes to HKCU, so its end-to-end tests run only in the private
// Wine prefix that tools/test prepares.
int main(int argc, char** argv) {
    std::wstring why;
    if (!InPrivateTestPrefix(why)) {
        std::fprintf(stderr, "%s\n", NarrowForTest(why).c_str());
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
