#pragma once

#include <string>

// Hands a failure's message to a caller that asked for one.
inline void SetErrorText(std::wstring* error, const wchar_t* text) {
    if (error) *error = text;
}
