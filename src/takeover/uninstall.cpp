#include "takeover/uninstall.h"

#include <windows.h>

#include "settings/load_settings.h"
#include "settings/settings_file.h"
#include "takeover/command_lines.h"
#include "takeover/error_text.h"
#include "takeover/registry_values.h"
#include "takeover/takeover.h"
#include "takeover/takeover_backup.h"
#include "takeover/takeover_keys.h"
#include "ui/app_identity.h"
#include "ui/paths.h"
#include "ui/version.h"

namespace {

constexpr wchar_t kUninstallQuestion[] =
    L"将取消文件夹/驱动器接管（恢复为系统资源管理器打开），并移除“程序和功能”中的卸载入口。\n\n"
    L"程序文件与配置（config 目录）保留，可随时重新运行本程序。\n\n是否继续？";
constexpr wchar_t kUninstallDone[] =
    L"已取消接管，文件夹/驱动器将恢复为系统资源管理器打开。\n\n"
    L"点击“确定”立即重启资源管理器生效（桌面/任务栏会短暂消失）。";

constexpr int kDeleteAttempts = 4;
constexpr DWORD kDeleteRetryDelayMs = 120;
constexpr DWORD kTaskkillWaitMs = 5000;

// A system program's full path, quoted for a command line.
std::wstring SystemProgram(const wchar_t* name, bool inWindowsFolder = false) {
    return L"\"" + SystemFolderFile(name, inWindowsFolder) + L"\"";
}

// Starts a program by its command line; the returned process handle is empty
// when it could not be started.
UniqueKernelHandle StartProcess(std::wstring commandLine, DWORD creationFlags) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr,
                        &startup, &info)) {
        return {};
    }
    CloseHandle(info.hThread);
    return UniqueKernelHandle(info.hProcess);
}

// A key already gone counts as deleted; anything else is tried again a few times,
// since the shell may be reading the key at that moment.
bool DeleteClassesTree(const wchar_t* subkey) {
    const std::wstring path = ClassesPath(subkey);
    for (int attempt = 1;; ++attempt) {
        const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
        if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
            DeleteEmptyClassesKeysAbove(subkey);
            return true;
        }
        if (attempt == kDeleteAttempts) return false;
        Sleep(kDeleteRetryDelayMs);
    }
}

void ClearTakeoverSetting() {
    Settings settings = LoadSettings();
    if (!settings.Takeover) return;
    settings.Takeover = false;
    SaveSettings(settings);
}

}  // namespace

std::wstring InstallLocationOf(const std::wstring& exe) {
    const size_t slash = exe.rfind(L'\\');
    return slash == std::wstring::npos ? exe : exe.substr(0, slash);
}

uint32_t EstimatedSizeKiB(uint32_t fileSizeLow) { return fileSizeLow / 1024; }

void RegisterUninstallEntry() {
    const std::wstring exe = ExecutablePath();
    if (exe.empty()) return;
    UniqueKey entry;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallEntryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, entry.put(),
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring uninstall = BuildUninstallCommandLine();
    WIN32_FILE_ATTRIBUTE_DATA file{};
    const uint32_t sizeKiB =
        GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &file) ? EstimatedSizeKiB(file.nFileSizeLow) : 0;

    WriteStringValue(entry.get(), L"DisplayName", L"Quorlen文件资源管理器", REG_SZ);
    WriteStringValue(entry.get(), L"DisplayIcon", exe, REG_SZ);
    WriteStringValue(entry.get(), L"DisplayVersion", QUORLEN_VERSION_WIDE, REG_SZ);
    WriteStringValue(entry.get(), L"Publisher", L"Quorlen", REG_SZ);
    WriteStringValue(entry.get(), L"InstallLocation", InstallLocationOf(exe), REG_SZ);
    WriteStringValue(entry.get(), L"UninstallString", uninstall, REG_SZ);
    WriteStringValue(entry.get(), L"QuietUninstallString", uninstall, REG_SZ);
    WriteNumberValue(entry.get(), L"NoModify", 1);
    WriteNumberValue(entry.get(), L"NoRepair", 1);
    WriteNumberValue(entry.get(), L"EstimatedSize", sizeKiB);
}

int RunUninstallCommand(bool silent) {
    if (!silent && MessageBoxW(nullptr, kUninstallQuestion, kAppTitle,
                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return 0;
    }
    std::wstring ignored;
    RestoreTakeover(&ignored);
    // A key that still names us after the restore (the backup held no usable
    // record for it) is removed outright, so the system's default takes over.
    if (IsAnyKeyOurs()) {
        std::wstring error;
        const bool deleted = DeleteTakeoverKeys(&error);
        StartProcess(SystemProgram(L"reg.exe") + L" delete \"HKCU\\Software\\Classes\\Applications\\Quorlen.exe\" /f",
                     CREATE_NO_WINDOW);
        if (!deleted) {
            if (!silent) {
                MessageBoxW(nullptr, (L"删除接管键失败：" + error).c_str(), kAppTitle, MB_ICONERROR);
            }
            return 1;
        }
    }
    ClearTakeoverSetting();
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallEntryKey);
    if (!silent && MessageBoxW(nullptr, kUninstallDone, kAppTitle, MB_ICONINFORMATION) == IDOK) RestartExplorer();
    return 0;
}

bool DeleteTakeoverKeys(std::wstring* error) {
    // Only keys that still name us go: the others were restored to the user's own
    // commands or belong to other programs by now.
    const std::wstring exe = ExecutablePath();
    bool complete = true;
    for (const TakeoverKey& row : TakeoverKeys) {
        if (KeyNamesExecutable(row.key, exe)) complete = DeleteClassesTree(row.key) && complete;
    }
    NotifyAssociationsChanged();
    if (!complete) SetErrorText(error, L"部分键删除失败");
    return complete;
}

void RestartExplorer() {
    if (const UniqueKernelHandle taskkill =
            StartProcess(SystemProgram(L"taskkill.exe") + L" /f /im explorer.exe", CREATE_NO_WINDOW)) {
        WaitForSingleObject(taskkill.get(), kTaskkillWaitMs);
    }
    StartProcess(SystemProgram(L"explorer.exe", true), 0);
}
