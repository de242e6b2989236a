// The launcher: what the shell starts for every folder opened while Quorlen has
// taken over. It has no window of its own. It hands the folder to the running
// Quorlen, else starts Quorlen, else opens the folder in the system's
// explorer.exe, so that folders open whatever became of Quorlen. Started without
// a folder it is the restore tool; with /uninstall it is the installed-programs
// entry's command.

#include <windows.h>

#include "app/command_line.h"
#include "app/instance_claim.h"
#include "takeover/launch_target.h"
#include "takeover/launcher_file.h"
#include "takeover/takeover.h"
#include "takeover/takeover_record.h"
#include "takeover/uninstall.h"
#include "ui/app_identity.h"
#include "ui/paths.h"
#include "ui/process_start.h"

namespace {

constexpr wchar_t kRestoreQuestion[] =
    L"这是 Quorlen 的文件夹接管启动器，也是它的恢复工具。\n\n"
    L"是否取消 Quorlen 对文件夹/驱动器打开方式的接管，并把各项恢复为接管前的样子？";
constexpr wchar_t kRestoreDone[] = L"已取消接管，文件夹/驱动器已恢复为接管前的打开方式。";
constexpr wchar_t kNothingToRestore[] = L"当前没有 Quorlen 的文件夹接管，无需恢复。";

int RunRestoreTool() {
    if (!ReadTakeoverRecord()) {
        MessageBoxW(nullptr, kNothingToRestore, kAppTitle, MB_ICONINFORMATION);
        return 0;
    }
    if (MessageBoxW(nullptr, kRestoreQuestion, kAppTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return 0;
    }
    std::wstring error;
    if (!UndoTakeover(&error)) {
        MessageBoxW(nullptr, (L"取消接管失败：" + error).c_str(), kAppTitle, MB_ICONERROR);
        return 1;
    }
    MessageBoxW(nullptr, kRestoreDone, kAppTitle, MB_ICONINFORMATION);
    return 0;
}

bool OpenInExplorer(const std::wstring& target, bool select) {
    // By its process, never through the shell: the shell would start us again.
    const std::wstring explorer = SystemFolderFile(L"explorer.exe", true);
    return static_cast<bool>(StartProgram(ExplorerCommandLine(explorer, target, select), 0, explorer.c_str()));
}

// Quorlen is gone: the folder opened in Explorer, and the user hears of it once.
void TellProgramMissing(const TakeoverRecord& record) {
    SetToldProgramMissing();
    const std::wstring text = L"找不到 Quorlen（" + record.program +
                              L"），文件夹已改用系统资源管理器打开。\n\n"
                              L"是否取消 Quorlen 的文件夹接管，把打开方式恢复为接管前的样子？\n\n"
                              L"选择“否”将继续用系统资源管理器打开文件夹，不再提示。";
    if (MessageBoxW(nullptr, text.c_str(), kAppTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    std::wstring error;
    if (!UndoTakeover(&error)) MessageBoxW(nullptr, (L"取消接管失败：" + error).c_str(), kAppTitle, MB_ICONERROR);
}

int OpenTarget(const CommandLineRequest& request) {
    // "::{…}" folders and the shell's named places have no path Quorlen can show.
    if (!IsFileSystemPath(request.path)) return OpenInExplorer(request.path, request.select) ? 0 : 1;
    if (HandOffToRunningInstance(request.path, request.select)) return 0;
    const std::optional<TakeoverRecord> record = ReadTakeoverRecord();
    if (record && IsQuorlenProgram(record->program) &&
        StartProgram(QuorlenCommandLine(record->program, request.path, request.select), 0, record->program.c_str())) {
        return 0;
    }
    const bool opened = OpenInExplorer(request.path, request.select);
    if (record && !record->toldProgramMissing) TellProgramMissing(*record);
    return opened ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Quorlen recorded on a removed stick is found missing, without the system's "no disk" box.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    SetCurrentDirectoryW(NeutralWorkingFolder().c_str());
    const std::vector<std::wstring> arguments = ProcessArguments();
    const CommandLineRequest request = ParseCommandLine(arguments);
    if (request.uninstall) return RunUninstallCommand(request.silent);
    if (arguments.empty() || request.restore) return RunRestoreTool();
    return OpenTarget(request);
}
