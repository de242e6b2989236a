#pragma once

#include <windows.h>

#include <optional>

// Names a standard control for assistive tools, for an edit box, whose window
// text is what was typed and so names nothing. The name is annotated through
// the system's accessibility property service, so that the system's own object
// keeps answering for the control (UI Automation keeps its edit proxy and the
// text pattern with it). Forget the name when the control is destroyed.
void NameStandardControl(HWND control, const wchar_t* name);
void ForgetStandardControlName(HWND control);

// For a control whose name could not be annotated (the property service is
// missing): answers WM_GETOBJECT for its client area with the system's object,
// named label. Nullopt for every other object and every annotated control, and
// when the system's object cannot be had; the default handling answers then.
[[nodiscard]] std::optional<LRESULT> AnswerLabelledGetObject(HWND window, const wchar_t* label, WPARAM wParam,
                                                             LPARAM lParam);
