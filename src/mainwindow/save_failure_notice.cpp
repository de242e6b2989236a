#include "mainwindow/save_failure_notice.h"

#include <optional>
#include <utility>

#include "mainwindow/main_window_ids.h"
#include "settings/save_failures.h"
#include "ui/dpi.h"

namespace {

// Long enough to be read twice; the balloon's own close button ends it sooner.
constexpr UINT kSaveNoticeMs = 30000;

bool told = false;

}  // namespace

void SaveFailureNotice::TellIfDue(HWND window, int dpi, const std::function<RECT()>& folderView) {
    if (IsIconic(window) || !IsWindowVisible(window)) return;
    const std::optional<SaveFailure> failure = TakeSaveFailureToReport();
    if (!failure || std::exchange(told, true)) return;
    const RECT view = folderView();
    POINT stem{(view.left + view.right) / 2, view.top + ScaleDip(8, dpi)};
    ClientToScreen(window, &stem);
    if (balloon.Show(window, stem, L"无法保存配置", SaveFailureText(*failure), ScaleDip(420, dpi))) {
        SetTimer(window, kTimerHideSaveNotice, kSaveNoticeMs, nullptr);
    }
}

void SaveFailureNotice::Hide(HWND window) {
    KillTimer(window, kTimerHideSaveNotice);
    balloon.Hide();
}
