#include "panel/file_panel.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "ui/shell_items.h"

namespace {

constexpr GUID kNavigationPane = {0xcb316b22, 0x25f7, 0x42b8, {0x8a, 0x09, 0x54, 0x0d, 0x23, 0xa4, 0x3c, 0x2f}};
constexpr GUID kDetailsPane = {0x43abf98b, 0x89b8, 0x472d, {0xb9, 0xce, 0xe6, 0x9b, 0x82, 0x29, 0xf0, 0x19}};
constexpr GUID kPreviewPane = {0x893c63d1, 0x45c8, 0x4d17, {0xbe, 0x19, 0x22, 0x3b, 0xe7, 0x1b, 0xe3, 0x65}};
// The command module and ribbon panes, which the panel leaves to the control.
constexpr GUID kCommandsPane = {0xd9745868, 0xca5f, 0x4a76, {0x91, 0xcd, 0xf5, 0xa1, 0x29, 0xfb, 0xb0, 0x76}};
constexpr GUID kPaneVisibilityService = {0xe07010ec, 0xbc17, 0x44c0, {0x97, 0xb0, 0x46, 0xc7, 0xc9, 0x5b, 0x9e, 0xdc}};

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

// A shown context menu's entries, read from within its modal loop by a timer,
// which then picks the entry at a position by keyboard, or closes the menu.
struct ShownMenu {
    std::vector<std::wstring> entries;
    int pick = -1;
    bool seen = false;
};
ShownMenu shownMenu;

void CALLBACK ReadShownMenu(HWND, UINT, UINT_PTR, DWORD) {
    const HWND popup = FindWindowW(L"#32768", nullptr);
    if (shownMenu.seen || !popup || !IsWindowVisible(popup)) return;
    shownMenu.seen = true;
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, i, text, ARRAYSIZE(text), MF_BYPOSITION);
        shownMenu.entries.emplace_back(text);
    }
    if (shownMenu.pick < 0) {
        EndMenu();
        return;
    }
    for (int i = 0; i <= shownMenu.pick; ++i) PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
}

class OleTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

// The shell's own name for a folder, as navigation reports it.
std::wstring ParsingPathOf(const std::wstring& path) {
    ComPtr<IShellItem> item;
    if (FAILED(ItemFromPath(path, item.put()))) return {};
    return ParsingPath(item.get());
}

UniqueIdList IdListOf(const std::wstring& path) {
    UniqueIdList list;
    SHParseDisplayName(path.c_str(), nullptr, list.put(), 0, nullptr);
    return list;
}

using FilePanelFaces = OleTest;

TEST_F(FilePanelFaces, PaneStatesForceTheThreePanesAndHideTheCommands) {
    FilePanel panel;
    EXPLORERPANESTATE state = 0;
    ASSERT_EQ(panel.GetPaneState(kNavigationPane, &state), S_OK);
    EXPECT_EQ(state, static_cast<EXPLORERPANESTATE>(EPS_FORCE | EPS_DEFAULT_ON));
    ASSERT_EQ(panel.GetPaneState(kPreviewPane, &state), S_OK);
    EXPECT_EQ(state, static_cast<EXPLORERPANESTATE>(EPS_FORCE | EPS_DEFAULT_OFF));

    panel.SetPaneVisible(FilePanel::kDetailsPane, true);
    panel.SetPaneVisible(FilePanel::kNavigationPane, false);
    ASSERT_EQ(panel.GetPaneState(kDetailsPane, &state), S_OK);
    EXPECT_EQ(state, static_cast<EXPLORERPANESTATE>(EPS_FORCE | EPS_DEFAULT_ON));
    ASSERT_EQ(panel.GetPaneState(kNavigationPane, &state), S_OK);
    EXPECT_EQ(state, static_cast<EXPLORERPANESTATE>(EPS_FORCE | EPS_DEFAULT_OFF));
    EXPECT_TRUE(panel.IsPaneVisible(FilePanel::kDetailsPane));
    EXPECT_FALSE(panel.IsPaneVisible(7));

    // The control's own commands module goes: the program's command bar does its work.
    ASSERT_EQ(panel.GetPaneState(kCommandsPane, &state), S_OK);
    EXPECT_EQ(state, static_cast<EXPLORERPANESTATE>(EPS_FORCE | EPS_DEFAULT_OFF));
    constexpr GUID kStatusBar = {0x65fe56ce, 0x5cfe, 0x4bc4, {0xad, 0x8a, 0x7a, 0xe3, 0xfe, 0x7e, 0x8f, 0x7c}};
    EXPECT_EQ(panel.GetPaneState(kStatusBar, &state), E_NOTIMPL);
    EXPECT_EQ(panel.GetPaneState(kNavigationPane, nullptr), E_POINTER);
}

