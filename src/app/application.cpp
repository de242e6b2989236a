#include "app/application.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>

#include "app/instance_channel.h"
#include "app/message_loop.h"
#include "app/mouse_hook.h"
#include "mainwindow/main_window.h"
#include "takeover/takeover.h"
#include "takeover/uninstall.h"
#include "ui/app_identity.h"

Application& Application::Instance() {
    static Application application;
    return application;
}

int Application::Run() {
    request = ParseCommandLine(ProcessArguments());

    if (request.uninstall) return RunUninstallCommand(request.silent);
    if (request.restart) WaitForPreviousInstanceToExit();
    RegisterUninstallEntry();
    if (HandOff(request.path, request.select)) return 0;

    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxW(nullptr, L"COM 初始化失败", kAppTitle, MB_ICONERROR);
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);

    // The window is listed before it is created, so that activation and destruction
    // messages sent during creation find it.
    windows.push_back(std::make_unique<MainWindow>());
    MainWindow* first = windows.back().get();
    if (!first->Create(request.path, request.select, true, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT)) {
        DiscardWindow(first);
        OleUninitialize();
        return 1;
    }
    SetActiveWindow(first);

    InstallTabWheelHook();
    UniqueKernelHandle pipeThread = StartPipeServer(*this);

    const int exitCode = RunMessageLoop(*this);

    RemoveTabWheelHook();
    pipeThread.reset();
    SwitchToFallbackAtExit();
    OleUninitialize();
    return exitCode;
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

void Application::OnWindowDestroyed(MainWindow* window) {
    if (activeWindow == window) activeWindow = nullptr;
    if (window->Hwnd() != nullptr && activeHwnd.load() == window->Hwnd()) activeHwnd = nullptr;
    DiscardWindow(window);
    if (windows.empty()) PostQuitMessage(0);
}

void Application::SetActiveWindow(MainWindow* window) {
    activeWindow = window;
    activeHwnd = window->Hwnd();
}

MainWindow* Application::OpenWindow(const std::wstring& path, int width, int height, int x, int y) {
    windows.push_back(std::make_unique<MainWindow>());
    MainWindow* window = windows.back().get();
    if (!window->Create(path, false, false, width, height, x, y)) {
        DiscardWindow(window);
        return nullptr;
    }
    SetActiveWindow(window);
    return window;
}
