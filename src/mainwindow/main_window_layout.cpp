#include "mainwindow/main_window.h"

namespace {

constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;

void Place(HWND window, const RECT& bounds) {
    if (window) {
        SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                     kPlaceFlags);
    }
}

void Repaint(HWND window) {
    if (window) InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

MainLayout MainWindow::ComputeLayout() const {
    LayoutInput input;
    GetClientRect(hwnd, &input.client);
    input.dpi = dpi;
    input.maximized = IsZoomed(hwnd) != FALSE;
    input.favBarVisible = settings.Values().FavBarVisible;
    input.tabStripHeight = [this](int width) { return tabStrip.HeightForWidth(width); };
    input.commandBarHeight = [this](int width) { return commandBar.DesiredHeight(width); };
    input.favBarHeight = [this](int width) { return favBar.HeightForWidth(width); };
    return ::ComputeLayout(input);
}

void MainWindow::Layout() {
    if (!hwnd) return;
    const MainLayout layout = ComputeLayout();
    Place(tabStrip.Hwnd(), layout.tabStrip);
    Place(favBar.Hwnd(), layout.favBar);
    if (favBar.Hwnd()) ShowWindow(favBar.Hwnd(), settings.Values().FavBarVisible ? SW_SHOW : SW_HIDE);
    Place(commandBar.Hwnd(), layout.commandBar);
    for (int i = 0; i < tabs.Count(); ++i) {
        if (!tabs.At(i).panel) continue;
        HWND host = tabs.At(i).panel->HostWindow();
        if (i == tabs.Active()) {
            Place(host, layout.panel);
            ShowWindow(host, SW_SHOW);
        } else {
            ShowWindow(host, SW_HIDE);
        }
    }
    // Painting is left to the message loop: after a burst of changes (a tab
    // added, opened and activated) the window paints once, with its final
    // content, and a start lists its folder before anything is drawn.
    for (HWND window : {tabStrip.Hwnd(), favBar.Hwnd(), commandBar.Hwnd(), hwnd}) Repaint(window);
}
