#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"

namespace {

constexpr wchar_t kPipeName[] = L"\\\\.\\pipe\\QuorlenPipe";

// A first instance showing folders[0], and second starts handing it more.
class HandOffTest : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + folders[0] + L"\""; }

    void SetUp() override {
        TabsTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(WaitForSavedTabs({folders[0]}));
        // The pipe exists once the first instance serves it.
        ASSERT_TRUE(WaitUntil([] { return WaitNamedPipeW(kPipeName, 50) != FALSE; }, 15000));
    }

    // Starts a second Quorlen with the arguments and expects it to hand off and end with 0.
    void HandOff(const std::wstring& arguments) {
        QuorlenProcess second;
        ASSERT_TRUE(second.Start(install, arguments));
        DWORD exitCode = 1;
        ASSERT_TRUE(second.WaitForExit(20000, exitCode)) << "the second start did not end";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_TRUE(second.MainWindows().empty());
    }

    // Writes raw bytes into the instance pipe as another program could.
    static bool WriteToPipe(const void* bytes, DWORD size) {
        UniqueKernelHandle pipe;
        const bool opened = WaitUntil(
            [&] {
                pipe.reset(CreateFileW(kPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
                return static_cast<bool>(pipe);
            },
            10000);
        if (!opened) return false;
        DWORD written = 0;
        return WriteFile(pipe.get(), bytes, size, &written, nullptr) && written == size;
    }

    static std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
};

TEST_F(HandOffTest, ASecondStartAddsItsFolderOrActivatesTheTabShowingIt) {
    HandOff(Quoted(folders[1]));
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_EQ(Query(strip, kActiveTab), 1);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"beta"; }, 10000));

    // The first folder in other letters and with a trailing backslash is the same folder.
    std::wstring again = folders[0] + L"\\";
    for (wchar_t& c : again) c = static_cast<wchar_t>(towupper(c));
    HandOff(Quoted(again));
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == 0; }, 10000));
    EXPECT_EQ(Query(strip, kTabCount), 2);
}

TEST_F(HandOffTest, ASelectStartOpensTheFolderAndSelectsTheItem) {
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) std::ofstream(std::filesystem::path(folders[2]) / name);
    const std::wstring item = folders[2] + L"\\b.txt";
    HandOff(L"/select," + Quoted(item));
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"资料"; }, 10000));

    std::vector<std::wstring> selected;
    EXPECT_TRUE(WaitUntil(
        [&] {
            HWND list = FindDescendant(window, L"SysListView32");
            selected = list && IsWindowVisible(list) ? SelectedListItems(list) : std::vector<std::wstring>();
            return selected.size() == 1 && selected[0].starts_with(L"b");
        },
        15000))
        << "selected items: " << selected.size();
}

TEST_F(HandOffTest, AStartWithoutPathOpensNothing) {
    HandOff(L"");
    // Requests are handled in order: once the next one has arrived, an empty one
    // would have shown itself.
    HandOff(Quoted(folders[1]));
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"beta"; }, 10000));
    EXPECT_EQ(Query(strip, kTabCount), 2);
}

TEST_F(HandOffTest, ABusyPipeStillDeliversThePath) {
    // A client that connects and writes nothing keeps the only pipe instance busy.
    UniqueKernelHandle holder;
    ASSERT_TRUE(WaitUntil(
        [&] {
            holder.reset(CreateFileW(kPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            return static_cast<bool>(holder);
        },
        10000));
    HandOff(Quoted(folders[1]));
    EXPECT_TRUE(WaitForTabCount(2));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"beta"; }, 10000));
}

TEST_F(HandOffTest, AnOversizedMessageIsDroppedAndTheInstanceKeepsServing) {
    std::wstring tooLong(4095, L'x');
    ASSERT_TRUE(WriteToPipe(tooLong.c_str(), static_cast<DWORD>((tooLong.size() + 1) * sizeof(wchar_t))));
    const std::wstring next = folders[1];
    ASSERT_TRUE(WriteToPipe(next.c_str(), static_cast<DWORD>((next.size() + 1) * sizeof(wchar_t))));
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"beta"; }, 10000));
    EXPECT_EQ(Query(strip, kTabCount), 2);
}

TEST_F(HandOffTest, AForgedOpenMessageIsIgnored) {
    // Another program can post the open message with any number in place of
    // the string the instance's own pipe thread would hand over.
    ASSERT_TRUE(PostMessageW(window, WM_APP + 1, 0, 0x12345678));
    ASSERT_TRUE(PostMessageW(window, WM_APP + 1, 1, reinterpret_cast<LPARAM>(this)));
    HandOff(Quoted(folders[1]));
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_TRUE(quorlen.Running());
    EXPECT_EQ(Query(strip, kTabCount), 2);
}

}  // namespace
