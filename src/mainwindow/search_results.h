#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <functional>
#include <string>

#include "mainwindow/folder_search.h"
#include "mainwindow/structured_query.h"
#include "ui/handles.h"

// The system's parser for what is typed in the search box, made on the first
// search and kept: making one loads the search schema, which takes a while.
class SearchQueryParser {
public:
    using ManagerSource = std::function<HRESULT(ComPtr<IQueryParserManager>&)>;

    // Parses with the system's own query parser.
    SearchQueryParser();
    explicit SearchQueryParser(ManagerSource managerSource) : managerSource(std::move(managerSource)) {}

    // The query as the shell's own search box reads it: plain words match any
    // text, and relative dates and keywords resolved for the present moment.
    SearchOutcome Condition(const std::wstring& query, ComPtr<ICondition>& condition);

private:
    ManagerSource managerSource;
    ComPtr<IQueryParser> parser;
};

// Asks the system's search service for a folder of everything below scope that
// matches query.
SearchOutcome MakeSearchResults(const std::wstring& scope, const std::wstring& query, SearchQueryParser& parser,
                                ComPtr<IShellItem>& results);
