#include "mainwindow/search_host.h"

#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/search_results.h"
#include "mainwindow/tabs/tab_list.h"
#include "ui/shell_items.h"

namespace {

constexpr UINT kSearchDelayMs = 400;

}  // namespace

std::wstring MainWindowSearchHost::SearchBoxText() const { return window.commandBar.GetSearchText(); }

void MainWindowSearchHost::EmptySearchBox() { window.commandBar.SetSearchText(std::wstring()); }

bool MainWindowSearchHost::HasActivePanel() const { return window.tabs.ActivePanel() != nullptr; }

std::wstring MainWindowSearchHost::ActiveFolderPath() const {
    const FilePanel* panel = window.tabs.ActivePanel();
    return panel ? panel->GetCurrentPath() : std::wstring();
}

std::wstring MainWindowSearchHost::ActiveFolderTitle() const {
    const FilePanel* panel = window.tabs.ActivePanel();
    if (!panel) return {};
    std::wstring title = DisplayName(panel->GetCurrentItem().get());
    return title.empty() ? panel->GetCurrentPath() : title;
}

std::wstring MainWindowSearchHost::ScopeName(const std::wstring& path) const {
    std::wstring displayName;
    if (path.starts_with(L"::")) {
        ComPtr<IShellItem> item;
        if (SUCCEEDED(ItemFromPath(path, item.put()))) displayName = DisplayName(item.get());
    }
    return SearchCueName(path, displayName);
}

void MainWindowSearchHost::ShowSearchSpinner(bool on) {
    if (window.tabs.Active() >= 0) window.tabStrip.SetLoading(window.tabs.Active(), on);
}

void MainWindowSearchHost::SetActiveTabTitle(const std::wstring& title) {
    if (window.tabs.Active() < 0) return;
    TabInfo& tab = window.tabs.At(window.tabs.Active());
    tab.title = title;
    window.stripSync.Retitle();
    window.stripSync.AwaitIcon(FocusedPanel(tab));
    window.Layout();
}

void MainWindowSearchHost::StartSearchDelay() { SetTimer(window.hwnd, kTimerSearchDelay, kSearchDelayMs, nullptr); }

void MainWindowSearchHost::StopSearchDelay() { KillTimer(window.hwnd, kTimerSearchDelay); }

void MainWindowSearchHost::BrowseActivePanelTo(const std::wstring& path) {
    if (FilePanel* panel = window.tabs.ActivePanel()) static_cast<void>(panel->NavigateToPath(path));
}

SearchOutcome MainWindowSearchHost::PrepareResults(const std::wstring& scope, const std::wstring& query) {
    return MakeSearchResults(scope, query, parser, results);
}

void MainWindowSearchHost::BrowseToPreparedResults(bool replacingResults) {
    const ComPtr<IShellItem> prepared = std::move(results);
    if (FilePanel* panel = window.tabs.ActivePanel(); panel && prepared) {
        panel->NavigateToItemIDList(prepared.get(), replacingResults);
    }
}

void MainWindowSearchHost::Warn(const wchar_t* text) { window.modal.ShowMessage(text, MB_ICONWARNING); }