TEST_F(FilePanelFaces, TheControlFindsThePaneAnswersThroughTheSite) {
    FilePanel panel;
    ComPtr<IExplorerPaneVisibility> visibility;
    ASSERT_EQ(panel.QueryService(kPaneVisibilityService, IID_PPV_ARGS(visibility.put())), S_OK);
    EXPECT_EQ(static_cast<void*>(visibility.get()), static_cast<void*>(static_cast<IExplorerPaneVisibility*>(&panel)));

    ComPtr<IUnknown> other;
    EXPECT_EQ(panel.QueryService(IID_IUnknown, IID_PPV_ARGS(other.put())), E_NOINTERFACE);
    EXPECT_EQ(other.get(), nullptr);
    ComPtr<IShellView> notOurs;
    EXPECT_EQ(panel.QueryInterface(IID_PPV_ARGS(notOurs.put())), E_NOINTERFACE);
    EXPECT_EQ(panel.QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(FilePanelFaces, ReleaseNeverDeletesThePanel) {
    // On the stack: a Release that deleted the panel would fail here at once.
    FilePanel panel;
    panel.AddRef();
    EXPECT_EQ(panel.Release(), 1u);
    EXPECT_EQ(panel.Release(), 0u);
    EXPECT_EQ(panel.GetCurrentPath(), L"");
}

// The navigation pane's diversion, driven through the events the control raises.
class TreeDiversion : public OleTest {
protected:
    void SetUp() override {
        OleTest::SetUp();
        windows = ParsingPathOf(L"C:\\windows");
        system32 = ParsingPathOf(L"C:\\windows\\system32");
        ASSERT_FALSE(windows.empty());
        ASSERT_FALSE(system32.empty());
        panel.onOpenInTab = [this](const std::wstring& path) { openedInTab.push_back(path); };
        panel.onNavigated = [this](FilePanel*, const std::wstring& path) { reported.push_back(path); };
        panel.MarkReady();
    }

    std::wstring windows, system32;
    FilePanel panel;
    std::vector<std::wstring> openedInTab;
    std::vector<std::wstring> reported;
};

TEST_F(TreeDiversion, AFolderPickedInTheTreeOpensInATabAndIsNotReportedHere) {
    panel.SetTreeTargetPath(system32);
    const UniqueIdList target = IdListOf(system32);
    EXPECT_EQ(panel.OnNavigationPending(target.get()), S_FALSE);
    ASSERT_EQ(openedInTab, std::vector<std::wstring>{system32});
    EXPECT_EQ(panel.OnNavigationComplete(target.get()), S_OK);
    EXPECT_TRUE(reported.empty());

    // The next navigation is an ordinary one again.
    const UniqueIdList elsewhere = IdListOf(windows);
    EXPECT_EQ(panel.OnNavigationPending(elsewhere.get()), S_OK);
    panel.OnNavigationComplete(elsewhere.get());
    EXPECT_EQ(reported, std::vector<std::wstring>{windows});
    EXPECT_EQ(panel.GetCurrentPath(), windows);
}

TEST_F(TreeDiversion, AStaleTreeTargetNeverDivertsALaterNavigation) {
    panel.SetTreeTargetPath(system32);
    const UniqueIdList elsewhere = IdListOf(windows);
    EXPECT_EQ(panel.OnNavigationPending(elsewhere.get()), S_OK);
    const UniqueIdList target = IdListOf(system32);
    EXPECT_EQ(panel.OnNavigationPending(target.get()), S_OK);
    EXPECT_TRUE(openedInTab.empty());

    // A completed navigation also drops a target nobody navigated to.
    panel.SetTreeTargetPath(system32);
    panel.OnNavigationComplete(elsewhere.get());
    EXPECT_EQ(panel.OnNavigationPending(target.get()), S_OK);
    EXPECT_TRUE(openedInTab.empty());
}

TEST_F(TreeDiversion, AFailedDiversionLeavesThePanelAsItWas) {
    panel.SetTreeTargetPath(system32);
    const UniqueIdList target = IdListOf(system32);
    ASSERT_EQ(panel.OnNavigationPending(target.get()), S_FALSE);
    panel.OnNavigationFailed();
    const UniqueIdList elsewhere = IdListOf(windows);
    panel.OnNavigationComplete(elsewhere.get());
    EXPECT_EQ(reported, std::vector<std::wstring>{windows});
}

TEST(TreeDiversionBeforeReady, APanelNotYetSetUpDivertsNothing) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        FilePanel panel;
        bool opened = false;
        panel.onOpenInTab = [&opened](const std::wstring&) { opened = true; };
        const std::wstring windows = ParsingPathOf(L"C:\\windows");
        panel.SetTreeTargetPath(windows);
        const UniqueIdList target = IdListOf(windows);
        EXPECT_EQ(panel.OnNavigationPending(target.get()), S_OK);
        EXPECT_FALSE(opened);
    }
    OleUninitialize();
}

