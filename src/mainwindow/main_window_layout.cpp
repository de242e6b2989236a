#include "mainwindow/main_window.h"
#include "mainwindow/split_layout.h"

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

// The divider is made the first time a split is shown.
void MainWindow::ShowDivider(const RECT* bounds) {
    if (bounds && !divider.Hwnd() && divider.Create(hwnd)) {
        divider.onDrag = [this](int x) { SetDivider(DividerAt(ComputeLayout().panel, x, dpi)); };
        divider.onDragEnd = [this] { tabSaver.Ask(); };
        divider.onEven = [this] {
            SetDivider(kEvenDivider);
            tabSaver.Ask();
        };
    }
    divider.Show(bounds);
}

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
    bool splitShown = false;
    for (int i = 0; i < tabs.Count(); ++i) {
        const TabInfo& tab = tabs.At(i);
        if (!tab.panel) continue;
        HWND host = tab.panel->HostWindow();
        HWND second = tab.second ? tab.second->HostWindow() : nullptr;
        if (i != tabs.Active()) {
            ShowWindow(host, SW_HIDE);
            if (second) ShowWindow(second, SW_HIDE);
        } else if (tab.split.split) {
            // A second pane still to be made has its place kept.
            const SplitRects panes = SplitPanelArea(layout.panel, tab.split.divider, dpi);
            Place(host, panes.left);
            ShowWindow(host, SW_SHOW);
            if (second) {
                Place(second, panes.right);
                ShowWindow(second, SW_SHOW);
            }
            ShowDivider(&panes.divider);
            splitShown = true;
        } else {
            Place(host, layout.panel);
            ShowWindow(host, SW_SHOW);
        }
    }
    if (!splitShown) ShowDivider(nullptr);
    // Painting is left to the message loop: after a burst of changes (a tab
    // added, opened and activated) the window paints once, with its final
    // content, and a start lists its folder before anything is drawn.
    for (HWND window : {tabStrip.Hwnd(), favBar.Hwnd(), commandBar.Hwnd(), hwnd}) Repaint(window);
}
