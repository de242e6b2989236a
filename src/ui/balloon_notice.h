#pragma once

#include <windows.h>

#include <string>

// A balloon that tells the user something without taking the focus or waiting
// for an answer. It points at a spot of its owner window until hidden or until
// the owner is destroyed, which destroys it too.
class BalloonNotice {
public:
    BalloonNotice() = default;
    ~BalloonNotice();
    BalloonNotice(const BalloonNotice&) = delete;
    BalloonNotice& operator=(const BalloonNotice&) = delete;

    // Shows the notice with a warning icon, its stem at the screen point; false
    // when the balloon could not be made.
    bool Show(HWND owner, POINT screen, const std::wstring& title, const std::wstring& text, int maxWidth);
    void Hide();

private:
    HWND balloon = nullptr;
    std::wstring shownText;
};
