#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "common/private_prefix.h"
#include "common/registry_set_aside.h"
#include "common/test_watchdog.h"

namespace {

// Every start of the program writes its uninstall entry; the run puts back
// whatever entry the prefix held before.
class UninstallEntrySetAside : public testing::Environment {
public:
    void SetUp() override {
        entry_ = std::make_unique<RegistryKeySetAside>(
            HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlen");
        ASSERT_TRUE(entry_->Ready());
    }
    void TearDown() override { entry_.reset(); }

private:
    std::unique_ptr<RegistryKeySetAside> entry_;
};

}  // namespace

// The program writes to HKCU, so its end-to-end tests run only in the private
// Wine prefix that tools/test prepares.
int main(int argc, char** argv) {
    std::wstring why;
    if (!InPrivateTestPrefix(why)) {
        std::fprintf(stderr, "%s\n", NarrowForTest(why).c_str());
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    InstallTestWatchdog();
    testing::AddGlobalTestEnvironment(new UninstallEntrySetAside);
    return RUN_ALL_TESTS();
}
