#include "driver/window_queries.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "driver/quorlen_driver.h"

LRESULT Query(HWND strip, UINT message, WPARAM wParam) {
    LRESULT result = -1;
    EXPECT_TRUE(SendWithTimeout(strip, message, wParam, 0, result, 15000));
    return result;
}

HWND FindDescendant(HWND parent, const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (lstrcmpiW(name, wanted->className) != 0) return TRUE;
            wanted->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
    return text;
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

}  // namespace

std::vector<std::wstring> SelectedListItems(HWND list) {
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    UniqueKernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return {};
    constexpr int kTextUnits = 260;
    RemoteMemory remote(process.get(), sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t));
    if (!remote.Address()) return {};
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.Address()) + sizeof(LVITEMW));

    std::vector<std::wstring> texts;
    LRESULT index = -1;
    for (;;) {
        DWORD_PTR next = 0;
        if (!SendMessageTimeoutW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED, SMTO_ABORTIFHUNG,
                                 5000, &next)) {
            break;
        }
        index = static_cast<LRESULT>(static_cast<int>(next));
        if (index < 0) break;
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = remoteText;
        item.cchTextMax = kTextUnits;
        SIZE_T moved = 0;
        if (!WriteProcessMemory(process.get(), remote.Address(), &item, sizeof(item), &moved)) break;
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(remote.Address()), SMTO_ABORTIFHUNG, 5000, &length);
        wchar_t text[kTextUnits] = {};
        ReadProcessMemory(process.get(), remoteText, text, sizeof(text) - sizeof(wchar_t), &moved);
        texts.emplace_back(text);
    }
    return texts;
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
