#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/event_log.h"

// A crash report is two files in the crash folder of the config folder, named
// by the local time of the crash: the minidump "crash-YYYYMMDD-hhmmss.dmp" and
// the text "crash-YYYYMMDD-hhmmss.txt". The names sort as the crashes happened.

inline constexpr size_t kKeptCrashReports = 5;
// Holds the name (without extension) of the newest report a start has told the user of.
inline constexpr wchar_t kToldReportFileName[] = L"announced.txt";

// What the text says of the crash besides the program's recent events.
struct CrashFacts {
    std::wstring_view version;
    DWORD windowsMajor = 0;
    DWORD windowsMinor = 0;
    DWORD windowsBuild = 0;
    SYSTEMTIME time{};
    DWORD exceptionCode = 0;
    uintptr_t address = 0;
    // The file name of the module holding the address, and the address's offset
    // in it; empty when the address lies in no module.
    std::wstring_view module;
    uintptr_t moduleOffset = 0;
    // An access violation says what kind of access failed (0 read, 1 write,
    // 8 execute) and where.
    bool accessKnown = false;
    uintptr_t accessKind = 0;
    uintptr_t accessAddress = 0;
    DWORD threadId = 0;
};

// Takes the report's text piece by piece: a file at a crash, where the heap may
// be damaged, and a string in tests.
class ReportSink {
public:
    virtual void Append(std::wstring_view text) = 0;

protected:
    ~ReportSink() = default;
};

// The report's text, CR LF after every line, ending with the events in order.
void ComposeCrashReport(const CrashFacts& facts, const EventRing& events, ReportSink& sink);

// The system's name for an exception code, or "unknown exception".
[[nodiscard]] const wchar_t* ExceptionName(DWORD code);

// "crash-YYYYMMDD-hhmmss", null-terminated, for a crash at that local time;
// made without the heap.
using ReportStem = std::array<wchar_t, 22>;
[[nodiscard]] ReportStem ReportStemAt(const SYSTEMTIME& time);

// The files of every report but the newest keep, among the names of the crash
// folder's files. A report whose dump or text is missing still counts as one;
// files of other names are never listed.
[[nodiscard]] std::vector<std::wstring> ReportFilesToDelete(const std::vector<std::wstring>& names, size_t keep);

// The stem of the newest report among the names; empty when none is a report's.
[[nodiscard]] std::wstring NewestReportStem(const std::vector<std::wstring>& names);

// The crash folder, with its trailing backslash; not created here.
[[nodiscard]] std::wstring CrashFolder();

// The names of the report files in a folder, in no particular order.
[[nodiscard]] std::vector<std::wstring> ReportFileNames(const std::wstring& folder);
