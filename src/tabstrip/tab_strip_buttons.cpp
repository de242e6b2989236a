#include "tabstrip/tab_strip_buttons.h"

const TabStripButton* FindTabStripButton(int hitCode) {
    for (const TabStripButton& button : kTabStripButtons) {
        if (button.hitCode == hitCode) return &button;
    }
    return nullptr;
}

bool IsCaptionButton(int hitCode) {
    const TabStripButton* button = FindTabStripButton(hitCode);
    if (!button) return false;
    switch (button->action) {
    case ButtonAction::Minimize:
    case ButtonAction::ToggleMaximized:
    case ButtonAction::CloseWindow:
        return true;
    default:
        return false;
    }
}

bool ShowsMaximizedFace(const TabStripButton& button, bool windowMaximized) {
    return windowMaximized && button.maximizedFace.glyph != 0;
}
