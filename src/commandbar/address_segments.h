#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The address bar's path segments and their rows, as functions of plain values.

// One clickable level of a path: the text shown and the full path it opens.
struct AddressSegment {
    std::wstring text;
    std::wstring target;
};

// The name a shell namespace path ("::{...}") is shown with; empty when unknown.
using DisplayNameLookup = std::function<std::wstring(const std::wstring& parsingName)>;

// Splits a path into one segment per level: a drive ("C:") or a UNC share
// ("\\server\share") and then every folder below it. A namespace path, and any
// text that is neither drive nor UNC, is a single segment.
[[nodiscard]] std::vector<AddressSegment> SplitAddress(const std::wstring& path, const DisplayNameLookup& displayName);

// Places segments of the measured text widths (px) in rows inside the address
// area. A segment that does not fit behind others starts a new row; one wider
// than a whole row gets a row of its own, cut to it. Nothing is placed in an
// empty area.
[[nodiscard]] std::vector<RECT> LayOutSegments(const RECT& addressRect, const std::vector<int>& textWidths, int dpi);

// The bar's height for a width in px, estimated before any layout: one row of
// controls without segments, else as many rows as the segments wrap into.
[[nodiscard]] int CommandBarHeight(int width, int dpi, bool searchBoxVisible, const std::vector<int>& textWidths);
