#include "ui/shell_items.h"

#include <shlobj.h>

#include "ui/handles.h"

namespace {

std::wstring ItemName(IShellItem* item, SIGDN kind) {
    if (!item) return {};
    CoTaskMemString name;
    if (FAILED(item->GetDisplayName(kind, name.put())) || !name) return {};
    return name.get();
}

}  // namespace

HRESULT ItemFromPath(const std::wstring& path, IShellItem** item) {
    if (!item) return E_POINTER;
    *item = nullptr;
    if (path.empty()) return E_INVALIDARG;
    return SHCreateItemFromParsingName(path.c_str(), nullptr, IID_PPV_ARGS(item));
}

HRESULT ItemFromIdList(PCIDLIST_ABSOLUTE list, IShellItem** item) {
    if (!item) return E_POINTER;
    *item = nullptr;
    if (!list) return E_INVALIDARG;
    return SHCreateItemFromIDList(list, IID_PPV_ARGS(item));
}

std::wstring DisplayName(IShellItem* item) { return ItemName(item, SIGDN_NORMALDISPLAY); }

std::wstring ParsingPath(IShellItem* item) { return ItemName(item, SIGDN_DESKTOPABSOLUTEPARSING); }
