#include <windows.h>

#include "app/application.h"
#include "settings/save_queue.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const int exitCode = Application::Instance().Run();
    // Whichever way the run ended, what it saved reaches the files before the process goes.
    FinishSaves();
    return exitCode;
}
