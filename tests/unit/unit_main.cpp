#include <gtest/gtest.h>

#include "common/test_watchdog.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    InstallTestWatchdog();
    return RUN_ALL_TESTS();
}
