#pragma once

#include <string>

// How making a search's results folder ended.
enum class SearchOutcome {
    Ready,            // the results folder is made and waits to be shown
    ScopeUnusable,    // the folder to search cannot be made into a shell item
    ScopeRefused,     // the folder could not be handed to the search as its scope
    ServiceMissing,   // the search-folder factory or the query parser is not there
    QueryRejected,    // the parser rejected the query
    NoCondition,      // the parsed query gave nothing to search for
    NoResultsFolder,  // the factory made no results folder
};

inline constexpr wchar_t kSearchServiceMissing[] = L"系统搜索服务不可用";
inline constexpr wchar_t kSearchFailed[] = L"搜索失败：请检查 Windows 搜索服务是否已启用";

// The title a tab shows while it searches or shows results: the query, then
// the searched folder's name in quotes.
[[nodiscard]] std::wstring SearchTitle(const std::wstring& query, const std::wstring& scopeName);

// The warning a failed search shows, or null when the failure is silent.
[[nodiscard]] const wchar_t* SearchWarning(SearchOutcome outcome);

// What the search needs of its window: the active tab, the search box, a
// one-shot delay and the shell's search service.
class SearchHost {
public:
    [[nodiscard]] virtual std::wstring SearchBoxText() const = 0;
    virtual void EmptySearchBox() = 0;
    [[nodiscard]] virtual bool HasActivePanel() const = 0;
    // The active panel's folder; empty without one.
    [[nodiscard]] virtual std::wstring ActiveFolderPath() const = 0;
    // The name the active tab shows for its folder when not searching.
    [[nodiscard]] virtual std::wstring ActiveFolderTitle() const = 0;
    // The name a searched folder goes by in titles and the search box's cue.
    [[nodiscard]] virtual std::wstring ScopeName(const std::wstring& path) const = 0;
    virtual void SetActiveTabTitle(const std::wstring& title) = 0;
    virtual void ShowSearchSpinner(bool on) = 0;
    // Starting the delay again restarts it; when it runs out the window calls RunSearch.
    virtual void StartSearchDelay() = 0;
    virtual void StopSearchDelay() = 0;
    virtual void BrowseActivePanelTo(const std::wstring& path) = 0;
    virtual SearchOutcome PrepareResults(const std::wstring& scope, const std::wstring& query) = 0;
    // replacingResults: the panel shows results already, which these replace
    // in its history too, so that Back leads out of the search.
    virtual void BrowseToPreparedResults(bool replacingResults) = 0;
    virtual void Warn(const wchar_t* text) = 0;

protected:
    ~SearchHost() = default;
};

// The search of the active tab's folder from the search box: typing arms a
// delay, the search runs when the typing pauses, the results replace the
// folder in the panel, and emptying the box goes back to the searched folder.
class FolderSearch {
public:
    explicit FolderSearch(SearchHost& host) : host(host) {}

    // The search box's text changed.
    void OnSearchTextChanged();
    // The typing paused: search for the box's text.
    void RunSearch();
    // The active panel finished a navigation; gives the title its tab shows,
    // folderTitle unless the navigation belongs to a search.
    [[nodiscard]] std::wstring OnActivePanelNavigated(const std::wstring& folderTitle);
    // The tab is about to be left: drops the search without navigating.
    void EndSearch();

    // What the address bar shows for the folder the active panel reports.
    [[nodiscard]] const std::wstring& AddressFor(const std::wstring& path) const {
        return searching ? searchOrigin : path;
    }
    [[nodiscard]] bool Searching() const { return searching; }
    [[nodiscard]] bool Pending() const { return searchPending; }
    [[nodiscard]] const std::wstring& ScopeName() const { return searchScopeName; }
    // The search box's cue for a folder the active panel shows: the folder's
    // name, or the searched folder's while a search runs.
    [[nodiscard]] std::wstring Cue(const std::wstring& path, const std::wstring& folderTitle) const;

private:
    void SetSearchMode(bool on);
    void Clear();

    SearchHost& host;
    bool searching = false;
    bool searchPending = false;
    std::wstring searchOrigin;
    std::wstring searchQuery;
    std::wstring searchScopeName;
};
