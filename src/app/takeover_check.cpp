#include "app/takeover_check.h"

#include "app/posted_path.h"
#include "takeover/takeover.h"
#include "takeover/takeover_documents.h"
#include "takeover/uninstall.h"
#include "ui/app_identity.h"

void TakeoverCheck::Start(HWND target, bool setting) {
    if (started) return;
    started = true;
    window = target;
    takeoverSetting = setting;
    thread.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
}

void TakeoverCheck::Wait() {
    if (thread) WaitForSingleObject(thread.get(), INFINITE);
    thread.reset();
}

DWORD WINAPI TakeoverCheck::Run(void* parameter) {
    const auto& check = *static_cast<TakeoverCheck*>(parameter);
    TakeoverSurvey survey = SurveyTakeover();
    StartupAction action = DecideAtStartup(survey, check.takeoverSetting);
    // Carrying over or finishing a cut-off undo can leave a state that itself
    // needs deciding on, once.
    if (action == StartupAction::CarryOver || action == StartupAction::FinishUndo) {
        RunSilentStartupAction(action);
        survey = SurveyTakeover();
        action = DecideAtStartup(survey, check.takeoverSetting);
    }
    switch (action) {
    case StartupAction::AskOtherHolder:
    case StartupAction::AskNoRecord:
    case StartupAction::AskOtherCopy: {
        const LPARAM question = PostablePath(StartupQuestion(action, survey));
        if (!PostMessageW(check.window, WM_APP_TAKEOVER_QUESTION, static_cast<WPARAM>(action), question)) {
            DiscardPostedPath(question);
        }
        break;
    }
    case StartupAction::None:
        // The documents follow their text, and an entry left without a
        // takeover (as earlier versions left it at every start) goes.
        if (survey.record && survey.holderIsThis) {
            RegisterUninstallEntry();
            WriteTakeoverDocuments();
        } else if (!survey.record) {
            RemoveUninstallEntry();
        }
        break;
    default:
        RunSilentStartupAction(action);
        break;
    }
    return 0;
}
