#include "mainwindow/folder_search.h"

#include "mainwindow/tabs/tab_list.h"

#include "ui/text.h"

std::wstring SearchTitle(const std::wstring& query, const std::wstring& scopeName) {
    return query + L"-\"" + scopeName + L"\"中的搜索结果";
}

const wchar_t* SearchWarning(SearchOutcome outcome) {
    switch (outcome) {
    case SearchOutcome::ServiceMissing: return kSearchServiceMissing;
    case SearchOutcome::QueryRejected:
    case SearchOutcome::NoResultsFolder: return kSearchFailed;
    default: return nullptr;
    }
}

void FolderSearch::OnSearchTextChanged() {
    const std::wstring query = TrimBlanks(host.SearchBoxText());
    if (!query.empty()) {
        searchQuery = query;
        if (!searching) searchScopeName = host.ScopeName(host.ActiveFolderPath());
        if (searchPending) {
            // Already searching: the title follows the query as it is typed.
            host.SetActiveTabTitle(SearchTitle(searchQuery, searchScopeName));
        } else {
            SetSearchMode(true);
        }
        host.StartSearchDelay();
        return;
    }
    host.StopSearchDelay();
    if (searching && !searchOrigin.empty()) {
        searching = false;
        host.BrowseActivePanelTo(searchOrigin);
    }
    SetSearchMode(false);
}

void FolderSearch::RunSearch() {
    const std::wstring query = TrimBlanks(host.SearchBoxText());
    std::wstring scope = searching ? searchOrigin : host.ActiveFolderPath();
    if (!host.HasActivePanel() || query.empty() || scope.empty()) {
        SetSearchMode(false);
        return;
    }
    SearchOutcome outcome = host.PrepareResults(scope, query);
    if (outcome == SearchOutcome::ScopeUnusable && !searching && !searchOrigin.empty()) {
        scope = searchOrigin;
        outcome = host.PrepareResults(scope, query);
    }
    if (outcome != SearchOutcome::Ready) {
        if (const wchar_t* warning = SearchWarning(outcome)) host.Warn(warning);
        SetSearchMode(false);
        return;
    }
    const bool refining = searching;
    searching = true;
    searchOrigin = scope;
    searchQuery = query;
    searchScopeName = host.ScopeName(scope);
    host.BrowseToPreparedResults(refining);
}

std::wstring FolderSearch::OnActivePanelNavigated(const std::wstring& folderTitle) {
    if (!searching) return folderTitle;
    if (searchPending) {
        // The results have arrived.
        SetSearchMode(false);
        return SearchTitle(searchQuery, searchScopeName);
    }
    // The user went on from the results to some other folder: the search is
    // over, and the tab must not go on calling that folder search results.
    EndSearch();
    return folderTitle;
}

void FolderSearch::EndSearch() {
    const bool titleShowsSearch = searchPending && !searching;
    const bool spinnerShown = searchPending;
    Clear();
    host.StopSearchDelay();
    if (spinnerShown) host.ShowSearchSpinner(false);
    if (titleShowsSearch) {
        // The tab stays in its folder, so it takes that folder's name back.
        if (const std::wstring title = host.ActiveFolderTitle(); !title.empty()) host.SetActiveTabTitle(title);
    }
    host.EmptySearchBox();
}

void FolderSearch::SetSearchMode(bool on) {
    if (on == searchPending) return;
    searchPending = on;
    host.ShowSearchSpinner(on);
    const std::wstring title =
        searching || on ? SearchTitle(searchQuery, searchScopeName) : host.ActiveFolderTitle();
    if (!title.empty()) host.SetActiveTabTitle(title);
}

void FolderSearch::Clear() {
    searching = false;
    searchPending = false;
    searchOrigin.clear();
    searchQuery.clear();
    searchScopeName.clear();
}

std::wstring FolderSearch::Cue(const std::wstring& path, const std::wstring& folderTitle) const {
    return searching ? searchScopeName : SearchCueName(path, folderTitle);
}
