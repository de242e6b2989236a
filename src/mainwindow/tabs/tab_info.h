#pragma once

#include <memory>
#include <string>

#include "mainwindow/tabs/folder_descriptions.h"
#include "mainwindow/tabs/tab_state.h"
#include "panel/file_panel.h"

// One tab of a main window: what it is called and the panel that shows its
// folder. A tab restored or opened behind the others is only a record until it
// is first shown: its folder, and the name and icon the shell gives that folder.
// Its panel, and the shell control in it, are made when it is first activated.
//
// A split tab has a second panel to the right of the first; the one with the
// focus names the tab and drives the bars. The first is the tab as it is saved
// and handed to other windows.
struct TabInfo {
    std::wstring title;          // empty until the tab has a name for its folder
    std::wstring requestedPath;  // the folder it was opened for; empty when that failed
    int icon = -1;               // its folder's icon in the small system image list; -1 until known
    std::unique_ptr<FilePanel> panel;
    // The back and forward list it was saved or carried with, which its panel
    // takes over when it is built.
    TabHistory history;
    // Whether it is split, where the divider stands and which pane has the
    // focus. The right pane's list is the one it was saved or carried with
    // until its panel is built, when the tab is first shown split.
    TabSplit split;
    std::unique_ptr<FilePanel> second;
    // Pinned, named, coloured, and when it was last shown.
    TabMarks marks;
};

// The record of a tab not shown yet, named by the last part of its path until
// the shell has described its folder.
[[nodiscard]] TabInfo UnbuiltTab(const std::wstring& path, TabState state = {});

// Gives a tab not shown yet the shell's name and icon for its folder. A folder
// the shell does not know (gone since it was saved) keeps the name from its
// path, and the tab its line, until it is shown and fails as a folder opened
// then would.
void Describe(TabInfo& tab, const FolderDescription& description);

// The folder a tab stands for, in the saved list, the history and hand-offs:
// the one its panel shows, else the one it was opened for, as it was given.
[[nodiscard]] std::wstring TabFolder(const TabInfo& tab);

// The folder a new tab opens: the one set for new tabs when there is one (a
// folder on a share or a slow drive is looked up as the tab opens, not here),
// else the computer's drives.
[[nodiscard]] std::wstring DefaultTabFolder(const std::wstring& newTabPath);

// The tab's back and forward list, to save or to carry with it: its panel's,
// or the one it waits with until it is built.
[[nodiscard]] TabHistory TabHistoryOf(const TabInfo& tab);

// The tab's split, with its right pane's list as TabHistoryOf gives the left's.
[[nodiscard]] TabSplit TabSplitOf(const TabInfo& tab);

// What the tab takes along to where it opens again.
[[nodiscard]] TabState TabStateOf(const TabInfo& tab);

// The panel with the focus: the right one of a split tab that has it, else the
// first. Null for a tab not shown yet.
[[nodiscard]] FilePanel* FocusedPanel(const TabInfo& tab);
