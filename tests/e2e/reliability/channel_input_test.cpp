#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/reliability_tally.h"
#include "common/private_prefix.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "reliability/channel_fixture.h"

namespace {

constexpr int kCommandBarId = 1;
constexpr int kAddressEditId = 4009;
constexpr UINT kOpenPathMessage = WM_APP + 1;
constexpr DWORD kMostAMessageMayHold = 8190;

// Bad input through the instance's ways in: the pipe, WM_COPYDATA, the open
// message, a second start's command line and the address bar.
class ReliabilityPipeTest : public ChannelTest {
protected:
    // Opens folders[2] by pipe after the cases and waits for it: everything
    // written before it has been handled then.
    bool SettleWithSentinel() {
        EXPECT_TRUE(SendPipeRequest(folders[2]));
        return WaitForActiveTitle(L"资料");
    }

    LRESULT TabCount() { return Query(strip, kTabCount); }

    // Waits for the warning of an address typed and entered. The address is
    // parsed while the window handles the command, and the warning comes at
    // once when that fails: a window that answers for a while without one
    // has opened the address instead.
    bool WaitForWarning(HWND& box) {
        DWORD answeredSince = 0;
        const bool ended = WaitUntil(
            [&] {
                if ((box = FindMessageBox(quorlen.Id())) != nullptr) return true;
                if (!Answers(window, 60000)) return true;
                if (answeredSince == 0) answeredSince = GetTickCount();
                return GetTickCount() - answeredSince > 3000;
            },
            120000);
        EXPECT_TRUE(ended && Answers(window)) << "the window hangs on a typed address";
        return box != nullptr;
    }
};

TEST_F(ReliabilityPipeTest, MessagesOfEveryLengthAndContentLeaveTheInstanceServing) {
    std::mt19937 random(ReliabilitySeed());
    long long cases = 0;
    long long failures = 0;
    // Each message opens a tab when it holds between one unit and the limit:
    // an empty text and "select:" alone open the default folder, anything else
    // a tab of its own, untitled when it is no folder.
    LRESULT expectedTabs = 1;
    const auto write = [&](const std::vector<char>& bytes, bool opensATab) {
        ++cases;
        // A message over the limit may fail to write: the instance drops it unread.
        const bool written = WriteToInstancePipe(bytes.data(), static_cast<DWORD>(bytes.size()));
        if (!written && bytes.size() <= kMostAMessageMayHold) {
            ++failures;
            ADD_FAILURE() << "a message of " << bytes.size() << " bytes could not be written";
        }
        if (opensATab) ++expectedTabs;
        if (!Answers(window)) {
            ++failures;
            ADD_FAILURE() << "the window stopped answering after a message of " << bytes.size() << " bytes";
        }
    };
    const auto textBytes = [](const std::wstring& text, bool withNul) {
        const size_t size = (text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t);
        std::vector<char> bytes(size);
        memcpy(bytes.data(), text.c_str(), size);
        return bytes;
    };

    write({}, false);
    write({'x'}, false);
    write({0, 0}, true);
    write(textBytes(L"select:", true), true);
    // The longest message there may be, then one byte, two bytes and far more.
    write(textBytes(std::wstring(kMostAMessageMayHold / 2 - 1, L'x'), true), true);
    for (const DWORD size : {kMostAMessageMayHold + 1, kMostAMessageMayHold + 2, DWORD{65536}}) {
        std::vector<char> bytes(size, 'y');
        write(bytes, false);
    }
    // Without its NUL, a path is still whole.
    write(textBytes(folders[1], false), true);
    ASSERT_TRUE(WaitForActiveTitle(L"beta"));

    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 9000);
    for (long long i = 0; i < Scaled(16); ++i) {
        std::vector<char> bytes(static_cast<size_t>(length(random)));
        for (char& b : bytes) b = static_cast<char>(byte(random));
        // Now and then the bytes begin with a NUL unit, or with the select prefix.
        if (bytes.size() >= 2 && i % 5 == 1) bytes[0] = bytes[1] = 0;
        if (bytes.size() >= 16 && i % 5 == 2) memcpy(bytes.data(), L"select:", 14);
        write(bytes, bytes.size() >= 2 && bytes.size() <= kMostAMessageMayHold);
    }

    ASSERT_TRUE(SettleWithSentinel()) << "the instance stopped taking hand-offs";
    ++expectedTabs;
    EXPECT_TRUE(WaitUntil([&] { return TabCount() == expectedTabs; }, 20000))
        << "tabs: " << TabCount() << ", expected " << expectedTabs;
    EXPECT_TRUE(quorlen.Running());
    RecordReliability({"pipe messages", cases, 0, "", failures});
}

// Folders whose names are awkward for command lines, for the pipe's text and
// for the shell's parsing.
std::vector<std::wstring> AwkwardNames() {
    return {L"中文目录", L"emoji \U0001F600 folder", L"with  spaces", L"a&b", L"100%x%", L"x^y", L"bang!"};
}

