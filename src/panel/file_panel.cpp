#include "panel/file_panel.h"

#include <shlobj.h>

#include <algorithm>
#include <iterator>

#include "panel/explorer_events.h"
#include "ui/palette.h"
#include "ui/resize_band.h"
#include "ui/window_class.h"

namespace {

constexpr wchar_t kHostClass[] = L"Quorlen.PanelHost";
// One name for every panel, so the shell keeps a single view state for all of them.
constexpr wchar_t kPropertyBagName[] = L"_daZoraVodezude_Persisted_Info_";

// Spelled out here rather than taken from the shell's GUID library, which not
// every tool set ships with the same names.
constexpr GUID kExplorerPaneVisibilityService = {
    0xe07010ec, 0xbc17, 0x44c0, {0x97, 0xb0, 0x46, 0xc7, 0xc9, 0x5b, 0x9e, 0xdc}};
constexpr GUID kNavigationPaneId = {0xcb316b22, 0x25f7, 0x42b8, {0x8a, 0x09, 0x54, 0x0d, 0x23, 0xa4, 0x3c, 0x2f}};
// The commands module along the top, and its two halves.
constexpr GUID kCommandPaneIds[] = {
    {0xd9745868, 0xca5f, 0x4a76, {0x91, 0xcd, 0xf5, 0xa1, 0x29, 0xfb, 0xb0, 0x76}},
    {0x72e81700, 0xe3ec, 0x4660, {0xbf, 0x24, 0x3c, 0x3b, 0x7b, 0x64, 0x88, 0x06}},
    {0x21f7c32d, 0xeeaa, 0x439b, {0xbb, 0x51, 0x37, 0xb9, 0x6f, 0xd6, 0xa9, 0x43}},
};
constexpr GUID kDetailsPaneId = {0x43abf98b, 0x89b8, 0x472d, {0xb9, 0xce, 0xe6, 0x9b, 0x82, 0x29, 0xf0, 0x19}};
constexpr GUID kPreviewPaneId = {0x893c63d1, 0x45c8, 0x4d17, {0xbe, 0x19, 0x22, 0x3b, 0xe7, 0x1b, 0xe3, 0x65}};

constexpr EXPLORERPANESTATE PaneState(bool visible) {
    return EPS_FORCE | (visible ? EPS_DEFAULT_ON : EPS_DEFAULT_OFF);
}

void RegisterHostClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kHostClass;
    // Fails harmlessly when another panel registered the class already.
    RegisterClassExW(&windowClass);
}

}  // namespace

FilePanel::~FilePanel() { Destroy(); }

IFACEMETHODIMP FilePanel::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IServiceProvider) {
        *object = static_cast<IServiceProvider*>(this);
    } else if (riid == IID_IExplorerPaneVisibility) {
        *object = static_cast<IExplorerPaneVisibility*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

IFACEMETHODIMP_(ULONG) FilePanel::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refCount)); }

IFACEMETHODIMP_(ULONG) FilePanel::Release() { return static_cast<ULONG>(InterlockedDecrement(&refCount)); }

IFACEMETHODIMP FilePanel::QueryService(REFGUID service, REFIID riid, void** object) {
    if (service == kExplorerPaneVisibilityService) return QueryInterface(riid, object);
    if (object) *object = nullptr;
    return E_NOINTERFACE;
}

IFACEMETHODIMP FilePanel::GetPaneState(REFEXPLORERPANE pane, EXPLORERPANESTATE* state) {
    if (!state) return E_POINTER;
    if (pane == kNavigationPaneId) {
        *state = PaneState(navPaneVisible);
    } else if (pane == kDetailsPaneId) {
        *state = PaneState(detailsPaneVisible);
    } else if (pane == kPreviewPaneId) {
        *state = PaneState(previewPaneVisible);
    } else if (std::find(std::begin(kCommandPaneIds), std::end(kCommandPaneIds), pane) != std::end(kCommandPaneIds)) {
        // The command bar above the tabs does their work.
        *state = EPS_DEFAULT_OFF | EPS_FORCE;
    } else {
        return E_NOTIMPL;
    }
    return S_OK;
}

bool FilePanel::Create(HWND parent, int id, const RECT& bounds) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterHostClass(instance, RouteToObject<FilePanel>);
    if (!CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, bounds.left, bounds.top,
                         bounds.right - bounds.left, bounds.bottom - bounds.top, parent, ControlId(id), instance,
                         this)) {
        return false;
    }
    historyReach.TellWhenAnswered(hwnd, kHistoryReachedMessage);

    ReleaseBrowser();
    if (FAILED(CoCreateInstance(CLSID_ExplorerBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(browser.put())))) {
        ReleaseBrowser();
        DestroyBoundWindow(hwnd);
        return false;
    }
    // The site must be in place before Initialize: that is when the control asks
    // which panes to show.
    ComPtr<IObjectWithSite> site;
    if (SUCCEEDED(browser.As(site))) site->SetSite(static_cast<IServiceProvider*>(this));

    RECT client{};
    GetClientRect(hwnd, &client);
    if (FAILED(browser->Initialize(hwnd, &client, nullptr))) {
        ReleaseBrowser();
        DestroyBoundWindow(hwnd);
        return false;
    }
    browser->SetOptions(static_cast<EXPLORER_BROWSER_OPTIONS>(EBO_SHOWFRAMES | EBO_ALWAYSNAVIGATE | EBO_NOTRAVELLOG |
                                                              EBO_NOBORDER));
    browser->SetPropertyBag(kPropertyBagName);
    events = new ExplorerEvents(this);
    if (FAILED(browser->Advise(events, &adviseCookie))) adviseCookie = 0;
    BorderCursorSubclass(hwnd);
    return true;
}

