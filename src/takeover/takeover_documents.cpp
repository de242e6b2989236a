#include "takeover/takeover_documents.h"

#include <windows.h>

#include "settings/config_dir.h"
#include "settings/line_file.h"
#include "takeover/error_text.h"
#include "takeover/takeover.h"
#include "takeover/takeover_keys.h"

namespace {

void AppendCommandBlock(std::vector<std::wstring>& lines, const wchar_t* key, const BackupRecord& record) {
    lines.push_back(L"[" + std::wstring(key) + L"]");
    if (!record.present) {
        lines.push_back(L"  无备份记录");
    } else if (record.existed) {
        lines.push_back(L"  接管前存在：是");
        lines.push_back(L"  接管前值：" + (record.value.text.empty() ? L"(空)" : record.value.text));
    } else {
        lines.push_back(L"  接管前存在：否（接管时新建）");
    }
    lines.push_back(L"");
}

void AppendVerbBlock(std::vector<std::wstring>& lines, const wchar_t* key, const BackupRecord& record) {
    lines.push_back(L"[" + std::wstring(key) + L"]");
    if (!record.present) {
        lines.push_back(L"  无备份记录");
    } else if (record.existed && !record.value.text.empty()) {
        lines.push_back(L"  接管前存在：是");
        lines.push_back(L"  接管前值：" + record.value.text);
    } else {
        lines.push_back(L"  接管前不存在（接管时写入 MUIVerb = 新标签页打开）");
    }
    lines.push_back(L"");
}

std::wstring ExecutableFolder() {
    std::wstring path = ExecutablePath();
    const size_t slash = path.rfind(L'\\');
    path.resize(slash == std::wstring::npos ? 0 : slash);
    return path;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

std::vector<std::wstring> TakeoverReportLines(const std::optional<BackupSnapshot>& backup) {
    std::vector<std::wstring> lines = {
        L"Quorlen 文件夹接管 - 接管前注册表配置备份",
        L"说明：以下为接管前 HKCU\\Software\\Classes 下相关键的原始状态，",
        L"供手动恢复或查阅。一键恢复请运行 QuorlenRestore.exe，",
        L"或参考 doc\\手动恢复系统资源管理器打开文件夹.txt。",
        L"",
    };
    if (!backup) {
        lines.push_back(L"尚未接管：暂无接管前配置记录。");
        lines.push_back(L"在设置中开启\"默认文件管理器接管\"后，本文件会记录各键的原始状态。");
        lines.push_back(L"");
        return lines;
    }
    for (size_t i = 0; i < TakeoverKeys.size(); ++i) {
        AppendCommandBlock(lines, TakeoverKeys[i].key, backup->commands[i]);
    }
    for (size_t i = 0; i < TitleVerbKeys.size(); ++i) {
        AppendVerbBlock(lines, TitleVerbKeys[i].key, backup->verbs[i]);
    }
    lines.push_back(L"[Applications\\Quorlen.exe]");
    lines.push_back(L"  接管时创建（写入 FriendlyAppName = Quorlen 显示名），恢复时删除整键");
    lines.push_back(L"");
    return lines;
}

bool WriteTakeoverReport(std::wstring* error) {
    std::optional<BackupSnapshot> backup;
    {
        UniqueKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kBackupKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
            backup = ReadBackupSnapshot(key.get());
        }
    }
    if (!WriteLines(ConfigFilePath(kTakeoverReportFileName), TakeoverReportLines(backup))) {
        SetErrorText(error, L"无法写入接管前注册表配置文档");
        return false;
    }
    return true;
}

void WriteRestoreGuide() {
    const std::wstring exeFolder = ExecutableFolder();
    const std::wstring folder = exeFolder + L"\\doc";
    const std::wstring guide = folder + L"\\" + kRestoreGuideFileName;
    // Without the program's folder the guide would land in the current drive's root.
    if (!exeFolder.empty() && !FileExists(guide)) {
        CreateDirectoryW(folder.c_str(), nullptr);
        WriteLines(guide, RestoreGuideLines());
    }
    if (!FileExists(ConfigFilePath(kTakeoverReportFileName))) WriteTakeoverReport(nullptr);
}