// The panel with the real control in a hidden window.
class HostedFilePanel : public OleTest {
protected:
    void SetUp() override {
        OleTest::SetUp();
        parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 800, 600, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        panel = std::make_unique<FilePanel>();
        panel->onNavigated = [this](FilePanel*, const std::wstring& path) { reported.push_back(path); };
        ASSERT_TRUE(panel->Create(parent, 3, RECT{0, 0, 800, 600}));
        panel->MarkReady();
        windows = ParsingPathOf(L"C:\\windows");
        system32 = ParsingPathOf(L"C:\\windows\\system32");
    }
    void TearDown() override {
        panel.reset();
        if (parent) DestroyWindow(parent);
        OleTest::TearDown();
    }

    // The menu key's menu on the selection: its entries, after the one at
    // position pick (or none) was chosen. The menu's loop returns when it closes.
    std::vector<std::wstring> MenuKeyMenu(int pick) {
        shownMenu = ShownMenu{{}, pick, false};
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadShownMenu);
        SendMessageW(panel->ViewWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->ViewWindow()),
                     MAKELPARAM(-1, -1));
        KillTimer(nullptr, timer);
        return shownMenu.entries;
    }

    bool NavigateAndWait(const std::function<bool()>& navigate, const std::wstring& expected) {
        const size_t before = reported.size();
        if (!navigate()) return false;
        return PumpUntil([&] { return reported.size() > before && reported.back() == expected; }, 15000);
    }

    HWND parent = nullptr;
    std::unique_ptr<FilePanel> panel;
    std::vector<std::wstring> reported;
    std::wstring windows, system32;
};

TEST_F(HostedFilePanel, HostsTheControlInItsOwnChildWindow) {
    HWND host = panel->HostWindow();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(GetParent(host), parent);
    EXPECT_EQ(GetDlgCtrlID(host), 3);
    wchar_t className[64] = {};
    GetClassNameW(host, className, 64);
    EXPECT_STREQ(className, L"Quorlen.PanelHost");
    EXPECT_NE(GetWindow(host, GW_CHILD), nullptr) << "the control made no window in the host";

    panel->Destroy();
    EXPECT_FALSE(IsWindow(host));
    EXPECT_FALSE(panel->NavigateToPath(windows));
    panel->Destroy();
    EXPECT_EQ(panel->HostWindow(), nullptr);
}

TEST_F(HostedFilePanel, KeepsItsOwnBackAndForwardHistory) {
    ASSERT_TRUE(NavigateAndWait([&] { return panel->NavigateToPath(L"C:\\windows"); }, windows));
    EXPECT_EQ(panel->GetCurrentPath(), windows);
    EXPECT_FALSE(panel->GoBack());

    ASSERT_TRUE(NavigateAndWait([&] { return panel->NavigateToPath(L"C:\\windows\\system32"); }, system32));
    EXPECT_EQ(panel->HistoryIndex(), 1);
    EXPECT_FALSE(panel->GoForward());

    ASSERT_TRUE(NavigateAndWait([&] { return panel->GoBack(); }, windows));
    EXPECT_EQ(panel->HistoryIndex(), 0);
    EXPECT_EQ(panel->HistorySize(), 2);
    ASSERT_TRUE(NavigateAndWait([&] { return panel->GoForward(); }, system32));

    ASSERT_TRUE(NavigateAndWait([&] { return panel->GoUp(); }, windows));
    EXPECT_EQ(panel->HistorySize(), 3);
    ASSERT_TRUE(NavigateAndWait([&] { return panel->GoBack(); }, system32));
    // Somewhere new from the middle drops what lay ahead.
    ASSERT_TRUE(NavigateAndWait([&] { return panel->NavigateToPath(L"C:\\windows"); }, windows));
    EXPECT_EQ(panel->HistorySize(), 3);
    EXPECT_FALSE(panel->GoForward());
}

