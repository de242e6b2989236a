#include "driver/window_queries.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "driver/quorlen_driver.h"
#include "ui/window_search.h"

LRESULT Query(HWND strip, UINT message, WPARAM wParam) {
    LRESULT result = -1;
    EXPECT_TRUE(SendWithTimeout(strip, message, wParam, 0, result, 15000));
    return result;
}

HWND FindDescendant(HWND parent, const wchar_t* className) { return FindDescendantOfClass(parent, className); }

namespace {
constexpr int kPanelHostId = 3;
}  // namespace

int NavigatedPanelCount(HWND mainWindow) {
    int navigated = 0;
    for (HWND child = GetWindow(mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == kPanelHostId && FindDescendant(child, L"SHELLDLL_DefView")) ++navigated;
    }
    return navigated;
}

HWND ShownPanelDescendant(HWND mainWindow, const wchar_t* className) {
    for (HWND host = GetWindow(mainWindow, GW_CHILD); host; host = GetWindow(host, GW_HWNDNEXT)) {
        if (IsWindowVisible(host) && GetDlgCtrlID(host) == kPanelHostId) return FindDescendant(host, className);
    }
    return nullptr;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    if (window) GetClassNameW(window, name, 64);
    return name;
}

bool SamePaths(const std::vector<std::wstring>& actual, const std::vector<std::wstring>& expected) {
    if (actual.size() != expected.size()) return false;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (lstrcmpiW(actual[i].c_str(), expected[i].c_str()) != 0) return false;
    }
    return true;
}

namespace {

// Memory in another process, freed with this object.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t bytes)
        : process_(process), address_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    [[nodiscard]] void* Address() const { return address_; }

private:
    HANDLE process_;
    void* address_;
};

// One message to a window of another process whose lParam points to a
// structure: the structure is copied there and back around the message.
class RemoteCall {
public:
    explicit RemoteCall(HWND window, size_t extraBytes = 0) : window_(window) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
        if (process_) memory_ = std::make_unique<RemoteMemory>(process_.get(), kStructBytes + extraBytes);
    }

    [[nodiscard]] bool Ready() const { return memory_ && memory_->Address(); }
    // The address in the other process of the bytes after the structure.
    [[nodiscard]] void* Extra() const { return static_cast<char*>(memory_->Address()) + kStructBytes; }

    template <typename Struct>
    bool Send(UINT message, WPARAM wParam, Struct& data, LRESULT& result) {
        static_assert(sizeof(Struct) <= kStructBytes);
        SIZE_T moved = 0;
        DWORD_PTR answer = 0;
        if (!Ready() || !WriteProcessMemory(process_.get(), memory_->Address(), &data, sizeof(data), &moved) ||
            !SendMessageTimeoutW(window_, message, wParam, reinterpret_cast<LPARAM>(memory_->Address()),
                                 SMTO_ABORTIFHUNG, 5000, &answer) ||
            !ReadProcessMemory(process_.get(), memory_->Address(), &data, sizeof(data), &moved)) {
            return false;
        }
        result = static_cast<LRESULT>(answer);
        return true;
    }

    bool ReadExtra(void* buffer, size_t bytes) {
        SIZE_T moved = 0;
        return Ready() && ReadProcessMemory(process_.get(), Extra(), buffer, bytes, &moved);
    }

private:
    static constexpr size_t kStructBytes = 128;
    HWND window_;
    UniqueKernelHandle process_;
    std::unique_ptr<RemoteMemory> memory_;
};

constexpr int kTextUnits = 260;

std::wstring ListItemText(RemoteCall& call, int index) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = static_cast<wchar_t*>(call.Extra());
    item.cchTextMax = kTextUnits;
    LRESULT length = 0;
    wchar_t text[kTextUnits] = {};
    if (!call.Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), item, length) ||
        !call.ReadExtra(text, sizeof(text) - sizeof(wchar_t))) {
        return {};
    }
    return text;
}

LRESULT SendOrMinusOne(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer)) return -1;
    return static_cast<LRESULT>(answer);
}

}  // namespace

std::vector<std::wstring> SelectedListItems(HWND list) {
    RemoteCall call(list, kTextUnits * sizeof(wchar_t));
    std::vector<std::wstring> texts;
    if (!call.Ready()) return texts;
    int index = -1;
    while ((index = static_cast<int>(SendOrMinusOne(list, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED))) >= 0) {
        texts.push_back(ListItemText(call, index));
    }
    return texts;
}

int FindListItem(HWND list, const std::wstring& text) {
    RemoteCall call(list, kTextUnits * sizeof(wchar_t));
    const int count = static_cast<int>(SendOrMinusOne(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; call.Ready() && index < count; ++index) {
        if (ListItemText(call, index) == text) return index;
    }
    return -1;
}

bool ListItemLabelCentre(HWND list, int index, POINT& centre) {
    RemoteCall call(list);
    RECT bounds{};
    bounds.left = LVIR_LABEL;
    LRESULT found = 0;
    if (!call.Send(LVM_GETITEMRECT, static_cast<WPARAM>(index), bounds, found) || !found) return false;
    centre = POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    return ClientToScreen(list, &centre) != FALSE;
}

bool VisibleTreeItemCentre(HWND tree, const std::wstring& text, POINT& centre) {
    RemoteCall call(tree, kTextUnits * sizeof(wchar_t));
    auto item = reinterpret_cast<HTREEITEM>(SendOrMinusOne(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (; call.Ready() && item && item != reinterpret_cast<HTREEITEM>(-1);
         item = reinterpret_cast<HTREEITEM>(SendOrMinusOne(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = static_cast<wchar_t*>(call.Extra());
        data.cchTextMax = kTextUnits;
        LRESULT ok = 0;
        wchar_t name[kTextUnits] = {};
        if (!call.Send(TVM_GETITEMW, 0, data, ok) || !ok || !call.ReadExtra(name, sizeof(name) - sizeof(wchar_t)) ||
            text != name) {
            continue;
        }
        // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
        RECT bounds{};
        static_assert(sizeof(bounds) >= sizeof(item));
        memcpy(&bounds, &item, sizeof(item));
        if (!call.Send(TVM_GETITEMRECT, TRUE, bounds, ok) || !ok) return false;
        centre = POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
        return ClientToScreen(tree, &centre) != FALSE;
    }
    return false;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
    struct Search {
        DWORD processId;
        const wchar_t* className;
        HWND found;
    } search{processId, className, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner != wanted->processId || !IsWindowVisible(window) || lstrcmpW(name, wanted->className) != 0) {
                return TRUE;
            }
            wanted->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMessageBox(DWORD processId) { return FindProcessWindow(processId, L"#32770"); }

std::wstring MessageBoxText(HWND box) {
    // The message is the box's static text control, id 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}

RECT ScreenRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

HWND ShownMenu() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return IsWindowVisible(menu) ? menu : nullptr;
}
