#include "settings/save_failures.h"

#include <cwchar>
#include <iterator>
#include <mutex>
#include <utility>

#include "settings/line_file.h"
#include "ui/event_log.h"

namespace {

std::mutex failureLock;
std::optional<SaveFailure> unreported;

// The system's own words for an error we have none for, without the line break it ends with.
std::wstring SystemErrorText(DWORD error) {
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring reason(text, length);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L' ' ||
                               reason.back() == L'.' || reason.back() == L'。')) {
        reason.pop_back();
    }
    return reason.empty() ? L"错误代码 " + std::to_wstring(error) : reason;
}

}  // namespace

bool SaveLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    if (WriteLines(path, lines)) {
        LogEvent(L"saved", path);
        return true;
    }
    const DWORD error = GetLastError();
    wchar_t failed[40] = {};
    swprintf(failed, std::size(failed), L"save failed with error %lu:", error);
    LogEvent(failed, path);
    const std::lock_guard<std::mutex> hold(failureLock);
    if (!unreported) unreported = SaveFailure{path, error};
    return false;
}

std::optional<SaveFailure> TakeSaveFailureToReport() {
    const std::lock_guard<std::mutex> hold(failureLock);
    return std::exchange(unreported, std::nullopt);
}

std::wstring SaveFailureReason(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return L"拒绝访问";
    case ERROR_FILE_READ_ONLY:
    case ERROR_WRITE_PROTECT:
        return L"文件或磁盘是只读的";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return L"磁盘空间不足";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return L"文件正被其他程序使用";
    case ERROR_PATH_NOT_FOUND:
        return L"找不到文件所在的文件夹";
    default:
        return SystemErrorText(error);
    }
}

std::wstring SaveFailureText(const SaveFailure& failure) {
    return L"无法写入 " + failure.path + L"：" + SaveFailureReason(failure.error) +
           L"。\n文件保持原样；在问题解决之前，对标签页、收藏夹和设置的更改不会被保存。";
}
