#include "takeover/takeover.h"

#include <windows.h>
#include <shlwapi.h>

#include "takeover/command_lines.h"
#include "takeover/error_text.h"
#include "takeover/launcher_file.h"
#include "takeover/program_location.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_backup.h"
#include "takeover/takeover_documents.h"
#include "takeover/takeover_keys.h"
#include "takeover/takeover_record.h"
#include "takeover/uninstall.h"
#include "ui/paths.h"

namespace {

std::wstring ShellOpenCommand(const wchar_t* type) {
    wchar_t command[2048] = {};
    DWORD length = static_cast<DWORD>(std::size(command));
    if (FAILED(AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, type, L"open", command, &length))) return {};
    return command;
}

bool Exists(const std::wstring& path) {
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes the launcher unless it is current or newer.
bool EnsureLauncher(const std::wstring& path, std::wstring* error) {
    const LauncherState state = CheckLauncher(path);
    if (state == LauncherState::Current || state == LauncherState::Newer) return true;
    return WriteLauncher(path, error);
}

void WriteTakeoverExtras() {
    RegisterUninstallEntry();
    WriteTakeoverDocuments();
}

}  // namespace

std::wstring ExecutablePath() {
    // A path cut short by a small buffer would be written into the shell's
    // commands, so the buffer grows until the whole path fits.
    std::wstring path(MAX_PATH, L'\0');
    while (path.size() <= 32768) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

TakeoverSurvey SurveyTakeover(bool askTheShell) {
    TakeoverSurvey survey;
    const std::wstring exe = ExecutablePath();
    survey.earlierBackup = EarlierBackupExists();
    const std::optional<TakeoverRecord> record = ReadTakeoverRecord();
    survey.record = record.has_value();
    const std::wstring launcher = record && !record->launcher.empty() ? record->launcher : LauncherPath();
    if (record) {
        survey.recordFinished = record->phase == RecordPhase::Applied;
        survey.holder = record->program;
        survey.holderIsThis = SamePath(record->program, exe);
        survey.holderExists = Exists(record->program);
        survey.launcher = CheckLauncher(launcher);
    }
    const OurPrograms programs = OurProgramsFor(record ? record->program : exe, launcher);
    for (size_t i = 0; i < TakeoverKeys.size(); ++i) {
        const std::optional<RegistryString> command = ReadClassesDefault(TakeoverKeys[i].key);
        if (!command) {
            survey.commands.push_back(KeyHolder::Missing);
        } else if (HoldsOurValue(i, programs)) {
            survey.commands.push_back(KeyHolder::Ours);
        } else {
            survey.commands.push_back(KeyHolder::Other);
            if (survey.otherProgram.empty()) survey.otherProgram = ProgramOfCommand(command->text);
        }
    }
    if (askTheShell) {
        survey.directoryCommand = ShellOpenCommand(L"Directory");
        survey.folderCommand = ShellOpenCommand(L"Folder");
        survey.driveCommand = ShellOpenCommand(L"Drive");
    }
    return survey;
}

bool ApplyTakeover(std::wstring* error) {
    const std::wstring exe = ExecutablePath();
    if (exe.empty()) {
        SetErrorText(error, L"无法获取程序路径");
        return false;
    }
    if (const std::wstring unsafe = UnsafeLocationReason(exe); !unsafe.empty()) {
        if (error) *error = L"不能从这里接管文件夹打开：" + unsafe + L"\n\n请先把 Quorlen 放到本机硬盘上的固定文件夹中再接管。";
        return false;
    }
    const std::wstring launcher = LauncherPath();
    if (launcher.empty()) {
        SetErrorText(error, L"无法确定启动器的位置（%LOCALAPPDATA%）。");
        return false;
    }
    if (!EnsureLauncher(launcher, error) || !ApplyTakeoverTo(TakeoverTarget{exe, launcher}, error)) return false;
    WriteTakeoverExtras();
    return true;
}

bool UndoTakeover(std::wstring* error) {
    const std::wstring exe = ExecutablePath();
    // An earlier version's takeover is undone through the record too, and
    // carrying it over points its keys at the launcher, which must be there
    // should the undo then fail part-way.
    if (EarlierBackupExists()) {
        const std::wstring launcher = LauncherPath();
        if (!EnsureLauncher(launcher, error)) return false;
        CarryOverEarlierTakeover(TakeoverTarget{exe, launcher});
    }
    const std::optional<TakeoverRecord> record = ReadTakeoverRecord();
    if (!RestoreTakeover(error)) return false;
    RemoveUninstallEntry();
    RemoveTakeoverDocuments(record ? record->program : exe);
    // The launcher and its documents stay only while a takeover needs them;
    // a launcher doing the undo itself cannot go while it runs.
    if (!RunningFrom(LauncherPath())) RemoveLauncherFolder();
    return true;
}

void RunSilentStartupAction(StartupAction action) {
    const std::wstring exe = ExecutablePath();
    switch (action) {
    case StartupAction::CarryOver: {
        const std::wstring launcher = LauncherPath();
        if (!EnsureLauncher(launcher, nullptr)) return;
        CarryOverEarlierTakeover(TakeoverTarget{exe, launcher});
        if (ReadTakeoverRecord()) WriteTakeoverExtras();
        break;
    }
    case StartupAction::FinishUndo:
        UndoTakeover(nullptr);
        break;
    case StartupAction::FollowMove:
        if (!SetRecordProgram(exe)) return;
        [[fallthrough]];
    case StartupAction::Repair:
        if (const std::optional<TakeoverRecord> record = ReadTakeoverRecord()) {
            EnsureLauncher(record->launcher.empty() ? LauncherPath() : record->launcher, nullptr);
        }
        WriteTakeoverExtras();
        break;
    default:
        break;
    }
}
