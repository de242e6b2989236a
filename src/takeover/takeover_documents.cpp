#include "takeover/takeover_documents.h"

#include <windows.h>

#include "settings/config_dir.h"
#include "settings/line_file.h"
#include "takeover/launcher_file.h"

namespace {

std::wstring ValueLine(const SavedValue& value) {
    const std::wstring name = value.name.empty() ? L"默认值" : value.name;
    if (!value.present) return L"  " + name + L"：(不存在)";
    if (const std::optional<std::wstring> text = SavedText(value)) {
        return L"  " + name + L"：" + (text->empty() ? L"(空)" : *text);
    }
    return L"  " + name + L"：(非文本值，" + std::to_wstring(value.data.size()) + L" 字节)";
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// Where the documents go: beside the launcher, and in the holder's folders.
struct DocumentPaths {
    std::vector<std::wstring> reports;
    std::vector<std::wstring> guides;
};

DocumentPaths PathsFor(const std::wstring& launcher, const std::wstring& program) {
    DocumentPaths paths;
    const std::wstring launcherFolder = FolderOf(launcher);
    if (!launcherFolder.empty()) {
        paths.reports.push_back(launcherFolder + L"\\" + kTakeoverReportFileName);
        paths.guides.push_back(launcherFolder + L"\\" + kRestoreGuideFileName);
    }
    const std::wstring exeFolder = FolderOf(program);
    if (!exeFolder.empty()) {
        paths.reports.push_back(ConfigFolderBeside(exeFolder) + kTakeoverReportFileName);
        paths.guides.push_back(exeFolder + L"\\doc\\" + kRestoreGuideFileName);
    }
    return paths;
}

}  // namespace

std::vector<std::wstring> TakeoverReportLines(const TakeoverRecord& record) {
    std::vector<std::wstring> lines = {
        L"Quorlen 文件夹接管 - 接管前注册表配置",
        L"说明：以下为接管前 HKCU\\Software\\Classes 下各键的原始状态，取消接管时按此逐项恢复。",
        L"恢复方法见同一文件夹中的\"" + std::wstring(kRestoreGuideFileName) + L"\"。",
        L"",
        L"接管程序：" + record.program,
        L"启动器：" + record.launcher,
        L"",
    };
    for (size_t i = 0; i < TouchedKeys().size(); ++i) {
        lines.push_back(L"[" + TouchedKeys()[i].key + L"]");
        const std::optional<KeyState>& state = i < record.states.size() ? record.states[i] : std::nullopt;
        if (!state) {
            lines.push_back(L"  无记录（取消接管时删除 Quorlen 写入的值）");
        } else if (state->existingLevels < PathLevels(TouchedKeys()[i].key)) {
            lines.push_back(L"  接管前不存在（接管时新建，取消接管时删除）");
        } else {
            lines.push_back(L"  接管前存在：");
            for (const SavedValue& value : state->values) lines.push_back(ValueLine(value));
        }
        lines.push_back(L"");
    }
    return lines;
}

void WriteTakeoverDocuments() {
    const std::optional<TakeoverRecord> record = ReadTakeoverRecord();
    if (!record) return;
    const DocumentPaths paths = PathsFor(record->launcher, record->program);
    const std::vector<std::wstring> report = TakeoverReportLines(*record);
    const std::vector<std::wstring> guide = RestoreGuideLines(record->launcher);
    for (const std::wstring& path : paths.reports) {
        CreateDirectoryW(FolderOf(path).c_str(), nullptr);
        WriteLines(path, report);
    }
    for (const std::wstring& path : paths.guides) {
        CreateDirectoryW(FolderOf(path).c_str(), nullptr);
        WriteLines(path, guide);
    }
}

void RemoveTakeoverDocuments(const std::wstring& program) {
    const DocumentPaths paths = PathsFor(LauncherPath(), program);
    for (const std::wstring& path : paths.reports) DeleteFileW(path.c_str());
    for (const std::wstring& path : paths.guides) DeleteFileW(path.c_str());
    // The doc folder goes with its last document.
    if (!paths.guides.empty()) RemoveDirectoryW(FolderOf(paths.guides.back()).c_str());
}
