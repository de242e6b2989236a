#include "takeover/uninstall.h"

#include <windows.h>

#include "takeover/command_lines.h"
#include "takeover/launcher_file.h"
#include "takeover/registry_values.h"
#include "takeover/takeover.h"
#include "takeover/takeover_keys.h"
#include "takeover/takeover_record.h"
#include "ui/app_identity.h"
#include "ui/paths.h"
#include "ui/process_start.h"
#include "ui/version.h"

namespace {

constexpr wchar_t kUninstallQuestion[] =
    L"将取消文件夹/驱动器接管（恢复为接管前的打开方式），并移除“程序和功能”中的卸载入口。\n\n"
    L"程序文件与配置（config 目录）保留，可随时重新运行本程序。\n\n是否继续？";
constexpr wchar_t kUninstallDone[] = L"已取消接管，文件夹/驱动器已恢复为接管前的打开方式。";
constexpr wchar_t kRestartQuestion[] =
    L"已经打开的资源管理器窗口可能仍按原来的方式打开文件夹，直到资源管理器重新启动。\n\n"
    L"是否现在重启资源管理器？（桌面和任务栏会短暂消失，正在进行的复制会被中断）";

constexpr DWORD kTaskkillWaitMs = 5000;

// A system program's full path, quoted for a command line.
std::wstring SystemProgram(const wchar_t* name, bool inWindowsFolder = false) {
    return L"\"" + SystemFolderFile(name, inWindowsFolder) + L"\"";
}

void RestartExplorer() {
    if (const UniqueKernelHandle taskkill =
            StartProgram(SystemProgram(L"taskkill.exe") + L" /f /im explorer.exe", CREATE_NO_WINDOW)) {
        WaitForSingleObject(taskkill.get(), kTaskkillWaitMs);
    }
    (void)StartProgram(SystemProgram(L"explorer.exe", true));
}

}  // namespace

std::wstring InstallLocationOf(const std::wstring& exe) {
    const size_t slash = exe.rfind(L'\\');
    return slash == std::wstring::npos ? exe : exe.substr(0, slash);
}

uint32_t EstimatedSizeKiB(uint32_t fileSizeLow) { return fileSizeLow / 1024; }

std::wstring UninstallCommandLine(const std::wstring& launcher, bool quiet) {
    return L"\"" + launcher + L"\" /uninstall" + (quiet ? L" /silent" : L"");
}

void RegisterUninstallEntry() {
    const std::optional<TakeoverRecord> record = ReadTakeoverRecord();
    if (!record || record->launcher.empty()) return;
    UniqueKey entry;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallEntryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, entry.put(),
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    WIN32_FILE_ATTRIBUTE_DATA file{};
    const uint32_t sizeKiB = GetFileAttributesExW(record->program.c_str(), GetFileExInfoStandard, &file)
                                 ? EstimatedSizeKiB(file.nFileSizeLow)
                                 : 0;
    WriteStringValue(entry.get(), L"DisplayName", L"Quorlen文件资源管理器", REG_SZ);
    WriteStringValue(entry.get(), L"DisplayIcon", record->program, REG_SZ);
    WriteStringValue(entry.get(), L"DisplayVersion", QUORLEN_VERSION_WIDE, REG_SZ);
    WriteStringValue(entry.get(), L"Publisher", L"Quorlen", REG_SZ);
    WriteStringValue(entry.get(), L"InstallLocation", InstallLocationOf(record->program), REG_SZ);
    WriteStringValue(entry.get(), L"UninstallString", UninstallCommandLine(record->launcher, false), REG_SZ);
    WriteStringValue(entry.get(), L"QuietUninstallString", UninstallCommandLine(record->launcher, true), REG_SZ);
    WriteNumberValue(entry.get(), L"NoModify", 1);
    WriteNumberValue(entry.get(), L"NoRepair", 1);
    WriteNumberValue(entry.get(), L"EstimatedSize", sizeKiB);
}

void RemoveUninstallEntry() { RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallEntryKey); }

int RunUninstallCommand(bool silent) {
    if (!silent && MessageBoxW(nullptr, kUninstallQuestion, kAppTitle,
                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return 0;
    }
    std::wstring error;
    if (!UndoTakeover(&error)) {
        if (!silent) MessageBoxW(nullptr, (L"取消接管失败：" + error).c_str(), kAppTitle, MB_ICONERROR);
        return 1;
    }
    if (!silent) {
        MessageBoxW(nullptr, kUninstallDone, kAppTitle, MB_ICONINFORMATION);
        OfferExplorerRestart(nullptr);
    }
    return 0;
}

void OfferExplorerRestart(HWND owner) {
    if (MessageBoxW(owner, kRestartQuestion, kAppTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES) {
        RestartExplorer();
    }
}