// Lets go of the control and its event sink; late events then reach nothing.
void FilePanel::ReleaseBrowser() {
    if (browser) {
        ComPtr<IObjectWithSite> site;
        if (SUCCEEDED(browser.As(site))) site->SetSite(nullptr);
        if (adviseCookie) {
            browser->Unadvise(adviseCookie);
            adviseCookie = 0;
        }
        browser->Destroy();
        browser.reset();
    }
    if (events) {
        events->Disconnect();
        events->Release();
        events = nullptr;
    }
}

void FilePanel::Destroy() {
    if (destroyed) return;
    destroyed = true;
    RemoveViewSubclasses();
    ReleaseBrowser();
    DestroyBoundWindow(hwnd);
    viewWindow = nullptr;
    history.Clear();
    currentItem.reset();
    currentPath.clear();
    returnItem.reset();
}

LRESULT FilePanel::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kHistoryReachedMessage:
        ResumeHistoryStep();
        return 0;
    case kLookForTreeMessage:
        // Told its own size again, the control lays its panes out once.
        if (HWND control = BrowserWindow(); control && navPaneVisible && !ShownTreeWindow()) {
            RECT client{};
            GetClientRect(control, &client);
            SendMessageW(control, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        }
        return 0;
    case WM_SIZE:
        if (HWND control = BrowserWindow()) {
            RECT client{};
            GetClientRect(hwnd, &client);
            SetWindowPos(control, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (viewWindow) {
            SetFocus(viewWindow);
            return 0;
        }
        break;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_ERASEBKGND:
        // Seen until the shell view is in place, and where it does not reach.
        return EraseWithInk(hwnd, reinterpret_cast<HDC>(wParam), ChromeInk::Field);
    case WM_SETCURSOR:
        if (ShowArrowInResizeBand(hwnd)) return TRUE;
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND FilePanel::BrowserWindow() const {
    if (!browser) return nullptr;
    ComPtr<IOleWindow> window;
    HWND handle = nullptr;
    if (SUCCEEDED(browser.As(window)) && SUCCEEDED(window->GetWindow(&handle))) return handle;
    return nullptr;
}

void FilePanel::SetPaneVisible(int pane, bool visible) {
    bool* shown = nullptr;
    switch (pane) {
    case kNavigationPane: shown = &navPaneVisible; break;
    case kDetailsPane: shown = &detailsPaneVisible; break;
    case kPreviewPane: shown = &previewPaneVisible; break;
    default: return;
    }
    // Each nudge below lays the whole control out again: worth it only for a change.
    if (*shown == visible) return;
    *shown = visible;
    LayOutPanesAgain();
}

// A size change is what makes the control lay out again and ask for the panes.
void FilePanel::LayOutPanesAgain() {
    if (!hwnd || !browser) return;
    RECT bounds{};
    GetWindowRect(hwnd, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    constexpr UINT kResizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(hwnd, nullptr, 0, 0, width + 1, height + 1, kResizeOnly);
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, kResizeOnly);
}

bool FilePanel::IsPaneVisible(int pane) const {
    switch (pane) {
    case kNavigationPane: return navPaneVisible;
    case kDetailsPane: return detailsPaneVisible;
    case kPreviewPane: return previewPaneVisible;
    default: return false;
    }
}

void FilePanel::SetShowFileExt(bool show) {
    showFileExt = show;
    if (auto view = CurrentView<IFolderView2>()) {
        view->SetCurrentFolderFlags(FWF_HIDEFILENAMES, show ? 0u : static_cast<DWORD>(FWF_HIDEFILENAMES));
    }
}

bool FilePanel::SetFolderFlag(DWORD mask, bool on) {
    auto view = CurrentView<IFolderView2>();
    return view && SUCCEEDED(view->SetCurrentFolderFlags(mask, on ? mask : 0));
}

bool FilePanel::GetViewMode(FOLDERVIEWMODE& mode, int& iconSize) const {
    mode = static_cast<FOLDERVIEWMODE>(-1);
    iconSize = 0;
    auto view = CurrentView<IFolderView2>();
    return view && SUCCEEDED(view->GetViewModeAndIconSize(&mode, &iconSize));
}

void FilePanel::SetViewMode(FOLDERVIEWMODE mode, int iconSize) {
    if (auto view = CurrentView<IFolderView2>()) view->SetViewModeAndIconSize(mode, iconSize);
}

void FilePanel::SelectItemByPath(const std::wstring& path) {
    auto view = CurrentView<IShellView>();
    if (!view) return;
    UniqueIdList list;
    if (FAILED(SHParseDisplayName(path.c_str(), nullptr, list.put(), 0, nullptr)) || !list) return;
    view->SelectItem(ILFindLastID(list.get()), SVSI_SELECT | SVSI_ENSUREVISIBLE | SVSI_FOCUSED);
}

void FilePanel::Activate(bool focus) {
    if (auto view = CurrentView<IShellView>()) view->UIActivate(focus ? SVUIA_ACTIVATE_FOCUS : SVUIA_ACTIVATE_NOFOCUS);
    if (hwnd) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The view windows of a panel shown again are watched at once, not only at
    // the next check: a click in its tree meanwhile would not open a tab.
    CheckViewWindows();
    if (!focus) return;
    if (viewWindow) {
        SetFocus(viewWindow);
    } else if (HWND control = BrowserWindow()) {
        SetFocus(control);
    } else if (hwnd) {
        SetFocus(hwnd);
    }
}

void FilePanel::Deactivate() {
    if (auto view = CurrentView<IShellView>()) view->UIActivate(SVUIA_DEACTIVATE);
}

bool FilePanel::TranslateViewAccelerator(MSG& message) {
    auto view = CurrentView<IShellView>();
    return view && view->TranslateAccelerator(&message) == S_OK;
}
