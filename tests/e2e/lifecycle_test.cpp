#include <windows.h>

#include "driver/quorlen_driver.h"

namespace {

using LifecycleTest = StartedQuorlenTest;

TEST_F(LifecycleTest, CloseEndsTheProcessWithExitCodeZero) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(LifecycleTest, CopyDataIsAnsweredTrueWhateverItCarries) {
    const wchar_t path[] = L"C:\\";
    COPYDATASTRUCT open{1, sizeof(path), const_cast<wchar_t*>(path)};
    COPYDATASTRUCT otherKind{7, sizeof(path), const_cast<wchar_t*>(path)};
    COPYDATASTRUCT empty{1, 0, nullptr};
    for (COPYDATASTRUCT* record : {&open, &otherKind, &empty}) {
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(record), SMTO_ABORTIFHUNG,
                                        5000, &answer));
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    }
    EXPECT_TRUE(quorlen.Running());
}

class RestartTest : public StartedQuorlenTest {
protected:
    std::wstring StartArguments() const override { return L"/n --restart /d"; }
};

TEST_F(RestartTest, WithNoPreviousInstanceOpensAtOnce) {
    EXPECT_TRUE(IsWindowVisible(window));
}

}  // namespace
