#include "app/crash_handler.h"

#include <windows.h>
#include <dbghelp.h>

#include <algorithm>
#include <array>
#include <new>
#include <string>

#include "app/crash_report.h"
#include "ui/handles.h"
#include "ui/version.h"

namespace {

// A dump of a large process takes a few seconds; a writer stuck on a lock the
// crashed thread held must not keep the process from ending.
constexpr DWORD kReportWriteBoundMs = 60000;
// Enough for dbghelp; reserved, not committed.
constexpr SIZE_T kWriterStackBytes = SIZE_T{512} * 1024;
constexpr size_t kLongestFileName = std::tuple_size_v<ReportStem> + 4;

// Everything the report needs that can be found out before a crash is found
// out at start, so that the crashed process does as little as it can.
struct CrashState {
    std::wstring folder;
    // Room reserved for the folder and a report's file name: filled at the crash without allocating.
    std::wstring dumpPath;
    std::wstring textPath;
    OSVERSIONINFOW windows{};
    // Signalled by the faulting thread, and by the writer once both files are written.
    UniqueKernelHandle requested;
    UniqueKernelHandle written;
    UniqueKernelHandle writer;
    DWORD writerThreadId = 0;
    EXCEPTION_POINTERS* exception = nullptr;
    DWORD faultingThreadId = 0;
    volatile LONG reporting = 0;
};

// Made once and never freed: the writer thread waits on its handles until the process ends.
CrashState* crash = nullptr;

using MiniDumpWriteDumpFunction = decltype(&MiniDumpWriteDump);

// Writes through a buffer of its own, as the heap may be what broke.
class FileSink final : public ReportSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    ~FileSink() { Flush(); }
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    void Append(std::wstring_view text) override {
        while (!text.empty()) {
            if (used_ == buffer_.size()) Flush();
            const size_t taken = std::min(text.size(), buffer_.size() - used_);
            std::copy_n(text.data(), taken, buffer_.data() + used_);
            used_ += taken;
            text.remove_prefix(taken);
        }
    }

private:
    void Flush() {
        DWORD written = 0;
        if (used_ > 0) WriteFile(file_, buffer_.data(), static_cast<DWORD>(used_ * sizeof(wchar_t)), &written, nullptr);
        used_ = 0;
    }

    HANDLE file_;
    std::array<wchar_t, 2048> buffer_{};
    size_t used_ = 0;
};

