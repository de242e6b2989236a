#pragma once

// The system's query parser (Windows Search), as the SDK declares it, or as
// declared here for SDKs that leave it out (MinGW-w64): only the methods the
// program calls are spelled out, each in its slot of the table.

#include <windows.h>
#include <propidl.h>
#include <structuredquerycondition.h>

#if __has_include(<structuredquery.h>)
#include <structuredquery.h>
using QueryMainType = IEntity;
#else
#define QUORLEN_OWN_QUERY_PARSER_DECLARATIONS 1

enum STRUCTURED_QUERY_MULTIOPTION {
    SQMO_VIRTUAL_PROPERTY = 0,
    SQMO_DEFAULT_PROPERTY = 1,
    SQMO_GENERATOR_FOR_TYPE = 2,
    SQMO_MAP_PROPERTY = 3,
};

enum STRUCTURED_QUERY_RESOLVE_OPTION {
    SQRO_DEFAULT = 0,
    SQRO_DONT_SPLIT_WORDS = 0x40,
};

using QueryMainType = IUnknown;

struct IQuerySolution : IUnknown {
    // IConditionFactory
    virtual HRESULT STDMETHODCALLTYPE MakeNot(ICondition*, BOOL, ICondition**) = 0;
    virtual HRESULT STDMETHODCALLTYPE MakeAndOr(CONDITION_TYPE, IEnumUnknown*, BOOL, ICondition**) = 0;
    virtual HRESULT STDMETHODCALLTYPE MakeLeaf(LPCWSTR, CONDITION_OPERATION, LPCWSTR, const PROPVARIANT*, IUnknown*,
                                               IUnknown*, IUnknown*, BOOL, ICondition**) = 0;
    virtual HRESULT STDMETHODCALLTYPE Resolve(ICondition* condition, STRUCTURED_QUERY_RESOLVE_OPTION options,
                                              const SYSTEMTIME* referenceTime, ICondition** resolved) = 0;
    // IQuerySolution
    virtual HRESULT STDMETHODCALLTYPE GetQuery(ICondition** query, QueryMainType** mainType) = 0;
};

struct IQueryParser : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Parse(LPCWSTR input, IEnumUnknown* customProperties,
                                            IQuerySolution** solution) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOption(int option, const PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOption(int option, PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMultiOption(STRUCTURED_QUERY_MULTIOPTION option, LPCWSTR key,
                                                     const PROPVARIANT* value) = 0;
};

struct IQueryParserManager : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateLoadedParser(LPCWSTR catalog, LANGID language, REFIID riid,
                                                         void** parser) = 0;
    virtual HRESULT STDMETHODCALLTYPE InitializeOptions(BOOL understandNaturalQuerySyntax, BOOL autoWildcard,
                                                        IQueryParser* parser) = 0;
};
#endif
