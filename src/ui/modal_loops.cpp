#include "ui/modal_loops.h"

#include "ui/app_identity.h"

void ModalLoops::End() {
    --open;
    if (open == 0 && closeWaits) {
        closeWaits = false;
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

bool ModalLoops::HoldClose() {
    if (open == 0) return false;
    closeWaits = true;
    return true;
}

int ModalLoops::ShowMessage(const wchar_t* text, UINT type) {
    Begin();
    const int answer = MessageBoxW(window, text, kAppTitle, type);
    End();
    return answer;
}

bool ModalLoops::MenuLoopRuns() {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    return GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE) != 0;
}
