#include "app/crash_notice.h"

#include <string>
#include <vector>

#include "app/crash_report.h"
#include "settings/line_file.h"
#include "ui/dpi.h"

namespace {

// Long enough to be read and the folder noted; the balloon's close button ends it sooner.
constexpr UINT kNoticeMs = 60000;

}  // namespace

CrashNotice::~CrashNotice() {
    if (timerWindow && IsWindow(timerWindow)) KillTimer(timerWindow, TimerId());
}

void CrashNotice::TellOfNewReport(HWND window) {
    const std::wstring folder = CrashFolder();
    const std::wstring newest = NewestReportStem(ReportFileNames(folder));
    if (newest.empty()) return;
    const std::wstring toldFile = folder + kToldReportFileName;
    const std::vector<std::wstring> told = ReadLines(toldFile);
    if (!told.empty() && told.front() == newest) return;

    const int dpi = static_cast<int>(GetDpiForWindow(window));
    RECT client{};
    GetClientRect(window, &client);
    // Below the tab strip and the command bar, in the middle: it concerns the whole program.
    POINT stem{(client.left + client.right) / 2, client.top + ScaleDip(64, dpi)};
    ClientToScreen(window, &stem);
    const std::wstring text = L"Quorlen 上次运行时意外退出。错误报告保存在：\n" + folder.substr(0, folder.size() - 1);
    if (!balloon.Show(window, stem, L"Quorlen 上次意外退出", text, ScaleDip(420, dpi))) return;
    // Told once shown; a start that could not show it tries again next time.
    WriteLines(toldFile, {newest});
    // The timer's id is this object, so that the timer finds it and cannot meet
    // one of the window's own.
    timerWindow = window;
    SetTimer(window, TimerId(), kNoticeMs, EndNotice);
}

void CALLBACK CrashNotice::EndNotice(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    auto* notice = reinterpret_cast<CrashNotice*>(timer);
    notice->balloon.Hide();
    notice->timerWindow = nullptr;
}
