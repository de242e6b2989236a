#include "ui/clipboard.h"

#include <cstring>

#include "ui/handles.h"
#include "ui/paths.h"
#include "ui/retry.h"

namespace {

constexpr int kClipboardOpenTries = 10;
constexpr DWORD kClipboardRetryMs = 20;

bool OpenClipboardSoon(HWND owner) {
    return TryBriefly(kClipboardOpenTries, kClipboardRetryMs, [owner] { return OpenClipboard(owner) != FALSE; });
}

}  // namespace

std::wstring QuotedPathLines(const std::vector<std::wstring>& paths) {
    std::wstring text;
    for (const std::wstring& path : paths) {
        if (!IsFileSystemPath(path)) continue;
        if (!text.empty()) text += L"\r\n";
        text += L'"';
        text += path;
        text += L'"';
    }
    return text;
}

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    void* target = GlobalLock(memory.get());
    if (!target) return false;
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.get());
    if (!OpenClipboardSoon(owner)) return false;
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr;
    CloseClipboard();
    if (placed) static_cast<void>(memory.release());
    return placed;
}
