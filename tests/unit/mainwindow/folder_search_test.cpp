#include "mainwindow/folder_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commandbar/command_bar.h"
#include "mainwindow/tabs/tab_list.h"

namespace {

// A window with one tab whose panel shows `folder`; records what the search
// asks of it.
class FakeWindow final : public SearchHost {
public:
    std::wstring box;
    std::wstring folder = L"C:\\data\\reports";
    bool hasPanel = true;
    bool scopeUsable = true;
    SearchOutcome outcome = SearchOutcome::Ready;

    std::wstring title = L"reports";
    bool spinner = false;
    bool delayArmed = false;
    int delayStarts = 0;
    std::vector<std::wstring> scopesSearched;
    std::vector<const wchar_t*> warnings;
    bool resultsShown = false;
    std::vector<bool> replacedResults;

    // The user types; the box raises its change notice.
    void Type(FolderSearch& search, const std::wstring& text) {
        box = text;
        search.OnSearchTextChanged();
    }

    std::wstring SearchBoxText() const override { return box; }
    void EmptySearchBox() override { box.clear(); }
    bool HasActivePanel() const override { return hasPanel; }
    std::wstring ActiveFolderPath() const override { return hasPanel ? folder : std::wstring(); }
    std::wstring ActiveFolderTitle() const override { return LastPathComponent(folder); }
    std::wstring ScopeName(const std::wstring& path) const override { return SearchCueName(path, L""); }
    void SetActiveTabTitle(const std::wstring& text) override { title = text; }
    void ShowSearchSpinner(bool on) override { spinner = on; }
    void StartSearchDelay() override {
        delayArmed = true;
        ++delayStarts;
    }
    void StopSearchDelay() override { delayArmed = false; }
    void BrowseActivePanelTo(const std::wstring& path) override { folder = path; }
    SearchOutcome PrepareResults(const std::wstring& scope, const std::wstring&) override {
        scopesSearched.push_back(scope);
        if (!scopeUsable && scope == folder) return SearchOutcome::ScopeUnusable;
        return outcome;
    }
    void BrowseToPreparedResults(bool replacing) override {
        resultsShown = true;
        replacedResults.push_back(replacing);
        folder = L"::results";
    }
    void Warn(const wchar_t* text) override { warnings.push_back(text); }

private:
    static std::wstring LastPathComponent(const std::wstring& path) { return SearchCueName(path, L""); }
};

class FolderSearchTest : public testing::Test {
protected:
    // The delay runs out, and the results arrive in the panel.
    void SearchAndArrive(const std::wstring& query) {
        window.Type(search, query);
        search.RunSearch();
        ASSERT_TRUE(window.resultsShown);
        window.title = search.OnActivePanelNavigated(L"results folder");
    }

