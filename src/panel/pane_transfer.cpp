#include "panel/pane_transfer.h"

#include <shellapi.h>
#include <sherrors.h>
#include <shlobj.h>

#include "ui/event_log.h"
#include "ui/handles.h"

namespace {

// A transfer the user asked for: it goes on the undo stack, and folders the
// copy needs are made without asking. Copy hooks stay on, as in Explorer.
constexpr DWORD kTransferFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR | FOFX_ADDUNDORECORD;

std::wstring FileSystemPath(IShellItem* item) {
    CoTaskMemString path;
    if (!item || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, path.put())) || !path) return {};
    return path.get();
}

// The transfer queued on a new file operation, or the first failure on the way.
HRESULT QueueTransfer(HWND owner, IShellItemArray* items, IShellItem* destination, bool move,
                      ComPtr<IFileOperation>& operation) {
    HRESULT result = CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_PPV_ARGS(operation.put()));
    // The owner keeps the shell's progress and questions in front of the window.
    if (SUCCEEDED(result)) result = operation->SetOwnerWindow(owner);
    if (SUCCEEDED(result)) result = operation->SetOperationFlags(kTransferFlags);
    if (SUCCEEDED(result)) {
        result = move ? operation->MoveItems(items, destination) : operation->CopyItems(items, destination);
    }
    return result;
}

// The older call, for systems without the file operation object; it takes
// file-system paths only.
bool TransferByPaths(HWND owner, IShellItemArray* items, IShellItem* destination, bool move) {
    DWORD count = 0;
    if (ComFailed(items->GetCount(&count), L"transfer: IShellItemArray::GetCount")) return false;
    std::vector<std::wstring> paths;
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IShellItem> item;
        if (ComFailed(items->GetItemAt(i, item.put()), L"transfer: IShellItemArray::GetItemAt")) return false;
        paths.push_back(FileSystemPath(item.get()));
    }
    const std::wstring from = NulSeparatedPathList(paths);
    const std::wstring to = NulSeparatedPathList({FileSystemPath(destination)});
    if (from.empty() || to.empty()) {
        LogEvent(L"transfer: an item or the destination has no file-system path");
        return false;
    }
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = move ? FO_MOVE : FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR;
    const int result = SHFileOperationW(&operation);
    // The user's cancel ends the operation as the user wanted it to.
    if (operation.fAnyOperationsAborted) return true;
    if (result != 0) {
        LogEvent(L"transfer: SHFileOperationW failed", std::to_wstring(result));
        return false;
    }
    return true;
}

}  // namespace

bool TransferItems(HWND owner, IShellItemArray* items, IShellItem* destination, bool move) {
    if (!items || !destination) return false;
    ComPtr<IFileOperation> operation;
    const HRESULT queued = QueueTransfer(owner, items, destination, move, operation);
    if (ComFailed(queued, L"transfer: IFileOperation")) {
        // Nothing has run yet, so the older call can do the whole of it.
        return FileOperationUnavailable(queued) && TransferByPaths(owner, items, destination, move);
    }
    const HRESULT performed = operation->PerformOperations();
    BOOL aborted = FALSE;
    // Asked whatever the result: a cancelled operation can still report success.
    if (FAILED(operation->GetAnyOperationsAborted(&aborted))) aborted = FALSE;
    if (aborted || performed == HRESULT_FROM_WIN32(ERROR_CANCELLED) || performed == COPYENGINE_E_USER_CANCELLED) {
        return true;
    }
    return !ComFailed(performed, L"transfer: IFileOperation::PerformOperations");
}

std::wstring NulSeparatedPathList(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) {
        if (path.empty()) return {};
        list += path;
        list += L'\0';
    }
    if (!list.empty()) list += L'\0';
    return list;
}

bool FileOperationUnavailable(HRESULT result) {
    return result == E_NOTIMPL || result == REGDB_E_CLASSNOTREG || result == E_NOINTERFACE;
}
