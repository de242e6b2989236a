#include "mainwindow/main_window.h"
#include "settings/settings_store.h"
#include "takeover/takeover.h"
#include "takeover/uninstall.h"
#include "ui/app_identity.h"

void MainWindow::AskAboutTakeover(const std::wstring& question) {
    // One loop from the question to its last word: a close asked for meanwhile
    // waits until both boxes are answered and the answer is kept.
    modal.Begin();
    const int answer = MessageBoxW(hwnd, question.c_str(), kAppTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    std::wstring error;
    const bool applied = answer == IDYES && ApplyTakeover(&error);
    if (answer == IDYES && !applied) MessageBoxW(hwnd, error.c_str(), L"接管失败", MB_ICONERROR);
    // Keeping things as they are means not being asked again at every start.
    if (!applied) settings.SetTakeover(false);
    modal.End();
}
