#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>

#include "panel/file_panel.h"
#include "panel/view_input_rules.h"
#include "ui/shell_items.h"
#include "ui/window_search.h"

// The shell view's inner windows: finding them, keeping their subclasses on the
// windows that exist now, and the navigation pane's layout correction.

namespace {

// Id 0 is the resize-band cursor subclass, which stays on for the windows' lives.
constexpr UINT_PTR kViewSubclass = 1;
constexpr UINT_PTR kDuiViewSubclass = 2;
constexpr UINT_PTR kDirectUiSubclass = 3;
constexpr UINT_PTR kListViewSubclass = 5;
constexpr UINT_PTR kTreeHostSubclass = 6;
constexpr UINT_PTR kTreeSubclass = 7;

bool IsLive(HWND window) { return window && IsWindow(window); }

bool HasClass(HWND window, const wchar_t* className) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return lstrcmpiW(name, className) == 0;
}

HWND AncestorOfClass(HWND window, const wchar_t* className) {
    for (HWND above = window ? GetParent(window) : nullptr; above; above = GetParent(above)) {
        if (HasClass(above, className)) return above;
    }
    return nullptr;
}

// Moves a subclass from the remembered window to the found one.
void MoveSubclass(HWND& remembered, HWND found, SUBCLASSPROC procedure, UINT_PTR id, FilePanel* panel) {
    if (found == remembered) return;
    if (IsLive(remembered)) RemoveWindowSubclass(remembered, procedure, id);
    remembered = found;
    if (found) SetWindowSubclass(found, procedure, id, reinterpret_cast<DWORD_PTR>(panel));
}

void RemoveSubclass(HWND& window, SUBCLASSPROC procedure, UINT_PTR id) {
    if (IsLive(window)) RemoveWindowSubclass(window, procedure, id);
    window = nullptr;
}

POINT ClientPoint(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

POINT ScreenPoint(HWND window, LPARAM lParam) {
    POINT point = ClientPoint(lParam);
    ClientToScreen(window, &point);
    return point;
}

}  // namespace

void FilePanel::CheckViewWindows() {
    if (!browser || destroyed) return;
    if (IsLive(duiViewWindow)) {
        CorrectNavLayout();
    } else {
        FindDuiView();
    }
    // Also without a DUI view: other builds of the control have the tree and
    // the list elsewhere, and they are rebuilt as freely.
    FindTree();
    FindViewWindows();
}

// Looked for again when the upkeep has not found it yet: a new tab's tree
// comes a moment after its view.
HWND FilePanel::ShownTreeWindow() const {
    const HWND tree = IsLive(treeWindow) ? treeWindow : FindDescendantOfClass(hwnd, L"SysTreeView32");
    return tree && IsWindowVisible(tree) ? tree : nullptr;
}

void FilePanel::AttachViewWindow(HWND created) {
    if (created) MoveSubclass(viewWindow, created, ViewProc, kViewSubclass, this);
}

// A window of an earlier view may outlive it for a moment; only the current
// view's windows count as found.
void FilePanel::FindViewWindows() {
    if (!IsLive(viewWindow)) MoveSubclass(viewWindow, FindDescendantOfClass(hwnd, L"SHELLDLL_DefView"), ViewProc, kViewSubclass, this);
    if (!IsLive(directUiWindow) || !IsChild(viewWindow, directUiWindow)) {
        MoveSubclass(directUiWindow, FindDescendantOfClass(viewWindow, L"DirectUIHWND"), ItemAreaProc, kDirectUiSubclass, this);
    }
    if (!IsLive(listViewWindow) || !IsChild(viewWindow, listViewWindow)) {
        MoveSubclass(listViewWindow, FindDescendantOfClass(viewWindow, L"SysListView32"), ItemAreaProc, kListViewSubclass, this);
    }
}

