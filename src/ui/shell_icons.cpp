#include "ui/shell_icons.h"

#include <shellapi.h>
#include <shlobj.h>

#include "ui/handles.h"

namespace {

// A real folder every system has, so the shell answers with its ordinary folder icon.
constexpr wchar_t kAnyFolder[] = L"C:\\Windows";

}  // namespace

int FolderIconIndex() {
    static int cached = -1;
    if (cached >= 0) return cached;
    SHFILEINFOW info{};
    if (SHGetFileInfoW(kAnyFolder, FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
        cached = info.iIcon;
    }
    return cached;
}

HICON FolderIconLarge() {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(kAnyFolder, FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                        SHGFI_ICON | SHGFI_USEFILEATTRIBUTES)) {
        return nullptr;
    }
    return info.hIcon;
}

HIMAGELIST SmallSystemImageList() {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                                                        SHGFI_SYSICONINDEX | SHGFI_SMALLICON |
                                                            SHGFI_USEFILEATTRIBUTES));
}

int ItemIconIndex(IShellItem* item, bool open) {
    if (!item) return -1;
    UniqueIdList list;
    if (FAILED(SHGetIDListFromObject(item, list.put())) || !list) return -1;
    SHFILEINFOW info{};
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list.get()), 0, &info, sizeof(info), flags)) return -1;
    return info.iIcon;
}