// A saved entry on a share is looked up off the window's thread: the step back
// is taken once the share has answered, and one that is gone is passed over.
TEST_F(HostedFilePanel, AStepBackToAShareWaitsForItsAnswerOffTheWindowsThread) {
    const TabHistory saved{{L"C:\\windows", L"\\\\no-such-host.invalid\\share\\gone", L"C:\\windows\\system32"}, 2};
    ASSERT_TRUE(NavigateAndWait([&] { return panel->OpenHistory(saved); }, system32));
    ASSERT_TRUE(NavigateAndWait([&] { return panel->GoBack(); }, windows)) << "the step never went past the share";
    EXPECT_EQ(panel->HistoryIndex(), 0);
}

TEST_F(HostedFilePanel, AnUnparsablePathLeavesTheHistoryAlone) {
    EXPECT_FALSE(panel->NavigateToPath(L"Q:\\no such folder\\anywhere"));
    EXPECT_FALSE(panel->NavigateToPath(L""));
    EXPECT_EQ(panel->HistorySize(), 0);
    EXPECT_EQ(panel->HistoryIndex(), -1);
}

TEST_F(HostedFilePanel, ItsOwnNavigationIsNeverDiverted) {
    bool opened = false;
    panel->onOpenInTab = [&opened](const std::wstring&) { opened = true; };
    panel->SetTreeTargetPath(windows);
    ASSERT_TRUE(NavigateAndWait([&] { return panel->NavigateToPath(L"C:\\windows"); }, windows));
    EXPECT_FALSE(opened);
}

TEST_F(HostedFilePanel, ARefreshDoesNotKeepTheNextTreeClickFromOpeningATab) {
    ASSERT_TRUE(NavigateAndWait([&] { return panel->NavigateToPath(L"C:\\windows"); }, windows));
    panel->Refresh();
    std::vector<std::wstring> opened;
    panel->onOpenInTab = [&opened](const std::wstring& path) { opened.push_back(path); };
    panel->SetTreeTargetPath(system32);
    const UniqueIdList target = IdListOf(system32);
    EXPECT_EQ(panel->OnNavigationPending(target.get()), S_FALSE);
    EXPECT_EQ(opened, std::vector<std::wstring>{system32});
}

TEST_F(HostedFilePanel, WithASecondPaneTheItemMenuOffersItForFilesAndFolders) {
    const TempFolder folder;
    const std::filesystem::path subfolder = folder.Path() / L"资料";
    const std::filesystem::path file = folder.Path() / L"a.txt";
    std::filesystem::create_directory(subfolder);
    std::ofstream(file) << "a";
    const std::wstring shown = ParsingPathOf(folder.Path().wstring());
    ASSERT_TRUE(NavigateAndWait([&] { return panel->NavigateToPath(folder.Path().wstring()); }, shown));
    panel->CheckViewWindows();
    std::vector<FilePanel::PaneCommand> commands;
    panel->onPaneCommand = [&commands](FilePanel*, FilePanel::PaneCommand command) { commands.push_back(command); };
    panel->OfferOtherPane(true);

    panel->SelectItemByPath(subfolder.wstring());
    ASSERT_TRUE(PumpUntil([&] { return panel->FolderForOtherPane() == ParsingPathOf(subfolder.wstring()); }, 5000));
    const std::vector<std::wstring> folderMenu = MenuKeyMenu(3);
    ASSERT_GE(folderMenu.size(), 5u) << "no menu of the panel's own";
    EXPECT_EQ(folderMenu[2], L"在新标签页打开");
    EXPECT_EQ(folderMenu[3], L"在另一窗格中打开此文件夹\tF9");
    EXPECT_EQ(commands, std::vector<FilePanel::PaneCommand>{FilePanel::PaneCommand::OpenInOther});

    // Two items, one of them a file: the folder shown goes to the other pane.
    panel->SelectItemByPath(file.wstring());
    ASSERT_TRUE(PumpUntil([&] { return panel->SelectedItemPaths().size() == 2; }, 5000));
    EXPECT_EQ(panel->FolderForOtherPane(), shown);
    const std::vector<std::wstring> itemsMenu = MenuKeyMenu(1);
    ASSERT_GE(itemsMenu.size(), 3u) << "no menu of the panel's own";
    EXPECT_EQ(itemsMenu[0], L"复制到另一窗格\tF7");
    EXPECT_EQ(itemsMenu[1], L"移动到另一窗格\tF8");
    EXPECT_EQ(itemsMenu[2], L"") << "a separator before the shell's entries";
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1], FilePanel::PaneCommand::MoveToOther);

    // Without the second pane the shell shows its own menu for them.
    panel->OfferOtherPane(false);
    for (const std::wstring& entry : MenuKeyMenu(-1)) EXPECT_EQ(entry.find(L"另一窗格"), std::wstring::npos);
    EXPECT_EQ(commands.size(), 2u);
}

}  // namespace
