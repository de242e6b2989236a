#include "mainwindow/main_window.h"
#include "settings/settings_file.h"
#include "takeover/takeover.h"
#include "takeover/uninstall.h"
#include "ui/app_identity.h"

void MainWindow::AskAboutTakeover(const std::wstring& question) {
    ++openModalLoops;
    const int answer = MessageBoxW(hwnd, question.c_str(), kAppTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    --openModalLoops;
    std::wstring error;
    if (answer == IDYES && ApplyTakeover(&error)) return;
    if (answer == IDYES) MessageBoxW(hwnd, error.c_str(), L"接管失败", MB_ICONERROR);
    // Keeping things as they are means not being asked again at every start.
    settings.Takeover = false;
    SaveSettingValues({{L"Takeover", 0}});
}
