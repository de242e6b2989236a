#include "takeover/takeover_decision.h"

#include <algorithm>

namespace {

std::wstring OtherProgramName(const TakeoverSurvey& survey) {
    return survey.otherProgram.empty() ? L"系统默认的文件资源管理器" : survey.otherProgram;
}

const wchar_t* LauncherText(LauncherState launcher) {
    switch (launcher) {
    case LauncherState::Missing: return L"缺失";
    case LauncherState::Outdated: return L"版本较旧";
    case LauncherState::Current: return L"正常";
    case LauncherState::Newer: return L"由较新版本写入";
    }
    return L"";
}

std::wstring OrNone(const std::wstring& text) { return text.empty() ? L"(无)" : text; }

}  // namespace

int CommandsNotOurs(const TakeoverSurvey& survey) {
    return static_cast<int>(std::count_if(survey.commands.begin(), survey.commands.end(),
                                          [](KeyHolder holder) { return holder != KeyHolder::Ours; }));
}

StartupAction DecideAtStartup(const TakeoverSurvey& survey, bool takeoverSetting) {
    if (survey.earlierBackup && !survey.record) return StartupAction::CarryOver;
    if (survey.record && !survey.recordFinished) return StartupAction::FinishUndo;
    if (!takeoverSetting) return StartupAction::None;
    if (!survey.record) return StartupAction::AskNoRecord;
    if (!survey.holderIsThis) return survey.holderExists ? StartupAction::AskOtherCopy : StartupAction::FollowMove;
    if (CommandsNotOurs(survey) > 0) return StartupAction::AskOtherHolder;
    if (survey.launcher == LauncherState::Missing || survey.launcher == LauncherState::Outdated) {
        return StartupAction::Repair;
    }
    return StartupAction::None;
}

std::wstring TakeoverStatusText(const TakeoverSurvey& survey) {
    if (!survey.record) return L"当前状态：未接管";
    if (!survey.recordFinished) return L"当前状态：上次接管或取消未完成，下次启动时将自动撤销";
    const int others = CommandsNotOurs(survey);
    if (others == static_cast<int>(survey.commands.size())) return L"当前状态：未接管（各项已被其他程序修改）";
    if (others > 0) return L"当前状态：部分接管：" + std::to_wstring(others) + L" 项已被其他程序修改";
    if (survey.launcher == LauncherState::Missing) return L"当前状态：接管异常：启动器缺失";
    if (!survey.holderIsThis) return L"当前状态：已由另一个 Quorlen 副本接管（" + survey.holder + L"）";
    return L"当前状态：已接管（文件夹/驱动器双击将用本程序打开）";
}

std::wstring TakeoverCheckReport(const TakeoverSurvey& survey) {
    std::wstring report = TakeoverStatusText(survey) + L"\n\n";
    report += L"接管记录：" + std::wstring(survey.record ? L"有" : L"无") + L"\n";
    if (survey.record) {
        report += L"接管程序：" + survey.holder + (survey.holderExists ? L"" : L"（文件不存在）") + L"\n";
        report += L"启动器：" + std::wstring(LauncherText(survey.launcher)) + L"\n";
        const int ours = static_cast<int>(survey.commands.size()) - CommandsNotOurs(survey);
        report += L"打开命令：" + std::to_wstring(ours) + L"/" + std::to_wstring(survey.commands.size()) +
                  L" 项指向 Quorlen";
        if (ours < static_cast<int>(survey.commands.size())) report += L"，其余由 " + OtherProgramName(survey) + L" 处理";
        report += L"\n";
    }
    report += L"\n系统实际使用的打开命令：\n";
    report += L"文件夹（Directory）：" + OrNone(survey.directoryCommand) + L"\n";
    report += L"文件夹（Folder）：" + OrNone(survey.folderCommand) + L"\n";
    report += L"驱动器（Drive）：" + OrNone(survey.driveCommand);
    return report;
}

std::wstring StartupQuestion(StartupAction action, const TakeoverSurvey& survey) {
    switch (action) {
    case StartupAction::AskOtherHolder:
        return L"文件夹的打开方式已有 " + std::to_wstring(CommandsNotOurs(survey)) + L" 项不再由 Quorlen 接管，现在由 " +
               OtherProgramName(survey) +
               L" 处理。\n\n是否重新由 Quorlen 接管？\n\n选择“否”将保持现状，并关闭本程序的接管开关。";
    case StartupAction::AskNoRecord:
        return L"配置要求由 Quorlen 打开文件夹，但当前 Windows 用户尚未接管（文件夹现在由 " + OtherProgramName(survey) +
               L" 打开）。\n\n是否现在接管？\n\n选择“否”将保持现状，并关闭本程序的接管开关。";
    case StartupAction::AskOtherCopy:
        return L"另一个 Quorlen 副本正在接管文件夹打开：\n" + survey.holder +
               L"\n\n是否改由本副本接管？\n\n选择“否”将保持现状，并关闭本副本的接管开关。";
    default:
        return {};
    }
}
