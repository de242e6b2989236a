#pragma once

#include "panel/file_panel.h"

// Receives the control's navigation events and hands them to its panel. A separate
// object so that the control's reference to it never keeps the panel alive.
class FilePanel::ExplorerEvents final : public IExplorerBrowserEvents {
public:
    explicit ExplorerEvents(FilePanel* panel) : panel_(panel) {}

    // After this, late events from the control reach nothing.
    void Disconnect() { panel_ = nullptr; }

    IFACEMETHODIMP QueryInterface(REFIID riid, void** object) override;
    IFACEMETHODIMP_(ULONG) AddRef() override;
    IFACEMETHODIMP_(ULONG) Release() override;

    IFACEMETHODIMP OnNavigationPending(PCIDLIST_ABSOLUTE folder) override;
    IFACEMETHODIMP OnViewCreated(IShellView* view) override;
    IFACEMETHODIMP OnNavigationComplete(PCIDLIST_ABSOLUTE folder) override;
    IFACEMETHODIMP OnNavigationFailed(PCIDLIST_ABSOLUTE folder) override;

private:
    ~ExplorerEvents() = default;

    FilePanel* panel_;
    LONG refCount_ = 1;
};
