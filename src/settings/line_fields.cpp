#include "settings/line_fields.h"

std::optional<int> SmallNumber(std::wstring_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (const wchar_t digit : text) {
        if (digit < L'0' || digit > L'9') return std::nullopt;
        value = value * 10 + (digit - L'0');
    }
    return value;
}

bool TakeFields(std::wstring_view& line, std::span<std::wstring_view> fields, wchar_t mark) {
    for (std::wstring_view& field : fields) {
        const size_t end = line.find(mark);
        if (end == std::wstring_view::npos) return false;
        field = line.substr(0, end);
        line.remove_prefix(end + 1);
    }
    return true;
}
