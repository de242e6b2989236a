#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/search_results.h"
#include "mainwindow/tab_list.h"
#include "ui/shell_items.h"

namespace {

constexpr UINT kSearchDelayMs = 400;

}  // namespace

std::wstring MainWindow::SearchBoxText() const { return commandBar.GetSearchText(); }

void MainWindow::EmptySearchBox() { commandBar.SetSearchText(std::wstring()); }

bool MainWindow::HasActivePanel() const { return ActivePanel() != nullptr; }

std::wstring MainWindow::ActiveFolderPath() const {
    const FilePanel* panel = ActivePanel();
    return panel ? panel->GetCurrentPath() : std::wstring();
}

std::wstring MainWindow::ActiveFolderTitle() const {
    const FilePanel* panel = ActivePanel();
    if (!panel) return {};
    std::wstring title = DisplayName(panel->GetCurrentItem().get());
    return title.empty() ? panel->GetCurrentPath() : title;
}

std::wstring MainWindow::ScopeName(const std::wstring& path) const {
    std::wstring displayName;
    if (path.starts_with(L"::")) {
        ComPtr<IShellItem> item;
        if (SUCCEEDED(ItemFromPath(path, item.put()))) displayName = DisplayName(item.get());
    }
    return SearchCueName(path, displayName);
}

std::wstring MainWindow::SearchCue(const std::wstring& path, const std::wstring& folderTitle) const {
    return search.Searching() ? search.ScopeName() : SearchCueName(path, folderTitle);
}

void MainWindow::ShowSearchSpinner(bool on) {
    if (activeTab >= 0) tabStrip.SetLoading(activeTab, on);
}

void MainWindow::StartSearchDelay() { SetTimer(hwnd, kTimerSearchDelay, kSearchDelayMs, nullptr); }

void MainWindow::StopSearchDelay() { KillTimer(hwnd, kTimerSearchDelay); }

void MainWindow::BrowseActivePanelTo(const std::wstring& path) {
    if (FilePanel* panel = ActivePanel()) static_cast<void>(panel->NavigateToPath(path));
}

SearchOutcome MainWindow::PrepareResults(const std::wstring& scope, const std::wstring& query) {
    return MakeSearchResults(scope, query, searchParser, searchResults);
}

void MainWindow::BrowseToPreparedResults(bool replacingResults) {
    const ComPtr<IShellItem> results = std::move(searchResults);
    if (FilePanel* panel = ActivePanel(); panel && results) panel->NavigateToItemIDList(results.get(), replacingResults);
}

void MainWindow::Warn(const wchar_t* text) { ShowMessage(text, MB_ICONWARNING); }
