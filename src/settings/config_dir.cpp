#include "settings/config_dir.h"

#include <windows.h>
#include <shlwapi.h>

namespace {

std::wstring& ConfigDirOverride() {
    static std::wstring folder;
    return folder;
}

}  // namespace

std::wstring ConfigDir() {
    std::wstring folder = ConfigDirOverride();
    if (folder.empty()) {
        wchar_t exePath[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exePath, MAX_PATH);
        PathRemoveFileSpecW(exePath);
        folder = ConfigFolderBeside(exePath);
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring ConfigFolderBeside(std::wstring exeFolder) {
    // A drive root keeps its backslash.
    if (exeFolder.empty() || exeFolder.back() != L'\\') exeFolder += L'\\';
    return exeFolder + L"config\\";
}

std::wstring ConfigFilePath(const std::wstring& name) { return ConfigDir() + name; }

void OverrideConfigDir(const std::wstring& folder) { ConfigDirOverride() = folder; }
