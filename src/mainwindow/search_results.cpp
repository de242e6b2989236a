#include "mainwindow/search_results.h"

#include <structuredquerycondition.h>

#include "ui/shell_items.h"

#if __has_include(<structuredquery.h>)
#include <structuredquery.h>
using QueryMainType = IEntity;
#else
// The query parser's interfaces, for SDKs that leave them out. Only the methods
// used here are spelled out; the rest keep their slots in the table.
struct IQuerySolution : IUnknown {
    // IConditionFactory
    virtual HRESULT STDMETHODCALLTYPE MakeNot(void*, BOOL, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE MakeAndOr(int, void*, BOOL, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE MakeLeaf(LPCWSTR, int, LPCWSTR, const void*, void*, void*, void*, BOOL,
                                               void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE Resolve(void*, int, const SYSTEMTIME*, void**) = 0;
    // IQuerySolution
    virtual HRESULT STDMETHODCALLTYPE GetQuery(ICondition** query, IUnknown** mainType) = 0;
};

struct IQueryParser : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Parse(LPCWSTR input, IEnumUnknown* customProperties,
                                            IQuerySolution** solution) = 0;
};

struct IQueryParserManager : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateLoadedParser(LPCWSTR catalog, LANGID language, REFIID riid,
                                                         void** parser) = 0;
};
using QueryMainType = IUnknown;
#endif

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

SearchOutcome MakeSearchResults(const std::wstring& scope, const std::wstring& query, ComPtr<IShellItem>& results) {
    results.reset();
    ComPtr<IShellItem> scopeItem;
    if (FAILED(ItemFromPath(scope, scopeItem.put()))) return SearchOutcome::ScopeUnusable;

    ComPtr<ISearchFolderItemFactory> factory;
    if (FAILED(CreateInProcess(kSearchFolderItemFactory, kISearchFolderItemFactory, factory)) || !factory) {
        return SearchOutcome::ServiceMissing;
    }
    ComPtr<IShellItemArray> scopeArray;
    if (FAILED(SHCreateShellItemArrayFromShellItem(scopeItem.get(), IID_PPV_ARGS(scopeArray.put()))) ||
        FAILED(factory->SetScope(scopeArray.get()))) {
        return SearchOutcome::ScopeRefused;
    }

    ComPtr<IQueryParserManager> manager;
    ComPtr<IQueryParser> parser;
    if (FAILED(CreateInProcess(kQueryParserManager, kIQueryParserManager, manager)) || !manager ||
        FAILED(manager->CreateLoadedParser(L"SYSTEM", GetUserDefaultLangID(), kIQueryParser,
                                           reinterpret_cast<void**>(parser.put()))) ||
        !parser) {
        return SearchOutcome::ServiceMissing;
    }
    ComPtr<IQuerySolution> solution;
    if (FAILED(parser->Parse(query.c_str(), nullptr, solution.put())) || !solution) {
        return SearchOutcome::QueryRejected;
    }
    ComPtr<ICondition> condition;
    ComPtr<QueryMainType> mainType;
    if (FAILED(solution->GetQuery(condition.put(), mainType.put())) || !condition ||
        FAILED(factory->SetCondition(condition.get()))) {
        return SearchOutcome::NoCondition;
    }
    if (FAILED(factory->GetShellItem(IID_PPV_ARGS(results.put()))) || !results) {
        results.reset();
        return SearchOutcome::NoResultsFolder;
    }
    return SearchOutcome::Ready;
}