// Opening the same folders through each of the four ways in: the first way opens
// a tab, the others find it and activate it.
TEST_F(ReliabilityPipeTest, AwkwardFolderNamesOpenOnceThroughEveryWayIn) {
    HWND edit = GetDlgItem(GetDlgItem(window, kCommandBarId), kAddressEditId);
    ASSERT_NE(edit, nullptr) << "no address edit";
    long long cases = 0;
    LRESULT expectedTabs = 1;
    for (const std::wstring& name : AwkwardNames()) {
        const std::filesystem::path folder = data.Path() / name;
        ASSERT_TRUE(std::filesystem::create_directories(folder)) << NarrowForTest(name);
        // The title the shell gives a folder is its name, trailing blanks and all
        // under Wine; it is read back rather than guessed.
        ASSERT_TRUE(SendPipeRequest(folder.wstring()));
        ++expectedTabs;
        ASSERT_TRUE(WaitUntil([&] { return Query(strip, kTabCount) == expectedTabs; }, 20000)) << NarrowForTest(name);
        std::wstring title;
        ASSERT_TRUE(WaitUntil([&] { return !(title = WindowText(strip)).empty() && title != L"新标签"; }, 20000));
        const LRESULT tab = Query(strip, kActiveTab);
        ++cases;

        const auto expectActivated = [&](const char* how) {
            EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == tab; }, 20000))
                << how << " did not activate the tab of " << NarrowForTest(name);
            EXPECT_EQ(Query(strip, kTabCount), expectedTabs) << how << " opened " << NarrowForTest(name) << " twice";
            ++cases;
        };
        Query(strip, kSelectTab, 0);
        LRESULT answer = 0;
        const std::wstring path = folder.wstring();
        ASSERT_TRUE(SendCopyData(window, 1, path.c_str(), static_cast<DWORD>((path.size() + 1) * 2), answer));
        expectActivated("WM_COPYDATA");

        Query(strip, kSelectTab, 0);
        QuorlenProcess second;
        ASSERT_TRUE(second.Start(install, Quoted(path)));
        DWORD exitCode = 1;
        EXPECT_TRUE(second.WaitForExit(30000, exitCode) && exitCode == 0) << "a second start did not hand over";
        expectActivated("a second start");
    }

    // Typed into the address bar, the folder opens in the active tab.
    Query(strip, kSelectTab, 0);
    ASSERT_TRUE(WaitForActiveTitle(L"alpha"));
    const std::wstring typed = (data.Path() / AwkwardNames()[0]).wstring();
    LRESULT ignored = 0;
    ASSERT_TRUE(SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()), ignored));
    ASSERT_TRUE(PostMessageW(window, WM_COMMAND, kAddressEditId, 0));
    EXPECT_TRUE(WaitForActiveTitle(AwkwardNames()[0]));
    ++cases;
    EXPECT_EQ(Query(strip, kTabCount), expectedTabs);
    RecordReliability({"typed and handed-off paths", cases, 0, "", 0});
}

// Texts that name no folder: the hand-off opens a tab that stays untitled, the
// address bar warns and shows the folder it had; nothing hangs.
TEST_F(ReliabilityPipeTest, PathsThatNameNoFolderNeitherHangNorCrash) {
    std::ofstream(std::filesystem::path(folders[1]) / L"note.txt") << "x";
    const std::wstring missing = (data.Path() / L"no such folder").wstring();
    std::wstring deep = folders[1];
    while (deep.size() < 300) deep += L"\\deeper level";
    const std::vector<std::wstring> texts = {
        missing,
        deep,
        L"\\\\?\\" + missing,
        L"\\\\quorlen-no-such-server\\share\\dir",
        L"::{bogus}",
        L"::{00000000-0000-0000-0000-000000000000}",
        folders[1] + L"\\note.txt",
        L"relative\\name",
        L"C:\\a\\..\\..\\..\\..\\..",
        L"\\\\.\\pipe\\QuorlenPipe",
        std::wstring(L"C:\\") + std::wstring(300, L'\\'),
    };
    HWND edit = GetDlgItem(GetDlgItem(window, kCommandBarId), kAddressEditId);
    ASSERT_NE(edit, nullptr) << "no address edit";
    long long cases = 0;
    long long failures = 0;
    for (const std::wstring& text : texts) {
        const LRESULT before = Query(strip, kTabCount);
        ASSERT_TRUE(SendPipeRequest(text));
        LRESULT answer = 0;
        EXPECT_TRUE(SendCopyData(window, 1, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2), answer))
            << "no answer to WM_COPYDATA with " << NarrowForTest(text);
        cases += 2;
        // A path the shell cannot parse may take it a while: that is bounded, not endless.
        if (!WaitUntil([&] { return Answers(window); }, 60000)) {
            ++failures;
            ADD_FAILURE() << "the window hangs on " << NarrowForTest(text);
            break;
        }
        EXPECT_GT(Query(strip, kTabCount), before) << NarrowForTest(text);

        // Typed, the text that opens no folder gets the warning, and the address
        // shows the active folder again.
        // The pipe's hand-off is posted, and may be taken after this selection and
        // bring its own tab to the front: the first tab is chosen until it stays.
        ASSERT_TRUE(WaitUntil(
            [&] {
                Query(strip, kSelectTab, 0);
                return WindowText(strip) == L"alpha";
            },
            30000, 250))
            << "the first tab did not come back to alpha after " << NarrowForTest(text);
        LRESULT ignored = 0;
        ASSERT_TRUE(SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), ignored));
        ASSERT_TRUE(PostMessageW(window, WM_COMMAND, kAddressEditId, 0));
        ++cases;
        HWND box = nullptr;
        if (WaitForWarning(box)) {
            EXPECT_EQ(MessageBoxText(box), L"无法打开该路径") << NarrowForTest(text);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitUntil([&] { return FindMessageBox(quorlen.Id()) == nullptr; }, 10000));
            EXPECT_TRUE(WaitUntil([&] { return lstrcmpiW(WindowText(edit).c_str(), folders[0].c_str()) == 0; }, 10000))
                << "the address reads " << NarrowForTest(WindowText(edit));
        } else {
            // The shell could show something for this text after all; the tab
            // is taken back to its folder.
            ASSERT_TRUE(SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folders[0].c_str()), ignored));
            ASSERT_TRUE(PostMessageW(window, WM_COMMAND, kAddressEditId, 0));
        }
    }
    EXPECT_TRUE(quorlen.Running());
    RecordReliability({"typed and handed-off paths", cases, 0, "odd paths", failures});
}

