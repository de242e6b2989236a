#include "dialogs/settings_form.h"

#include "settings/load_settings.h"
#include "settings/settings_file.h"
#include "ui/dpi.h"
#include "ui/text.h"

RECT ScaledControlRect(const ControlRow& row, int dpi) {
    const int left = ScaleDip(row.x, dpi);
    const int top = ScaleDip(row.y, dpi);
    return RECT{left, top, left + ScaleDip(row.width, dpi), top + ScaleDip(row.height, dpi)};
}

int32_t HistoryLimitFromText(std::wstring_view text) {
    if (TrimBlanks(text).empty()) return kDefaultHistoryLimit;
    return ClampHistoryLimit(ParseDecimal(text));
}
