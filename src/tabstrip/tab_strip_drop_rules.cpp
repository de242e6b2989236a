#include "tabstrip/tab_strip_drop_rules.h"

#include <oleidl.h>

#include "tabstrip/tab_strip_buttons.h"

DropPlace DropPlaceForHit(int hitCode) {
    if (hitCode >= 0) return DropPlace::Tab;
    if (hitCode == kHitPlus || hitCode == kHitNothing) return DropPlace::NewTabs;
    return DropPlace::Nowhere;
}

bool OpensAsTab(SFGAOF attributes) { return (attributes & SFGAO_FOLDER) && !(attributes & SFGAO_STREAM); }

DWORD OpenAsTabsEffect(bool holdsFolder, DWORD allowedEffects) {
    if (!holdsFolder) return DROPEFFECT_NONE;
    if (allowedEffects & DROPEFFECT_LINK) return DROPEFFECT_LINK;
    if (allowedEffects & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    return DROPEFFECT_NONE;
}
