#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "mainwindow/folder_search.h"
#include "mainwindow/tabs/tab_restore.h"
#include "mainwindow/tabs/tab_set.h"
#include "tabstrip/tab_strip.h"

// Keeps a window's tab strip in step with its tabs, and with what the shell
// tells of their folders meanwhile: the names and icons of folders of tabs not
// shown yet, which it asks for on threads of their own, and the icon of each
// folder a tab arrives at. A menu open on a tab is left alone: the strip takes
// what the shell has told once the menu has returned.
class TabStripSync {
public:
    // relayout lays the window out again once the strip's tabs changed.
    TabStripSync(HWND& window, TabStrip& strip, TabSet& tabs, TabRestore& restore, const FolderSearch& search,
                 std::function<void()> relayout);

    // Pushes every tab's title, icon and look, the active tab and its busy mark.
    void Sync();
    // Pushes the titles that changed since, as a tab's folder or name did:
    // another tab's title may change with it.
    void Retitle();

    // The folders of tabs not shown yet are described on other threads; a tab
    // whose folder takes long says it is connecting.
    void DescribeLater(const std::vector<std::wstring>& folders);
    // The descriptions came (WM_APP_FOLDERS_DESCRIBED), or a menu that held
    // them up has closed.
    void ApplyDescriptions();
    // The moment a folder may take before its tab says it is connecting is up.
    void MarkSlowFolders();

    // The icon of the folder the panel's tab has arrived at is asked for once
    // the messages waiting have been handled: a start then lists its folder
    // first. The shell is asked once per folder rather than at every change of
    // the strip for every tab.
    void AwaitIcon(const FilePanel* panel);
    // WM_APP_RECORD_ICONS, or a menu that held the icons up has closed.
    void RecordIcons();

    // True while a menu runs: the update is tried again once it has closed.
    [[nodiscard]] bool UpdatesWait();

private:
    // What the tabs are called on the strip, and when asked how they look.
    [[nodiscard]] std::vector<std::wstring> Titles(std::vector<TabLook>* looks) const;

    HWND& window;
    TabStrip& strip;
    TabSet& tabs;
    TabRestore& restore;
    const FolderSearch& search;
    std::function<void()> relayout;
    // Panels whose folder's icon the strip still waits for.
    std::vector<const FilePanel*> iconsAwaited;
    std::vector<std::wstring> shownTitles;
    std::vector<TabLook> shownLooks;
};
