#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "mainwindow/search_results.h"

// The fakes implement the program's own declarations of the parser; with the
// SDK's, which declare every method, they would need them all.
#if defined(QUORLEN_OWN_QUERY_PARSER_DECLARATIONS)

namespace {

// COM objects that live as long as the test: counting references is not theirs to do.
template <typename Interface>
struct Fake : Interface {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

struct FakeCondition : Fake<ICondition> {
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetConditionType(CONDITION_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSubConditions(REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetComparisonInfo(LPWSTR*, CONDITION_OPERATION*, PROPVARIANT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetValueType(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetValueNormalization(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetInputTerms(IRichChunk**, IRichChunk**, IRichChunk**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(ICondition**) override { return E_NOTIMPL; }
};

// A solution whose query is `parsed` and whose resolution is `resolved`.
struct FakeSolution : Fake<IQuerySolution> {
    HRESULT STDMETHODCALLTYPE MakeNot(ICondition*, BOOL, ICondition**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MakeAndOr(CONDITION_TYPE, IEnumUnknown*, BOOL, ICondition**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE MakeLeaf(LPCWSTR, CONDITION_OPERATION, LPCWSTR, const PROPVARIANT*, IUnknown*, IUnknown*,
                                       IUnknown*, BOOL, ICondition**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Resolve(ICondition* condition, STRUCTURED_QUERY_RESOLVE_OPTION options,
                                      const SYSTEMTIME* referenceTime, ICondition** result) override {
        resolvedFrom = condition;
        resolveOptions = options;
        resolvedAtSomeTime = referenceTime && referenceTime->wYear >= 2000;
        *result = &resolved;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetQuery(ICondition** query, QueryMainType** mainType) override {
        *query = &parsed;
        if (mainType) *mainType = nullptr;
        return S_OK;
    }

    FakeCondition parsed;
    FakeCondition resolved;
    ICondition* resolvedFrom = nullptr;
    int resolveOptions = -1;
    bool resolvedAtSomeTime = false;
};

struct FakeParser : Fake<IQueryParser> {
    HRESULT STDMETHODCALLTYPE Parse(LPCWSTR input, IEnumUnknown*, IQuerySolution** result) override {
        parsedText = input;
        *result = &solution;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetOption(int, const PROPVARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOption(int, PROPVARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMultiOption(STRUCTURED_QUERY_MULTIOPTION option, LPCWSTR key,
                                             const PROPVARIANT* value) override {
        if (option == SQMO_DEFAULT_PROPERTY && value && value->vt == VT_LPWSTR) {
            defaultPropertyKey = key;
            defaultProperty = value->pwszVal;
        }
        return S_OK;
    }

    FakeSolution solution;
    std::wstring parsedText;
    std::wstring defaultPropertyKey;
    std::wstring defaultProperty;
};

struct FakeManager : Fake<IQueryParserManager> {
    HRESULT STDMETHODCALLTYPE CreateLoadedParser(LPCWSTR catalogName, LANGID languageId, REFIID,
                                                 void** result) override {
        ++parsersMade;
        catalog = catalogName;
        language = languageId;
        *result = static_cast<IQueryParser*>(&parser);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InitializeOptions(BOOL naturalSyntax, BOOL wildcard, IQueryParser* target) override {
        understandsNaturalSyntax = naturalSyntax != FALSE;
        autoWildcard = wildcard != FALSE;
        initialised = target;
        return S_OK;
    }

    FakeParser parser;
    int parsersMade = 0;
    std::wstring catalog;
    LANGID language = 0;
    bool understandsNaturalSyntax = true;
    bool autoWildcard = false;
    IQueryParser* initialised = nullptr;
};

TEST(SearchQueryParser, ParsesAsTheSystemSearchBoxDoesAndKeepsItsParser) {
    FakeManager manager;
    SearchQueryParser parser([&](ComPtr<IQueryParserManager>& made) {
        made.attach(&manager);
        return S_OK;
    });
    ComPtr<ICondition> condition;
    ASSERT_EQ(parser.Condition(L"报告 date:today", condition), SearchOutcome::Ready);

    EXPECT_EQ(manager.catalog, L"SystemIndex");
    EXPECT_EQ(manager.language, GetUserDefaultUILanguage());
    EXPECT_EQ(manager.initialised, &manager.parser);
    EXPECT_FALSE(manager.understandsNaturalSyntax);
    EXPECT_TRUE(manager.autoWildcard);
    EXPECT_EQ(manager.parser.defaultPropertyKey, L"*");
    EXPECT_EQ(manager.parser.defaultProperty, L"System.Generic.String");
    EXPECT_EQ(manager.parser.parsedText, L"报告 date:today");

    // What the search gets is the parsed query resolved for now, not the query as parsed.
    const FakeSolution& solution = manager.parser.solution;
    EXPECT_EQ(solution.resolvedFrom, &solution.parsed);
    EXPECT_EQ(solution.resolveOptions, SQRO_DONT_SPLIT_WORDS);
    EXPECT_TRUE(solution.resolvedAtSomeTime);
    EXPECT_EQ(condition.get(), &solution.resolved);

    ASSERT_EQ(parser.Condition(L"second", condition), SearchOutcome::Ready);
    EXPECT_EQ(manager.parsersMade, 1) << "a parser was made for each search";
    EXPECT_EQ(manager.parser.parsedText, L"second");
}

TEST(SearchQueryParser, WithoutTheServiceItSaysSoAndTriesAgainNextTime) {
    int asked = 0;
    SearchQueryParser parser([&](ComPtr<IQueryParserManager>&) {
        ++asked;
        return REGDB_E_CLASSNOTREG;
    });
    ComPtr<ICondition> condition;
    EXPECT_EQ(parser.Condition(L"x", condition), SearchOutcome::ServiceMissing);
    EXPECT_EQ(parser.Condition(L"x", condition), SearchOutcome::ServiceMissing);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(condition);
}

}  // namespace

#endif