void FilePanel::FindDuiView() {
    if (IsLive(duiViewWindow)) return;
    HWND found = FindDescendantOfClass(hwnd, L"DUIViewWndClassName");
    if (!found) found = AncestorOfClass(viewWindow, L"DUIViewWndClassName");
    MoveSubclass(duiViewWindow, found, DuiViewProc, kDuiViewSubclass, this);
    CorrectNavLayout();
}

// The tree is a SysTreeView32 on every system: in a host window of its own
// under Wine, in "NamespaceTreeControl" under Windows. Its items' data belong
// to the control, so the folder a click chose is taken from the navigation it
// starts; the tree's parent, which hears of every selection, marks when that is.
void FilePanel::FindTree() {
    if (IsLive(treeWindow)) return;
    HWND tree = FindDescendantOfClass(hwnd, L"SysTreeView32");
    MoveSubclass(treeWindow, tree, TreeProc, kTreeSubclass, this);
    MoveSubclass(treeHostWindow, tree ? GetParent(tree) : nullptr, TreeHostProc, kTreeHostSubclass, this);
}

void FilePanel::CorrectNavLayout() {
    HWND parent = IsLive(duiViewWindow) ? GetParent(duiViewWindow) : nullptr;
    if (!IsLive(parent)) return;
    RECT parentClient{};
    if (!GetClientRect(parent, &parentClient) || IsRectEmpty(&parentClient)) return;
    RECT pane{};
    GetWindowRect(duiViewWindow, &pane);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&pane), 2);
    // The band grows and shrinks with the scale: measured again at another DPI.
    const UINT dpiNow = GetDpiForWindow(duiViewWindow);
    if (navInset != 0 && dpiNow != navInsetDpi) navInset = 0;
    if (navInset == 0) {
        marginLeft = MeasuredMargin(pane.left, marginLeft);
        marginTop = MeasuredMargin(pane.top, marginTop);
        HWND tree = FindDescendantOfClass(duiViewWindow, L"NamespaceTreeControl", true);
        if (!tree) tree = FindDescendantOfClass(duiViewWindow, L"SysTreeView32", true);
        HWND view = FindDescendantOfClass(duiViewWindow, L"SHELLDLL_DefView", true);
        if (!tree && !view) return;
        // Only the band above both goes: the file view's column header may start higher than the tree.
        RECT bounds{};
        LONG top = LONG_MAX;
        for (HWND reference : {tree, view}) {
            if (reference && GetWindowRect(reference, &bounds)) top = std::min(top, bounds.top);
        }
        RECT paneBounds{};
        GetWindowRect(duiViewWindow, &paneBounds);
        navInset = UsableNavInset(static_cast<int>(top - paneBounds.top));
        navInsetDpi = dpiNow;
        if (navInset == 0) return;
        FindTree();
    }
    const RECT target = NavLayoutTarget(navInset, marginLeft, marginTop, parentClient);
    // Equal means done; this also ends the recursion through the pane's own WM_WINDOWPOSCHANGED.
    if (EqualRect(&pane, &target)) return;
    SetWindowPos(duiViewWindow, nullptr, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void FilePanel::RemoveViewSubclasses() {
    RemoveSubclass(viewWindow, ViewProc, kViewSubclass);
    RemoveSubclass(duiViewWindow, DuiViewProc, kDuiViewSubclass);
    RemoveSubclass(directUiWindow, ItemAreaProc, kDirectUiSubclass);
    RemoveSubclass(treeHostWindow, TreeHostProc, kTreeHostSubclass);
    RemoveSubclass(treeWindow, TreeProc, kTreeSubclass);
    RemoveSubclass(listViewWindow, ItemAreaProc, kListViewSubclass);
}

void FilePanel::FocusView(HWND clicked) {
    if (auto view = CurrentView<IShellView>()) view->UIActivate(SVUIA_ACTIVATE_FOCUS);
    SetFocus(viewWindow ? viewWindow : clicked);
}

LRESULT CALLBACK FilePanel::ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
    auto* panel = reinterpret_cast<FilePanel*>(data);
    switch (message) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR: {
        LRESULT result = 0;
        if (panel->ForwardMenuMessage(message, wParam, lParam, result)) return result;
        break;
    }
    case WM_CONTEXTMENU:
        if (panel->OnViewContextMenu(lParam)) return 0;
        break;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        panel->FocusView(window);
        break;
    case WM_LBUTTONDBLCLK:
        if (panel->HandleDoubleClick(ScreenPoint(window, lParam))) return 0;
        break;
    case WM_MBUTTONDOWN:
        if (panel->OpenFolderBehindAtPoint(ScreenPoint(window, lParam))) return 0;
        break;
    case WM_RBUTTONDOWN:
        // Each right click may show one menu, wherever its button went up.
        panel->menuShown = false;
        break;
    case WM_RBUTTONUP:
        panel->menuShown = false;
        if (panel->ShowItemMenuAtPoint(ClientPoint(lParam))) return 0;
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK FilePanel::DuiViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    auto* panel = reinterpret_cast<FilePanel*>(data);
    switch (message) {
    // Its WM_SIZE comes from within this message: laid out once per change.
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        panel->CorrectNavLayout();
        panel->FindViewWindows();
        return result;
    }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK FilePanel::TreeHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
    auto* panel = reinterpret_cast<FilePanel*>(data);
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == TVN_SELCHANGEDW &&
        reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == panel->treeWindow) {
        // Selections the control makes itself, to follow the folder shown, are no one's choice.
        const UINT action = reinterpret_cast<const NMTREEVIEWW*>(lParam)->action;
        const bool byUser = action == TVC_BYMOUSE || action == TVC_BYKEYBOARD;
        panel->treeDiversion.SelectionBegan(byUser, GetTickCount64());
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        panel->treeDiversion.SelectionEnded();
        return result;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK FilePanel::TreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
    auto* panel = reinterpret_cast<FilePanel*>(data);
    if (message == WM_MBUTTONDOWN && panel->OpenTreeFolderBehind(window, ClientPoint(lParam))) return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}

