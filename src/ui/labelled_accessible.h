#pragma once

#include <windows.h>

#include <optional>

// Answers WM_GETOBJECT for a standard control's client area with the system's
// own object for it, named label: for an edit box, whose window text is what
// was typed and so names nothing. Nullopt for every other object, and when the
// system's object cannot be had; the default handling answers then.
[[nodiscard]] std::optional<LRESULT> AnswerLabelledGetObject(HWND window, const wchar_t* label, WPARAM wParam,
                                                             LPARAM lParam);
