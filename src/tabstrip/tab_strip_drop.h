#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "tabstrip/tab_strip.h"
#include "tabstrip/tab_strip_drop_rules.h"
#include "ui/folder_probe.h"
#include "ui/handles.h"

// The strip's drop target for files dragged from anywhere. Over a tab it hands
// the drag on to the shell's own drop target for the tab's folder, so that the
// copy, move or link, its rules and its feedback are the shell's; resting on an
// inactive tab brings that tab to the front. Over the "+" or the empty strip it
// takes folders, which the strip's owner opens as tabs. A separate object, so
// that OLE's references to it never keep the strip alive.
class TabStrip::FileDrop final : public IDropTarget {
public:
    explicit FileDrop(TabStrip* strip) : strip_(strip) {}

    // Ends a drag in progress; after this, late calls reach nothing.
    void Disconnect();

    // The strip's hover timer went off: the cursor has rested on a tab.
    void OnHoverTimer();

    IFACEMETHODIMP QueryInterface(REFIID riid, void** object) override;
    IFACEMETHODIMP_(ULONG) AddRef() override;
    IFACEMETHODIMP_(ULONG) Release() override;

    IFACEMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    IFACEMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    IFACEMETHODIMP DragLeave() override;
    IFACEMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    ~FileDrop() = default;

    // Moves the drag to what is under the point: the folder target of a tab,
    // entered and left as the cursor goes from tab to tab, or the strip's own
    // answer. effect comes in as the effects the source allows and goes out as
    // the one the drop would have.
    DropPlace Follow(DWORD keys, POINTL point, DWORD* effect);
    void EnterFolder(const std::wstring& folder, DWORD keys, POINTL point, DWORD* effect);
    void LeaveFolder();
    // Marks what the drop would go to and times the rest on an inactive tab.
    void TrackHover(int tab, bool plusTakesDrop);
    void OpenDroppedFolders();
    void EndDrag();

    TabStrip* strip_;
    LONG refCount_ = 1;
    ComPtr<IDataObject> data_;
    std::vector<std::wstring> folders_;  // the dragged items that would open as tabs
    std::wstring folder_;                // the tab folder the drag is over; empty for none
    ComPtr<IDropTarget> folderTarget_;   // its shell drop target, once that took the drag
    ComPtr<IDropTargetHelper> imageHelper_;
    FolderProbe probe_;
    int hoverTab_ = -1;
};
