#include "panel/explorer_events.h"

IFACEMETHODIMP FilePanel::ExplorerEvents::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IExplorerBrowserEvents) {
        *object = static_cast<IExplorerBrowserEvents*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

IFACEMETHODIMP_(ULONG) FilePanel::ExplorerEvents::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refCount_)); }

IFACEMETHODIMP_(ULONG) FilePanel::ExplorerEvents::Release() {
    LONG count = InterlockedDecrement(&refCount_);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

IFACEMETHODIMP FilePanel::ExplorerEvents::OnNavigationPending(PCIDLIST_ABSOLUTE folder) {
    return panel_ ? panel_->OnNavigationPending(folder) : S_OK;
}

IFACEMETHODIMP FilePanel::ExplorerEvents::OnViewCreated(IShellView* view) {
    return panel_ ? panel_->OnViewCreated(view) : S_OK;
}

IFACEMETHODIMP FilePanel::ExplorerEvents::OnNavigationComplete(PCIDLIST_ABSOLUTE folder) {
    return panel_ ? panel_->OnNavigationComplete(folder) : S_OK;
}

IFACEMETHODIMP FilePanel::ExplorerEvents::OnNavigationFailed(PCIDLIST_ABSOLUTE) {
    return panel_ ? panel_->OnNavigationFailed() : S_OK;
}
