#include "app/crash_report.h"

#include <algorithm>
#include <cwchar>
#include <functional>
#include <iterator>

#include "settings/config_dir.h"
#include "ui/handles.h"

namespace {

constexpr std::wstring_view kStemPrefix = L"crash-";
constexpr size_t kStemLength = std::tuple_size_v<ReportStem> - 1;

// Formats into a buffer on the stack: at a crash the heap may be what broke.
template <size_t Size, typename... Values>
std::wstring_view Format(std::array<wchar_t, Size>& buffer, const wchar_t* format, Values... values) {
    const int length = swprintf(buffer.data(), Size, format, values...);
    return std::wstring_view(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

const wchar_t* AccessKindName(uintptr_t kind) {
    switch (kind) {
    case 0: return L"read";
    case 1: return L"write";
    case 8: return L"execute";
    default: return L"access";
    }
}

// The stem of a report file's name, or empty: "crash-", 8 digits, "-", 6 digits, ".dmp" or ".txt".
std::wstring_view StemOf(std::wstring_view name) {
    if (name.size() != kStemLength + 4) return {};
    const std::wstring_view stem = name.substr(0, kStemLength);
    const std::wstring_view extension = name.substr(kStemLength);
    if (!stem.starts_with(kStemPrefix) || (extension != L".dmp" && extension != L".txt")) return {};
    for (size_t i = kStemPrefix.size(); i < kStemLength; ++i) {
        const bool dash = i == kStemPrefix.size() + 8;
        if (dash ? stem[i] != L'-' : (stem[i] < L'0' || stem[i] > L'9')) return {};
    }
    return stem;
}

// The distinct report stems among the names, newest first.
std::vector<std::wstring_view> StemsNewestFirst(const std::vector<std::wstring>& names) {
    std::vector<std::wstring_view> stems;
    for (const std::wstring& name : names) {
        if (const std::wstring_view stem = StemOf(name); !stem.empty()) stems.push_back(stem);
    }
    std::sort(stems.begin(), stems.end(), std::greater<>());
    stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
    return stems;
}

}  // namespace

const wchar_t* ExceptionName(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION: return L"EXCEPTION_ACCESS_VIOLATION";
    case EXCEPTION_STACK_OVERFLOW: return L"EXCEPTION_STACK_OVERFLOW";
    case EXCEPTION_ILLEGAL_INSTRUCTION: return L"EXCEPTION_ILLEGAL_INSTRUCTION";
    case EXCEPTION_PRIV_INSTRUCTION: return L"EXCEPTION_PRIV_INSTRUCTION";
    case EXCEPTION_INT_DIVIDE_BY_ZERO: return L"EXCEPTION_INT_DIVIDE_BY_ZERO";
    case EXCEPTION_IN_PAGE_ERROR: return L"EXCEPTION_IN_PAGE_ERROR";
    case EXCEPTION_DATATYPE_MISALIGNMENT: return L"EXCEPTION_DATATYPE_MISALIGNMENT";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED: return L"EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
    case EXCEPTION_BREAKPOINT: return L"EXCEPTION_BREAKPOINT";
    case EXCEPTION_NONCONTINUABLE_EXCEPTION: return L"EXCEPTION_NONCONTINUABLE_EXCEPTION";
    case 0xC0000374: return L"STATUS_HEAP_CORRUPTION";
    // C++ exceptions nothing caught, as thrown by Visual C++ and by GCC.
    case 0xE06D7363: return L"C++ exception (Visual C++)";
    case 0x20474343: return L"C++ exception (GCC)";
    default: return L"unknown exception";
    }
}

void ComposeCrashReport(const CrashFacts& facts, const EventRing& events, ReportSink& sink) {
    std::array<wchar_t, 128> line{};
    sink.Append(L"Quorlen ");
    sink.Append(facts.version);
    sink.Append(L" crash report\r\n");
    const SYSTEMTIME& time = facts.time;
    sink.Append(Format(line, L"Time: %04u-%02u-%02u %02u:%02u:%02u\r\n", time.wYear, time.wMonth, time.wDay,
                       time.wHour, time.wMinute, time.wSecond));
    sink.Append(Format(line, L"Windows: %lu.%lu.%lu\r\n", facts.windowsMajor, facts.windowsMinor,
                       facts.windowsBuild));
    sink.Append(Format(line, L"Exception: 0x%08lX ", facts.exceptionCode));
    sink.Append(ExceptionName(facts.exceptionCode));
    sink.Append(Format(line, L"\r\nAddress: 0x%016llX ", static_cast<unsigned long long>(facts.address)));
    if (facts.module.empty()) {
        sink.Append(L"(in no module)");
    } else {
        sink.Append(facts.module);
        sink.Append(Format(line, L"+0x%llX", static_cast<unsigned long long>(facts.moduleOffset)));
    }
    sink.Append(L"\r\n");
    if (facts.accessKnown) {
        sink.Append(Format(line, L"Access: %ls at 0x%016llX\r\n", AccessKindName(facts.accessKind),
                           static_cast<unsigned long long>(facts.accessAddress)));
    }
    sink.Append(Format(line, L"Thread: %lu\r\n\r\nRecent events, oldest first:\r\n", facts.threadId));
    const bool read = events.TryVisit([&sink](std::wstring_view event) {
        sink.Append(event);
        sink.Append(L"\r\n");
    });
    if (!read) sink.Append(L"(not readable: a thread was adding to them)\r\n");
}

ReportStem ReportStemAt(const SYSTEMTIME& time) {
    ReportStem stem{};
    swprintf(stem.data(), stem.size(), L"crash-%04u%02u%02u-%02u%02u%02u", time.wYear, time.wMonth, time.wDay,
             time.wHour, time.wMinute, time.wSecond);
    return stem;
}

std::vector<std::wstring> ReportFilesToDelete(const std::vector<std::wstring>& names, size_t keep) {
    const std::vector<std::wstring_view> stems = StemsNewestFirst(names);
    std::vector<std::wstring> doomed;
    if (stems.size() <= keep) return doomed;
    const std::wstring_view newestDoomed = stems[keep];
    for (const std::wstring& name : names) {
        const std::wstring_view stem = StemOf(name);
        if (!stem.empty() && stem <= newestDoomed) doomed.push_back(name);
    }
    return doomed;
}

std::wstring NewestReportStem(const std::vector<std::wstring>& names) {
    const std::vector<std::wstring_view> stems = StemsNewestFirst(names);
    return stems.empty() ? std::wstring() : std::wstring(stems.front());
}

std::wstring CrashFolder() { return ConfigDir() + L"crash\\"; }

std::vector<std::wstring> ReportFileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const UniqueFind search(FindFirstFileExW((folder + L"crash-*").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0));
    if (!search) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !StemOf(found.cFileName).empty()) {
            names.emplace_back(found.cFileName);
        }
    } while (FindNextFileW(search.get(), &found));
    return names;
}
