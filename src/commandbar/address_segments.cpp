#include "commandbar/address_segments.h"

#include <algorithm>

#include "commandbar/command_bar_layout.h"
#include "ui/dpi.h"

namespace {

constexpr wchar_t kSeparator = L'\\';

constexpr int kTextPaddingDips = 2;
constexpr int kSegmentGapDips = 10;
constexpr int kAreaInsetDips = 4;
constexpr int kAreaRightReserveDips = 6;
constexpr int kMinRowDips = 4;
// Where the address area starts when nothing is clamped, estimated generously:
// margins of 8 and 4, six buttons of 28 with gaps of 2, and 4 more.
constexpr int kEstimatedStartMarginDips = 8;
constexpr int kEstimatedButtonDips = 28;
constexpr int kEstimatedButtonGapDips = 2;

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool StartsWithDrive(const std::wstring& path) { return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':'; }

bool IsUnc(const std::wstring& path) { return path.size() >= 2 && path[0] == kSeparator && path[1] == kSeparator; }

std::vector<AddressSegment> WholeText(const std::wstring& path) { return {AddressSegment{path, path}}; }

// Adds a segment for every non-empty piece between backslashes after the root.
void AppendFolders(std::vector<AddressSegment>& segments, const std::wstring& path, size_t from) {
    while (from < path.size()) {
        size_t end = path.find(kSeparator, from);
        if (end == std::wstring::npos) end = path.size();
        if (end > from) {
            std::wstring piece = path.substr(from, end - from);
            std::wstring target = segments.back().target;
            if (target.back() != kSeparator) target += kSeparator;
            target += piece;
            segments.push_back(AddressSegment{std::move(piece), std::move(target)});
        }
        from = end + 1;
    }
}

// Rectangles from the area's origin; every row is rowHeight high.
std::vector<RECT> WrapSegments(const std::vector<int>& textWidths, int usableWidth, int dpi) {
    const int rowHeight = ScaleDip(kControlHeightDips, dpi);
    const int padding = ScaleDip(kTextPaddingDips, dpi);
    const int gap = ScaleDip(kSegmentGapDips, dpi);
    std::vector<RECT> rects;
    rects.reserve(textWidths.size());
    int x = 0;
    int top = 0;
    for (const int textWidth : textWidths) {
        const int width = textWidth + padding;
        if (x > 0 && usableWidth < x + width) {
            x = 0;
            top += rowHeight;
        }
        const int right = x + std::min(usableWidth - x, width);
        rects.push_back(RECT{x, top, right, top + rowHeight});
        x = right + gap;
    }
    return rects;
}

}  // namespace

std::vector<AddressSegment> SplitAddress(const std::wstring& path, const DisplayNameLookup& displayName) {
    if (path.empty()) return {};
    if (path.starts_with(L"::")) {
        std::wstring name = displayName ? displayName(path) : std::wstring();
        if (name.empty()) name = path;
        return {AddressSegment{std::move(name), path}};
    }
    if (StartsWithDrive(path)) {
        std::vector<AddressSegment> segments{AddressSegment{path.substr(0, 2), path.substr(0, 2) + kSeparator}};
        AppendFolders(segments, path, 2);
        return segments;
    }
    if (IsUnc(path)) {
        const size_t afterServer = path.find(kSeparator, 2);
        if (afterServer == std::wstring::npos) return WholeText(path);
        const size_t afterShare = path.find(kSeparator, afterServer + 1);
        if (afterShare == std::wstring::npos) return WholeText(path);
        std::wstring root = path.substr(0, afterShare);
        std::vector<AddressSegment> segments{AddressSegment{root, root + kSeparator}};
        AppendFolders(segments, path, afterShare + 1);
        return segments;
    }
    return WholeText(path);
}

std::vector<RECT> LayOutSegments(const RECT& addressRect, const std::vector<int>& textWidths, int dpi) {
    if (textWidths.empty() || IsRectEmpty(&addressRect)) return {};
    const int areaWidth = static_cast<int>(addressRect.right - addressRect.left);
    const int usable = std::max(areaWidth - ScaleDip(kAreaRightReserveDips, dpi), ScaleDip(kMinRowDips, dpi));
    std::vector<RECT> rects = WrapSegments(textWidths, usable, dpi);
    const int left = addressRect.left + ScaleDip(kAreaInsetDips, dpi);
    for (RECT& rect : rects) OffsetRect(&rect, left, addressRect.top);
    return rects;
}

int CommandBarHeight(int width, int dpi, bool searchBoxVisible, const std::vector<int>& textWidths) {
    const auto dip = [dpi](int value) { return ScaleDip(value, dpi); };
    const int margins = dip(2 * kBarMarginDips);
    if (textWidths.empty()) return dip(kControlHeightDips) + margins;

    int available = width - dip(kBarMarginDips);
    if (searchBoxVisible) available -= width / kSearchBoxWidthDivisor + dip(kSearchGapDips);
    int start = dip(kEstimatedStartMarginDips) + dip(kBarMarginDips) +
                kCommandButtonCount * dip(kEstimatedButtonDips) +
                kCommandButtonCount * dip(kEstimatedButtonGapDips) + dip(kBarMarginDips);
    if (available < start + dip(kMinAddressDips)) start = available - dip(kMinAddressDips);
    start = std::max(start, dip(kBarMarginDips));
    const int usable = std::max(available - start - dip(kAreaRightReserveDips), dip(kMinRowDips));

    const std::vector<RECT> rects = WrapSegments(textWidths, usable, dpi);
    const int rows = static_cast<int>(rects.back().bottom / dip(kControlHeightDips));
    return margins + rows * dip(kControlHeightDips);
}
