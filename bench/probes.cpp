#include "probes.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

struct ListSearch {
    DWORD processId = 0;
    HWND found = nullptr;
    bool needItems = false;
};

bool IsListView(HWND window) {
    wchar_t className[64] = {};
    return GetClassNameW(window, className, 64) && std::wstring_view(className) == L"SysListView32";
}

bool HasItems(HWND list) {
    DWORD_PTR count = 0;
    return SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 200, &count) && count > 0;
}

BOOL CALLBACK FindList(HWND child, LPARAM lParam) {
    auto* search = reinterpret_cast<ListSearch*>(lParam);
    if (IsWindowVisible(child) && IsListView(child) && (!search->needItems || HasItems(child))) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindListedTopLevel(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<ListSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    EnumChildWindows(window, FindList, lParam);
    return search->found ? FALSE : TRUE;
}

}  // namespace

HWND ListedFolderView(DWORD processId) {
    ListSearch search{processId, nullptr, true};
    EnumWindows(FindListedTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND VisibleListView(HWND topLevel) {
    ListSearch search{0, nullptr, false};
    EnumChildWindows(topLevel, FindList, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}


double CpuMs(HANDLE process) {
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    const auto ticks = [](const FILETIME& time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

double MsUntilIdle(HANDLE process, double startMs, double quietForMs, double quietCpuMs, double timeoutMs) {
    struct Sample {
        double at;
        double cpu;
    };
    std::vector<Sample> samples;
    size_t candidate = 0;
    while (NowMs() - startMs < timeoutMs) {
        const double cpu = CpuMs(process);
        if (cpu < 0) return -1;
        samples.push_back(Sample{NowMs(), cpu});
        // Every candidate whose quiet stretch is over is judged: the first that
        // stayed quiet is when the process went idle.
        while (candidate < samples.size() && samples.back().at - samples[candidate].at >= quietForMs) {
            const Sample& from = samples[candidate];
            const auto end = std::find_if(samples.begin() + static_cast<std::ptrdiff_t>(candidate), samples.end(),
                                          [&](const Sample& later) { return later.at - from.at >= quietForMs; });
            if (end->cpu - from.cpu < quietCpuMs) return from.at - startMs;
            ++candidate;
        }
        Sleep(10);
    }
    return -1;
}
