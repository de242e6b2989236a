#include "takeover/program_location.h"

#include "ui/paths.h"
#include "ui/text.h"

namespace {

std::wstring DriveRootOf(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return path.substr(0, 3);
    return {};
}

// A path and the long form of it, so that "C:\Users\ADMINI~1\AppData\Local\Temp"
// and its long spelling meet.
std::wstring LongForm(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD length = GetLongPathNameW(path.c_str(), buffer, static_cast<DWORD>(std::size(buffer)));
    return length > 0 && length < std::size(buffer) ? std::wstring(buffer, length) : path;
}

}  // namespace

std::wstring UnsafeLocationReason(const std::wstring& path, UINT driveType, const std::wstring& tempFolder) {
    if (path.starts_with(L"\\\\") && !path.starts_with(L"\\\\?\\")) driveType = DRIVE_REMOTE;
    switch (driveType) {
    case DRIVE_REMOVABLE: return L"程序位于可移动磁盘上，拔出后文件夹将无法用它打开。";
    case DRIVE_REMOTE: return L"程序位于网络位置上，断开后文件夹将无法用它打开，且网络上的文件可能被他人替换。";
    case DRIVE_CDROM: return L"程序位于光盘驱动器上。";
    default: break;
    }
    const std::wstring temp = WithoutTrailingBackslashes(tempFolder);
    if (!temp.empty() && StartsWithIgnoringCase(path, temp + L"\\")) {
        return L"程序位于临时文件夹中（例如直接从压缩包里运行），随时可能被清除。";
    }
    return {};
}

std::wstring UnsafeLocationReason(const std::wstring& path) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(static_cast<DWORD>(std::size(temp)), temp);
    const std::wstring tempFolder = length > 0 && length < std::size(temp) ? LongForm(temp) : std::wstring();
    const std::wstring longPath = LongForm(path);
    const std::wstring root = DriveRootOf(longPath);
    return UnsafeLocationReason(longPath, root.empty() ? DRIVE_UNKNOWN : GetDriveTypeW(root.c_str()), tempFolder);
}
