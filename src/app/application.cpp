#include "app/application.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>

#include "app/crash_handler.h"
#include "app/instance_channel.h"
#include "app/message_loop.h"
#include "app/mouse_hook.h"
#include "app/posted_path.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "settings/save_queue.h"
#include "settings/settings_store.h"
#include "takeover/uninstall.h"
#include "ui/app_identity.h"
#include "ui/event_log.h"
#include "ui/palette.h"
#include "ui/paths.h"
#include "ui/process_start.h"

namespace {

// Only the instance does this: a start that hands its folder over makes no
// window, and its user32 is loaded only once it is used (see delay_load.cmake).
void MakeProcessDpiAware() {
    const HMODULE user32 = LoadLibraryExW(L"user32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!user32) return;
    using SetContextFunction = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    // Looked up at run time: older systems lack the per-monitor v2 context.
    auto setContext = reinterpret_cast<SetContextFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    if (setContext) {
        setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    } else {
        SetProcessDPIAware();
    }
}

}  // namespace

Application& Application::Instance() {
    static Application application;
    return application;
}

int Application::Run() {
    // A tab or a favourite on an empty card reader or a removed stick would
    // otherwise stop everything with the system's "no disk" box.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    request = ParseCommandLine(ProcessArguments());

    if (request.uninstall) return RunUninstallCommand(request.silent);
    // A restart needs nothing of its own: the instance it replaces stopped
    // taking hand-offs before it started it, so this start waits for that one
    // to end, as any start does that finds the instance going away.
    switch (claim.ClaimOrHandOff(request.path, request.select)) {
    case StartRole::HandedOff:
        return 0;
    case StartRole::Unanswered:
        return 1;
    case StartRole::Instance:
        break;
    }
    // Before anything that could fault: a crash of the instance leaves a report.
    InstallCrashReporting();
    LogEvent(L"instance started for", request.path);
    MakeProcessDpiAware();
    // An installer that closes the program through the Restart Manager starts it
    // again afterwards, and the tabs come back as at any start. Not after a crash
    // or a hang, which could repeat, nor at the next sign-in.
    RegisterApplicationRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
    // Nothing this instance starts, and nothing the shell starts from its
    // views, keeps the program's folder busy as its working folder.
    request.path = FullPathOf(request.path);
    SetCurrentDirectoryW(NeutralWorkingFolder().c_str());
    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxW(nullptr, L"COM 初始化失败", kAppTitle, MB_ICONERROR);
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    InstallTabWheelHook();
    // Served before the window is made: the starts that race this one hand
    // their folders over at once, and those open once the window is there.
    pipeServer.Start(handOffs);

    const int exitCode = RunWindows();

    StopTakingHandOffs();
    RemoveTabWheelHook();
    takeoverCheck.Wait();
    OleUninitialize();
    // The next start reads the config files as soon as it holds the claim.
    FinishSaves();
    claim.Release();
    return exitCode;
}

// Requests that reached the instance while its last window closed open a
// window of their own, as a new start would have done.
int Application::RunWindows() {
    // Every window shows the one record's favourites and choices.
    SettingsStore::Instance().onChange = [this](SettingsChange what) {
        for (const auto& window : windows) window->OnSettingsChanged(what);
    };
    int exitCode = 1;
    PipeRequest opening{request.path, request.select};
    while (OpenFirstWindow(opening)) {
        crashNotice.TellOfNewReport(activeWindow->Hwnd());
        ResumeTakingHandOffs();
        exitCode = RunMessageLoop(*this);
        StopTakingHandOffs();
        std::optional<PipeRequest> kept = handOffs.TakeNext();
        if (!kept) break;
        opening = std::move(*kept);
        // The files may have been changed or become readable since the last
        // window closed.
        SettingsStore::Instance().Reload();
    }
    return exitCode;
}

bool Application::OpenFirstWindow(const PipeRequest& opening) {
    // Each window takes the palette as it is made.
    RefreshPalette(AppearanceFromNumber(SettingsStore::Instance().Values().Appearance));
    // The window is listed before it is created, so that activation and destruction
    // messages sent during creation find it.
    windows.push_back(std::make_unique<MainWindow>(*this));
    MainWindow* first = windows.back().get();
    if (!first->Create(opening.path, opening.select, true, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT)) {
        DiscardWindow(first);
        return false;
    }
    SetActiveWindow(first);
    return true;
}

void Application::StopTakingHandOffs() {
    takingHandOffs = false;
    pipeServer.Stop();
    AimHandOffs();
}

void Application::ResumeTakingHandOffs() {
    takingHandOffs = true;
    pipeServer.Start(handOffs);
    AimHandOffs();
}

void Application::AimHandOffs() {
    MainWindow* target = activeWindow ? activeWindow : (windows.empty() ? nullptr : windows.back().get());
    handOffs.SetTarget(takingHandOffs && target ? target->Hwnd() : nullptr);
}

MainWindow* Application::WindowForRoot(HWND root) const {
    for (const auto& window : windows) {
        if (window->Hwnd() == root) return window.get();
    }
    return nullptr;
}

bool Application::DiscardWindow(MainWindow* window) {
    auto found = std::find_if(windows.begin(), windows.end(),
                              [window](const auto& listed) { return listed.get() == window; });
    if (found == windows.end()) return false;
    // Take the window out of the list before it is destroyed, so that nothing
    // its destructor triggers can find it there.
    std::unique_ptr<MainWindow> discarded = std::move(*found);
    windows.erase(found);
    discarded->Detach();
    return true;
}

void Application::WindowActivated(MainWindow& window) { SetActiveWindow(&window); }

void Application::WindowClosing() {
    // The last window: folders handed over from now on could not open here, so
    // none is taken before the files are written and the window goes.
    if (windows.size() == 1) StopTakingHandOffs();
}

void Application::WindowDestroyed(MainWindow& window) {
    PassOnUnopened(window.Hwnd());
    if (activeWindow == &window) activeWindow = nullptr;
    DiscardWindow(&window);
    AimHandOffs();
    if (windows.empty()) PostQuitMessage(0);
}

void Application::SetActiveWindow(MainWindow* window) {
    activeWindow = window;
    AimHandOffs();
}

bool Application::OpenWindow(const std::wstring& path, int width, int height, int x, int y,
                             const TabState& state) {
    windows.push_back(std::make_unique<MainWindow>(*this));
    MainWindow* window = windows.back().get();
    if (!window->Create(path, false, false, width, height, x, y, state)) {
        DiscardWindow(window);
        return false;
    }
    SetActiveWindow(window);
    return true;
}

bool Application::GiveTab(HWND root, const MainWindow& from, POINT screenPoint, const std::wstring& path,
                          const TabState& state) {
    MainWindow* other = WindowForRoot(root);
    return other && other != &from && other->AcceptTab(screenPoint, path, state) >= 0;
}

// Every window is listed before it is created, so the tabs of all windows, the
// one asking included, are in the list.
void Application::CollectSavedTabs(SavedTabs& saved) const {
    for (const auto& window : windows) window->CollectSavedTabs(saved);
}

// Folders handed to a window that it has not opened yet go to another window,
// or back to the hand-off queue, which opens a window for them.
void Application::PassOnUnopened(HWND going) {
    HWND heir = nullptr;
    for (const auto& window : windows) {
        if (window->Hwnd() && window->Hwnd() != going) heir = window->Hwnd();
    }
    std::vector<PipeRequest> unopened;
    MSG pending{};
    while (PeekMessageW(&pending, going, WM_APP_OPEN_PATH, WM_APP_OPEN_PATH, PM_REMOVE)) {
        if (heir && PostMessageW(heir, WM_APP_OPEN_PATH, pending.wParam, pending.lParam)) continue;
        if (std::unique_ptr<std::wstring> path = TakePostedPath(pending.lParam)) {
            unopened.push_back(PipeRequest{std::move(*path), pending.wParam != 0});
        }
    }
    if (!unopened.empty()) handOffs.GiveBack(std::move(unopened));
}

void Application::Restart(MainWindow& asking) {
    wchar_t exe[MAX_PATH]{};
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::wstring commandLine = L"\"" + std::wstring(exe, length) + L"\" --restart";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    // The new process must not hand its start back to this one, which is about to go.
    StopTakingHandOffs();
    // The new process reads the config files.
    FlushSaves();
    if (!CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ResumeTakingHandOffs();
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    // By their windows: a window that closes may take another with it.
    std::vector<HWND> others;
    for (const std::unique_ptr<MainWindow>& window : windows) {
        if (window.get() != &asking) others.push_back(window->Hwnd());
    }
    for (HWND other : others) {
        if (MainWindow* window = WindowForRoot(other)) window->CloseForRestart();
    }
    asking.CloseForRestart();
}