UniqueKernelHandle CreateReportFile(const std::wstring& path) {
    return UniqueKernelHandle(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void WriteDump(const CrashState& state) {
    // Loaded only now: no start pays for a library that only a crash needs.
    const HMODULE dbghelp = LoadLibraryExW(L"dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!dbghelp) return;
    const auto writeDump = reinterpret_cast<MiniDumpWriteDumpFunction>(
        reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")));
    const UniqueKernelHandle file = CreateReportFile(state.dumpPath);
    if (!writeDump || !file) return;
    MINIDUMP_EXCEPTION_INFORMATION exception{state.faultingThreadId, state.exception, FALSE};
    // The normal dump holds every thread's stack, the faulting one's included.
    writeDump(GetCurrentProcess(), GetCurrentProcessId(), file.get(), MiniDumpNormal, &exception, nullptr, nullptr);
}

void WriteText(const CrashState& state, const SYSTEMTIME& time) {
    const EXCEPTION_RECORD& record = *state.exception->ExceptionRecord;
    CrashFacts facts;
    facts.version = QUORLEN_VERSION_WIDE;
    facts.windowsMajor = state.windows.dwMajorVersion;
    facts.windowsMinor = state.windows.dwMinorVersion;
    facts.windowsBuild = state.windows.dwBuildNumber;
    facts.time = time;
    facts.exceptionCode = record.ExceptionCode;
    facts.address = reinterpret_cast<uintptr_t>(record.ExceptionAddress);
    facts.threadId = state.faultingThreadId;
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        facts.accessKnown = true;
        facts.accessKind = record.ExceptionInformation[0];
        facts.accessAddress = record.ExceptionInformation[1];
    }
    HMODULE module = nullptr;
    std::array<wchar_t, MAX_PATH> modulePath{};
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(record.ExceptionAddress), &module) &&
        GetModuleFileNameW(module, modulePath.data(), static_cast<DWORD>(modulePath.size())) > 0) {
        const std::wstring_view path(modulePath.data());
        facts.module = path.substr(path.find_last_of(L'\\') + 1);
        facts.moduleOffset = facts.address - reinterpret_cast<uintptr_t>(module);
    }

    const UniqueKernelHandle file = CreateReportFile(state.textPath);
    if (!file) return;
    FileSink sink(file.get());
    // A byte-order mark, as the config files have.
    sink.Append(L"\xFEFF");
    ComposeCrashReport(facts, ProgramEvents(), sink);
}

void DeleteOldReports(const std::wstring& folder) {
    for (const std::wstring& name : ReportFilesToDelete(ReportFileNames(folder), kKeptCrashReports)) {
        DeleteFileW((folder + name).c_str());
    }
}

// The dump first: it is worth most, and it is made before the text's small
// allocations could meet a damaged heap.
void WriteReport(CrashState& state) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const ReportStem stem = ReportStemAt(now);
    CreateDirectoryW(state.folder.c_str(), nullptr);
    state.dumpPath.assign(state.folder).append(stem.data()).append(L".dmp");
    state.textPath.assign(state.folder).append(stem.data()).append(L".txt");
    WriteDump(state);
    WriteText(state, now);
    DeleteOldReports(state.folder);
}

DWORD WINAPI WriteReportWhenAsked(void*) {
    WaitForSingleObject(crash->requested.get(), INFINITE);
    WriteReport(*crash);
    SetEvent(crash->written.get());
    return 0;
}

// The report is written on a thread made for it at start: the faulting thread
// may have no stack left, and making a thread now would take the loader lock
// the fault may have struck under.
LONG WINAPI ReportUnhandledException(EXCEPTION_POINTERS* exception) {
    // A fault while writing ends the process with what was written so far.
    if (GetCurrentThreadId() == crash->writerThreadId) return EXCEPTION_EXECUTE_HANDLER;
    // A second thread's fault waits for the first one's report.
    if (InterlockedExchange(&crash->reporting, 1) != 0) {
        WaitForSingleObject(crash->written.get(), kReportWriteBoundMs);
        return EXCEPTION_EXECUTE_HANDLER;
    }
    crash->exception = exception;
    crash->faultingThreadId = GetCurrentThreadId();
    if (crash->writer) {
        SetEvent(crash->requested.get());
        WaitForSingleObject(crash->written.get(), kReportWriteBoundMs);
    } else {
        WriteReport(*crash);
        SetEvent(crash->written.get());
    }
    // Ends the process quietly, with the exception's code as its exit code:
    // the report is written, and nothing leaves the machine.
    return EXCEPTION_EXECUTE_HANDLER;
}

OSVERSIONINFOW WindowsVersion() {
    // GetVersionEx answers as the manifest allows; ntdll tells the truth.
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto getVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (getVersion) getVersion(&version);
    return version;
}

}  // namespace

void InstallCrashReporting() {
    if (crash) return;
    crash = new (std::nothrow) CrashState;
    if (!crash) return;
    crash->folder = CrashFolder();
    crash->dumpPath.reserve(crash->folder.size() + kLongestFileName);
    crash->textPath.reserve(crash->folder.size() + kLongestFileName);
    crash->windows = WindowsVersion();
    crash->requested.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    crash->written.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (crash->requested && crash->written) {
        crash->writer.reset(CreateThread(nullptr, kWriterStackBytes, WriteReportWhenAsked, nullptr,
                                         STACK_SIZE_PARAM_IS_A_RESERVATION, &crash->writerThreadId));
    }
    SetUnhandledExceptionFilter(ReportUnhandledException);
}
