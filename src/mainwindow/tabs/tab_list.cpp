#include "mainwindow/tabs/tab_list.h"

#include <shlwapi.h>

#include "ui/paths.h"

ActiveAfterRemoval ActiveTabAfterRemoval(int removed, int active, int remaining) {
    if (removed == active) {
        const int neighbour = removed < remaining ? removed : remaining - 1;
        return ActiveAfterRemoval{neighbour, true};
    }
    return ActiveAfterRemoval{removed < active ? active - 1 : active, false};
}

int MoveTarget(int index, int slot) { return index < slot ? slot - 1 : slot; }

int ActiveTabAfterMove(int from, int to, int active) {
    if (from == active) return to;
    if (from < active && to >= active) return active - 1;
    if (from > active && to <= active) return active + 1;
    return active;
}

int SteppedTab(int active, int step, int count) {
    int next = active + step;
    if (next < 0) next = count - 1;
    if (next >= count) next = 0;
    return next;
}

std::wstring FolderToShowForSelection(const std::wstring& path) {
    if (PathGetDriveNumberW(path.c_str()) < 0) return path;
    const size_t lastSlash = path.rfind(L'\\');
    if (lastSlash == std::wstring::npos || lastSlash == 0) return path;
    return path.substr(0, lastSlash);
}

std::wstring SearchCueName(const std::wstring& path, const std::wstring& displayName) {
    if (path.starts_with(L"::") && !displayName.empty()) return displayName;
    return LastPathComponent(path);
}
