#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "mainwindow/tabs/tab_set.h"
#include "ui/folder_probe.h"

// Tabs whose folders wait for their drive to answer. A folder on a share or a
// drive that may be slow is looked up on a thread of its own first: its tab
// says it is connecting meanwhile, and the window goes on answering. Folders
// elsewhere open at once.
class DriveWaits {
public:
    // A folder typed into the address bar for a panel, whose drive has answered.
    struct Typed {
        FilePanel* panel;
        std::wstring folder;
        bool reached = false;
    };

    explicit DriveWaits(TabSet& tabs, FolderProbe::Lookup lookup = FolderProbe::ShellKnows,
                        FolderProbe::AtOnce atOnce = FolderProbe::AnswersAtOnce)
        : tabs(tabs), probe(std::move(lookup), std::move(atOnce)) {}

    // Each answer posts message to window, which then calls OpenAnswered.
    void TellWhenAnswered(HWND window, UINT message) { probe.TellWhenAnswered(window, message); }

    // Opens the folder, or the current one of the history, in the tab's panel,
    // now or once its drive has answered. A folder that cannot be opened leaves
    // the tab untitled and out of the saved list.
    void Open(FilePanel* panel, const std::wstring& folder, const TabHistory& history);
    // Whether a folder typed for the panel can be gone to now; while Asking it
    // waits, and comes back from OpenAnswered.
    [[nodiscard]] FolderReach ReachTyped(FilePanel* panel, const std::wstring& folder);
    // The tabs whose drives have answered open their folders or give up; the
    // typed folders that were answered are the caller's to go to.
    [[nodiscard]] std::vector<Typed> OpenAnswered();
    // A panel that goes no longer waits.
    void PanelGone(const FilePanel* panel);

private:
    struct Waiting {
        FilePanel* panel;
        std::wstring folder;
        TabHistory history;
        bool typed = false;
    };

    void OpenNow(FilePanel* panel, const std::wstring& folder, const TabHistory& history);
    void ForgetFolder(const FilePanel* panel);

    TabSet& tabs;
    FolderProbe probe;
    std::vector<Waiting> waiting;
};
