#include "mainwindow/search_results.h"

#include <propvarutil.h>

#include "ui/event_log.h"
#include "ui/shell_items.h"

namespace {

constexpr CLSID kSearchFolderItemFactory = {
    0x14010E02, 0xBBBD, 0x41F0, {0x88, 0xE3, 0xED, 0xA3, 0x71, 0x21, 0x65, 0x84}};
constexpr IID kISearchFolderItemFactory = {
    0xA0FFBC28, 0x5482, 0x4366, {0xBE, 0x27, 0x3E, 0x81, 0xE7, 0x8E, 0x06, 0xC2}};
constexpr CLSID kQueryParserManager = {
    0x5088B39A, 0x29B4, 0x4D9D, {0x82, 0x45, 0x4E, 0xE2, 0x89, 0x22, 0x2F, 0x66}};
constexpr IID kIQueryParserManager = {
    0xA879E3C4, 0xAF77, 0x44FB, {0x8F, 0x37, 0xEB, 0xD1, 0x48, 0x7C, 0xF9, 0x20}};
constexpr IID kIQueryParser = {0x2EBDEE67, 0x3505, 0x43F8, {0x99, 0x46, 0xEA, 0x44, 0xAB, 0xC8, 0xE5, 0xB0}};

template <typename Interface>
HRESULT CreateInProcess(const CLSID& classId, const IID& interfaceId, ComPtr<Interface>& object) {
    return CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, interfaceId,
                            reinterpret_cast<void**>(object.put()));
}

}  // namespace

SearchQueryParser::SearchQueryParser()
    : managerSource([](ComPtr<IQueryParserManager>& manager) {
          return CreateInProcess(kQueryParserManager, kIQueryParserManager, manager);
      }) {}

SearchOutcome SearchQueryParser::Condition(const std::wstring& query, ComPtr<ICondition>& condition) {
    condition.reset();
    if (!parser) {
        ComPtr<IQueryParserManager> manager;
        ComPtr<IQueryParser> made;
        // The index's catalog is the only one there is; the manager accepts no
        // other name. Keywords ("kind:", "date:") are read in the language the
        // user's interface shows.
        if (ComFailed(managerSource(manager), L"search: create QueryParserManager") || !manager ||
            ComFailed(manager->CreateLoadedParser(L"SystemIndex", GetUserDefaultUILanguage(), kIQueryParser,
                                                  reinterpret_cast<void**>(made.put())),
                      L"search: IQueryParserManager::CreateLoadedParser") ||
            !made ||
            ComFailed(manager->InitializeOptions(FALSE, TRUE, made.get()),
                      L"search: IQueryParserManager::InitializeOptions")) {
            return SearchOutcome::ServiceMissing;
        }
        // Words without a property name look in every text property, as in
        // the system's file window.
        PROPVARIANT anyText{};
        if (SUCCEEDED(InitPropVariantFromString(L"System.Generic.String", &anyText))) {
            made->SetMultiOption(SQMO_DEFAULT_PROPERTY, L"*", &anyText);
            PropVariantClear(&anyText);
        }
        parser = std::move(made);
    }
    ComPtr<IQuerySolution> solution;
    if (ComFailed(parser->Parse(query.c_str(), nullptr, solution.put()), L"search: IQueryParser::Parse") ||
        !solution) {
        return SearchOutcome::QueryRejected;
    }
    ComPtr<ICondition> parsed;
    if (ComFailed(solution->GetQuery(parsed.put(), nullptr), L"search: IQuerySolution::GetQuery") || !parsed) {
        return SearchOutcome::NoCondition;
    }
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (ComFailed(solution->Resolve(parsed.get(), SQRO_DONT_SPLIT_WORDS, &now, condition.put()),
                  L"search: IQuerySolution::Resolve") ||
        !condition) {
        condition.reset();
        return SearchOutcome::NoCondition;
    }
    return SearchOutcome::Ready;
}

SearchOutcome MakeSearchResults(const std::wstring& scope, const std::wstring& query, SearchQueryParser& parser,
                                ComPtr<IShellItem>& results) {
    results.reset();
    ComPtr<IShellItem> scopeItem;
    if (ComFailed(ItemFromPath(scope, scopeItem.put()), L"search: scope item")) return SearchOutcome::ScopeUnusable;

    ComPtr<ISearchFolderItemFactory> factory;
    if (ComFailed(CreateInProcess(kSearchFolderItemFactory, kISearchFolderItemFactory, factory),
                  L"search: create SearchFolderItemFactory") ||
        !factory) {
        return SearchOutcome::ServiceMissing;
    }
    ComPtr<IShellItemArray> scopeArray;
    if (ComFailed(SHCreateShellItemArrayFromShellItem(scopeItem.get(), IID_PPV_ARGS(scopeArray.put())),
                  L"search: SHCreateShellItemArrayFromShellItem") ||
        ComFailed(factory->SetScope(scopeArray.get()), L"search: ISearchFolderItemFactory::SetScope")) {
        return SearchOutcome::ScopeRefused;
    }
    ComPtr<ICondition> condition;
    if (const SearchOutcome parsed = parser.Condition(query, condition); parsed != SearchOutcome::Ready) return parsed;
    if (ComFailed(factory->SetCondition(condition.get()), L"search: ISearchFolderItemFactory::SetCondition")) {
        return SearchOutcome::NoCondition;
    }
    if (ComFailed(factory->GetShellItem(IID_PPV_ARGS(results.put())),
                  L"search: ISearchFolderItemFactory::GetShellItem") ||
        !results) {
        results.reset();
        return SearchOutcome::NoResultsFolder;
    }
    return SearchOutcome::Ready;
}
