// The least a program can do to show a folder with the shell's Explorer Browser:
// a plain window, the control, one browse. Nothing that hosts the control can
// show a folder sooner, so it is the floor the file manager's start is held to.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {

IExplorerBrowser* browser = nullptr;

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (browser) {
            RECT client{0, 0, LOWORD(lParam), HIWORD(lParam)};
            browser->SetRect(nullptr, client);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR folder, int) {
    if (FAILED(OleInitialize(nullptr))) return 1;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = FloorWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"QuorlenBench.Floor";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"floor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 900, 600, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNORMAL);

    RECT client{};
    GetClientRect(window, &client);
    FOLDERSETTINGS settings{FVM_DETAILS, 0};
    IShellItem* item = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ExplorerBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&browser))) ||
        FAILED(browser->Initialize(window, &client, &settings)) ||
        FAILED(SHCreateItemFromParsingName(folder, nullptr, IID_PPV_ARGS(&item))) ||
        FAILED(browser->BrowseToObject(item, SBSP_ABSOLUTE))) {
        return 2;
    }
    item->Release();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    browser->Destroy();
    browser->Release();
    OleUninitialize();
    return 0;
}
