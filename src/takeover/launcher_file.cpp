#include "takeover/launcher_file.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string_view>

#include "settings/save_failures.h"
#include "takeover/command_lines.h"
#include "takeover/error_text.h"
#include "takeover/takeover.h"
#include "ui/handles.h"
#include "ui/paths.h"
#include "ui/resource_ids.h"
#include "ui/version.h"

namespace {

constexpr wchar_t kOldSuffix[] = L".old";
constexpr wchar_t kNewSuffix[] = L".new";

std::string_view CarriedLauncher() {
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(QUORLEN_LAUNCHER_RESOURCE), RT_RCDATA);
    if (!found) return {};
    const HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return std::string_view(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

bool FileHolds(const std::wstring& path, std::string_view bytes) {
    UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || static_cast<uint64_t>(size.QuadPart) != bytes.size()) {
        return false;
    }
    std::string content(bytes.size(), '\0');
    DWORD read = 0;
    return ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) &&
           read == content.size() && content == bytes;
}

// The file's version as one number, major first; 0 when it has none.
uint64_t FileVersionOf(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return 0;
    std::string info(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed) {
        return 0;
    }
    return (static_cast<uint64_t>(fixed->dwFileVersionMS) << 32) | fixed->dwFileVersionLS;
}

constexpr uint64_t kOwnVersion = (static_cast<uint64_t>(QUORLEN_VERSION_MAJOR) << 48) |
                                 (static_cast<uint64_t>(QUORLEN_VERSION_MINOR) << 32) |
                                 (static_cast<uint64_t>(QUORLEN_VERSION_PATCH) << 16);

bool WriteWhole(const std::wstring& path, std::string_view bytes) {
    UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size() && FlushFileBuffers(file.get());
}

}  // namespace

std::wstring LauncherFolder() {
    CoTaskMemString folder;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, folder.put())) || !folder) {
        return {};
    }
    return std::wstring(folder.get()) + L"\\Quorlen";
}

std::wstring LauncherPath() {
    const std::wstring folder = LauncherFolder();
    return folder.empty() ? std::wstring() : folder + L"\\" + kLauncherFileName;
}

LauncherState CheckLauncher(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return LauncherState::Missing;
    const std::string_view carried = CarriedLauncher();
    if (carried.empty() || FileHolds(path, carried)) return LauncherState::Current;
    return FileVersionOf(path) > kOwnVersion ? LauncherState::Newer : LauncherState::Outdated;
}

bool WriteLauncher(const std::wstring& path, std::wstring* error) {
    const std::string_view carried = CarriedLauncher();
    const size_t slash = path.rfind(L'\\');
    if (carried.empty() || slash == std::wstring::npos) {
        SetErrorText(error, L"无法写出启动器：程序中没有它。");
        return false;
    }
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    // A running launcher cannot be overwritten, but it can be renamed out of
    // the way; what an earlier replacement left behind goes first.
    const std::wstring old = path + kOldSuffix;
    const std::wstring fresh = path + kNewSuffix;
    DeleteFileW(old.c_str());
    bool written = WriteWhole(fresh, carried);
    if (written && !MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        written = MoveFileExW(path.c_str(), old.c_str(), MOVEFILE_REPLACE_EXISTING) &&
                  MoveFileExW(fresh.c_str(), path.c_str(), 0);
    }
    if (!written) {
        const DWORD reason = GetLastError();
        DeleteFileW(fresh.c_str());
        if (error) *error = L"无法写出启动器 " + path + L"（" + SaveFailureReason(reason) + L"）。";
        return false;
    }
    return true;
}

bool IsQuorlenProgram(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = path.empty() ? 0 : GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return false;
    std::string info(size, '\0');
    wchar_t* product = nullptr;
    UINT length = 0;
    return GetFileVersionInfoW(path.c_str(), 0, size, info.data()) &&
           VerQueryValueW(info.data(), L"\\StringFileInfo\\080404b0\\ProductName",
                          reinterpret_cast<void**>(&product), &length) &&
           product && std::wstring_view(product, wcsnlen(product, length)) == L"Quorlen";
}

bool RunningFrom(const std::wstring& path) { return SamePath(ExecutablePath(), path); }

void RemoveLauncherFolder() {
    const std::wstring folder = LauncherFolder();
    if (folder.empty()) return;
    WIN32_FIND_DATAW found{};
    UniqueFind search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                DeleteFileW((folder + L"\\" + found.cFileName).c_str());
            }
        } while (FindNextFileW(search.get(), &found));
    }
    search.reset();
    RemoveDirectoryW(folder.c_str());
}