// WM_COPYDATA records whose length lies, that carry no NUL or are of another
// kind, and the open message without its string.
TEST_F(ReliabilityPipeTest, CopyDataRecordsThatLieAreReadNoFurtherThanTheyReach) {
    long long cases = 0;
    const auto copyData = [&](ULONG_PTR kind, const void* data, DWORD bytes) {
        ++cases;
        LRESULT answer = 0;
        EXPECT_TRUE(SendCopyData(window, kind, data, bytes, answer)) << "no answer to WM_COPYDATA";
        EXPECT_EQ(answer, TRUE);
    };
    // Records of another kind, or with nothing in them, open nothing.
    const std::wstring beta = folders[1];
    const DWORD betaBytes = static_cast<DWORD>((beta.size() + 1) * sizeof(wchar_t));
    for (const ULONG_PTR kind : {ULONG_PTR{0}, ULONG_PTR{2}, ~ULONG_PTR{0}}) copyData(kind, beta.c_str(), betaBytes);
    copyData(1, nullptr, 0);
    EXPECT_TRUE(PostMessageW(window, kOpenPathMessage, 0, 0));
    EXPECT_TRUE(PostMessageW(window, kOpenPathMessage, 1, 0));
    ++cases;
    EXPECT_TRUE(Answers(window));
    EXPECT_EQ(Query(strip, kTabCount), 1);

    // A count beyond the text: the text ends at its NUL, whatever follows.
    std::vector<wchar_t> padded(beta.begin(), beta.end());
    padded.push_back(L'\0');
    padded.insert(padded.end(), {L'\\', L'j', L'u', L'n', L'k'});
    copyData(1, padded.data(), static_cast<DWORD>(padded.size() * sizeof(wchar_t)));
    EXPECT_TRUE(WaitForActiveTitle(L"beta"));
    EXPECT_EQ(Query(strip, kTabCount), 2);

    // Without a NUL, and with an odd count: the text is what the whole units hold.
    const std::wstring third = folders[2];
    copyData(1, third.c_str(), static_cast<DWORD>(third.size() * sizeof(wchar_t)));
    EXPECT_TRUE(WaitForActiveTitle(L"资料"));
    Query(strip, kSelectTab, 0);
    copyData(1, third.c_str(), static_cast<DWORD>(third.size() * sizeof(wchar_t) + 1));
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == 2; }, 20000)) << "the odd count changed the path";
    EXPECT_EQ(Query(strip, kTabCount), 3);

    // A count short of the text cuts it: the cut path names no folder, and
    // opens a tab of its own.
    copyData(1, beta.c_str(), static_cast<DWORD>((beta.size() - 2) * sizeof(wchar_t)));
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kTabCount) == 4; }, 20000));
    // A megabyte of text with no NUL at all.
    const std::wstring huge = L"C:\\" + std::wstring(512 * 1024, L'z');
    copyData(1, huge.c_str(), static_cast<DWORD>(huge.size() * sizeof(wchar_t)));
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kTabCount) == 5; }, 20000));
    EXPECT_TRUE(Answers(window));
    EXPECT_TRUE(quorlen.Running());
    RecordReliability({"WM_COPYDATA", cases, 0, "", 0});
}

}  // namespace