// The tree's items belong to the control, so the folder is taken from the
// navigation that selecting it starts, which then goes to a tab behind this one.
bool FilePanel::OpenTreeFolderBehind(HWND tree, POINT client) {
    TVHITTESTINFO hit{};
    hit.pt = client;
    const HTREEITEM item = TreeView_HitTest(tree, &hit);
    if (!item || !OnTreeRow(hit.flags)) return false;
    // The selected item starts no navigation; the click is only kept from the tree.
    if (item == TreeView_GetSelection(tree)) return true;
    treeDiversion.MiddleClickChose(GetTickCount64());
    TreeView_SelectItem(tree, item);
    return true;
}

LRESULT CALLBACK FilePanel::ItemAreaProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
    auto* panel = reinterpret_cast<FilePanel*>(data);
    switch (message) {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        if (panel->OnItemAreaButtonDown(window, lParam)) return 0;
        break;
    case WM_LBUTTONDBLCLK:
        if (panel->HandleDoubleClick(ScreenPoint(window, lParam))) return 0;
        break;
    case WM_MBUTTONDOWN:
        if (panel->OpenFolderBehindAtPoint(ScreenPoint(window, lParam))) return 0;
        break;
    case WM_RBUTTONDOWN:
        panel->menuShown = false;
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The panel's own double-click test: the shell's views do not all ask for
// double clicks, and those that do pair them by their own rules.
bool FilePanel::OnItemAreaButtonDown(HWND window, LPARAM lParam) {
    FocusView(window);
    const DWORD time = static_cast<DWORD>(GetMessageTime());
    const POINT point = ClientPoint(lParam);
    const DoubleClickLimits limits{GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK),
                                   GetSystemMetrics(SM_CYDOUBLECLK)};
    if (!IsSecondClick(lastClickTime, lastClickPoint, time, point, limits)) {
        lastClickTime = time;
        lastClickPoint = point;
        lastClickPath = PathAtPoint(ScreenPoint(window, lParam));
        return false;
    }
    lastClickTime = 0;
    return HandleDoubleClick(ScreenPoint(window, lParam));
}