    FakeWindow window;
    FolderSearch search{window};
};

TEST(SearchTitleTest, NamesTheQueryAndTheSearchedFolderAsTheCueDoes) {
    EXPECT_EQ(SearchTitle(L"report", SearchCueName(L"C:\\Users\\me\\data", L"")), L"report-\"data\"中的搜索结果");
    // A drive root goes by its whole path.
    EXPECT_EQ(SearchTitle(L"a b", SearchCueName(L"C:\\", L"")), L"a b-\"C:\\\"中的搜索结果");
    EXPECT_EQ(SearchCueText(SearchCueName(L"C:\\", L"")), L"在 C:\\ 中搜索");
    EXPECT_EQ(SearchCueText(SearchCueName(L"D:\\资料\\2026", L"")), L"在 2026 中搜索");
}

TEST_F(FolderSearchTest, TypingArmsOneDelayAndShowsTheQueryInTheTitle) {
    window.Type(search, L"r");
    window.Type(search, L"re");
    window.Type(search, L" rep\t");
    EXPECT_TRUE(search.Pending());
    EXPECT_FALSE(search.Searching());
    EXPECT_TRUE(window.spinner);
    EXPECT_TRUE(window.delayArmed);
    EXPECT_EQ(window.delayStarts, 3);
    EXPECT_EQ(window.title, L"rep-\"reports\"中的搜索结果");
    EXPECT_TRUE(window.scopesSearched.empty());
}

TEST_F(FolderSearchTest, ResultsReplaceTheFolderAndTheBarsKeepNamingIt) {
    SearchAndArrive(L"rep");
    EXPECT_EQ(window.scopesSearched, std::vector<std::wstring>{L"C:\\data\\reports"});
    EXPECT_TRUE(search.Searching());
    EXPECT_FALSE(search.Pending());
    EXPECT_FALSE(window.spinner);
    EXPECT_EQ(window.title, L"rep-\"reports\"中的搜索结果");
    EXPECT_EQ(search.AddressFor(L"::results"), L"C:\\data\\reports");
    EXPECT_EQ(search.ScopeName(), L"reports");
    EXPECT_TRUE(window.warnings.empty());
}

TEST_F(FolderSearchTest, ARefinedQuerySearchesTheFirstFolderAgain) {
    SearchAndArrive(L"rep");
    window.resultsShown = false;
    window.Type(search, L"repo");
    EXPECT_TRUE(search.Pending());
    EXPECT_EQ(window.title, L"repo-\"reports\"中的搜索结果");
    search.RunSearch();
    EXPECT_EQ(window.scopesSearched.back(), L"C:\\data\\reports");
    EXPECT_TRUE(window.resultsShown);
    // The refined results take the place of the first in the panel's history.
    EXPECT_EQ(window.replacedResults, (std::vector<bool>{false, true}));
}

TEST_F(FolderSearchTest, EmptyingTheBoxReturnsToTheSearchedFolder) {
    SearchAndArrive(L"rep");
    window.Type(search, L"  \t ");
    EXPECT_EQ(window.folder, L"C:\\data\\reports");
    window.title = search.OnActivePanelNavigated(L"reports");
    EXPECT_FALSE(search.Searching());
    EXPECT_FALSE(search.Pending());
    EXPECT_FALSE(window.delayArmed);
    EXPECT_EQ(window.title, L"reports");
    EXPECT_EQ(search.AddressFor(L"C:\\data\\reports"), L"C:\\data\\reports");
}

TEST_F(FolderSearchTest, EmptyingTheBoxBeforeTheDelayRanOutCancelsSilently) {
    window.Type(search, L"rep");
    window.Type(search, L"");
    EXPECT_FALSE(window.delayArmed);
    EXPECT_FALSE(window.spinner);
    EXPECT_EQ(window.title, L"reports");
    EXPECT_EQ(window.folder, L"C:\\data\\reports");
}

TEST_F(FolderSearchTest, FailuresWarnOnlyWhereTheUserCanActAndLeaveTheFolderShown) {
    const struct {
        SearchOutcome outcome;
        const wchar_t* warning;
    } cases[] = {
        {SearchOutcome::ServiceMissing, kSearchServiceMissing},
        {SearchOutcome::QueryRejected, kSearchFailed},
        {SearchOutcome::NoResultsFolder, kSearchFailed},
        {SearchOutcome::NoCondition, nullptr},
        {SearchOutcome::ScopeRefused, nullptr},
    };
    for (const auto& expected : cases) {
        FakeWindow failing;
        failing.outcome = expected.outcome;
        FolderSearch failingSearch(failing);
        failing.Type(failingSearch, L"rep");
        failingSearch.RunSearch();
        if (expected.warning) {
            EXPECT_EQ(failing.warnings, std::vector<const wchar_t*>{expected.warning});
        } else {
            EXPECT_TRUE(failing.warnings.empty());
        }
        EXPECT_FALSE(failing.resultsShown);
        EXPECT_FALSE(failingSearch.Pending());
        EXPECT_FALSE(failing.spinner);
        EXPECT_EQ(failing.title, L"reports");
        EXPECT_EQ(failing.folder, L"C:\\data\\reports");
    }
}

TEST_F(FolderSearchTest, NothingIsSearchedWithoutAPanelOrAQuery) {
    window.Type(search, L"rep");
    window.hasPanel = false;
    search.RunSearch();
    window.hasPanel = true;
    window.Type(search, L"rep");
    window.box = L"   ";  // emptied without a change notice reaching the search yet
    search.RunSearch();
    EXPECT_TRUE(window.scopesSearched.empty());
    EXPECT_FALSE(search.Pending());
    EXPECT_TRUE(window.warnings.empty());
}

TEST_F(FolderSearchTest, AnUnusableFolderFallsBackToTheLastSearchedOne) {
    SearchAndArrive(L"rep");
    window.Type(search, L"");  // back in C:\data\reports, no longer searching
    window.folder = L"C:\\gone";
    window.scopeUsable = false;
    window.resultsShown = false;
    window.Type(search, L"rep");
    search.RunSearch();
    EXPECT_EQ(window.scopesSearched, (std::vector<std::wstring>{L"C:\\data\\reports", L"C:\\gone",
                                                                L"C:\\data\\reports"}));
    EXPECT_TRUE(window.resultsShown);
}

TEST_F(FolderSearchTest, SwitchingTabsDuringAPendingSearchCancelsItSilently) {
    window.Type(search, L"rep");
    search.EndSearch();
    EXPECT_FALSE(window.delayArmed);
    EXPECT_FALSE(window.spinner);
    EXPECT_TRUE(window.box.empty());
    EXPECT_EQ(window.title, L"reports");
    EXPECT_FALSE(search.Pending());
    search.OnSearchTextChanged();  // the emptied box's change notice
    EXPECT_EQ(window.folder, L"C:\\data\\reports");
    EXPECT_TRUE(window.scopesSearched.empty());
}

TEST_F(FolderSearchTest, GoingOnFromTheResultsEndsTheSearch) {
    SearchAndArrive(L"rep");
    window.folder = L"C:\\data\\reports\\2026";
    EXPECT_EQ(search.OnActivePanelNavigated(L"2026"), L"2026");
    EXPECT_FALSE(search.Searching());
    EXPECT_TRUE(window.box.empty());
    EXPECT_EQ(search.AddressFor(L"C:\\data\\reports\\2026"), L"C:\\data\\reports\\2026");
    search.OnSearchTextChanged();  // the emptied box's change notice must not navigate back
    EXPECT_EQ(window.folder, L"C:\\data\\reports\\2026");
}

}  // namespace
