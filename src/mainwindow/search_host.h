#pragma once

#include <shobjidl.h>

#include <string>

#include "mainwindow/folder_search.h"
#include "mainwindow/search_results.h"
#include "ui/handles.h"

class MainWindow;

// What the search of a main window's active tab sees of the window: the
// active tab, the search box, the strip's spinner and the shell's search.
class MainWindowSearchHost final : public SearchHost {
public:
    explicit MainWindowSearchHost(MainWindow& window) : window(window) {}

    [[nodiscard]] std::wstring SearchBoxText() const override;
    void EmptySearchBox() override;
    [[nodiscard]] bool HasActivePanel() const override;
    [[nodiscard]] std::wstring ActiveFolderPath() const override;
    [[nodiscard]] std::wstring ActiveFolderTitle() const override;
    [[nodiscard]] std::wstring ScopeName(const std::wstring& path) const override;
    void SetActiveTabTitle(const std::wstring& title) override;
    void ShowSearchSpinner(bool on) override;
    void StartSearchDelay() override;
    void StopSearchDelay() override;
    void BrowseActivePanelTo(const std::wstring& path) override;
    SearchOutcome PrepareResults(const std::wstring& scope, const std::wstring& query) override;
    void BrowseToPreparedResults(bool replacingResults) override;
    void Warn(const wchar_t* text) override;

private:
    MainWindow& window;
    // Made by PrepareResults, shown by BrowseToPreparedResults.
    ComPtr<IShellItem> results;
    SearchQueryParser parser;
};
