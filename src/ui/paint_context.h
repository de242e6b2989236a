#pragma once

#include <windows.h>

#include <optional>

#include "ui/handles.h"

// The context of one WM_PAINT, ended however the painting returns.
class PaintContext {
public:
    explicit PaintContext(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintContext() {
        if (dc_) EndPaint(window_, &paint_);
    }
    PaintContext(const PaintContext&) = delete;
    PaintContext& operator=(const PaintContext&) = delete;

    [[nodiscard]] HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Answers WM_PAINT: runs paint on the window's paint context.
template <typename PaintFunction>
void PaintWindow(HWND window, PaintFunction paint) {
    const PaintContext context(window);
    if (context.Dc()) paint(context.Dc());
}

// The messages every custom-drawn bar answers alike: painting (also into a
// context handed over by WM_PRINTCLIENT), no erasing, since painting covers
// every pixel and erasing first would only flicker, and the whole window as
// client area. Nothing for any other message.
template <typename PaintFunction>
std::optional<LRESULT> AnswerDrawnWindowMessage(HWND window, UINT message, WPARAM wParam, PaintFunction paint) {
    switch (message) {
    case WM_PAINT: PaintWindow(window, paint); return 0;
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTCLIENT;
    default: return std::nullopt;
    }
}

// A window's client-area context from GetDC, released however the drawing returns.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    [[nodiscard]] HDC Dc() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Paints a client area into a memory bitmap and copies it to the target in one
// go, so the screen never shows a half-drawn picture. Without memory for the
// bitmap it paints straight to the target, which beats a blank window.
template <typename PaintFunction>
void PaintBuffered(HDC target, const RECT& client, PaintFunction paint) {
    if (client.right <= 0 || client.bottom <= 0) return;
    UniqueMemoryDc buffer(CreateCompatibleDC(target));
    UniqueBitmap bitmap(buffer ? CreateCompatibleBitmap(target, client.right, client.bottom) : nullptr);
    if (!bitmap) {
        paint(target);
        return;
    }
    const SelectedObject selected(buffer.get(), bitmap.get());
    paint(buffer.get());
    BitBlt(target, 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}
