#include "driver/quorlen_driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <utility>

#include "common/private_prefix.h"

namespace {

constexpr wchar_t kMainWindowClass[] = L"Quorlen.MainWindow";

std::filesystem::path TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

struct WindowSearch {
    DWORD processId;  // 0: any process
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMainWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    if ((search->processId == 0 || owner == search->processId) && IsWindowVisible(window) &&
        GetClassNameW(window, className, 64) && std::wstring(className) == kMainWindowClass) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

QuorlenInstall::QuorlenInstall(const std::filesystem::path& base) : folder_(base) {
    if (Folder().empty()) return;
    std::error_code error;
    ready_ = std::filesystem::copy_file(TestProgramFolder() / L"Quorlen.exe", ExePath(), error);
}

QuorlenProcess::~QuorlenProcess() { Kill(); }

bool QuorlenProcess::Start(const QuorlenInstall& install, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + install.ExePath().wstring() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    return StartCommandLine(std::move(commandLine), install.Folder().wstring(), 0);
}

bool QuorlenProcess::StartCommandLine(std::wstring commandLine, const std::wstring& folder, DWORD creationFlags) {
    // The job ends the process even when the test program itself dies.
    job_.reset(CreateJobObjectW(nullptr, nullptr));
    if (job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Wine now and then fails a start with ERROR_INTERNAL_ERROR while it sets
    // the new process up; the same start made again goes through.
    constexpr int kStartTries = 3;
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kStartTries; ++attempt) {
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED | creationFlags,
                           nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
            error = ERROR_SUCCESS;
            break;
        }
        error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR) break;
    }
    if (error != ERROR_SUCCESS) {
        ADD_FAILURE() << "could not start " << NarrowForTest(commandLine) << ": error " << error;
        return false;
    }
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
    if (job_) AssignProcessToJobObject(job_.get(), info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    return true;
}

std::vector<HWND> VisibleMainWindows(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> QuorlenProcess::MainWindows() const {
    return id_ != 0 ? VisibleMainWindows(id_) : std::vector<HWND>{};
}

HWND QuorlenProcess::WaitForMainWindow(DWORD timeoutMs) const {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            const std::vector<HWND> windows = MainWindows();
            if (!windows.empty()) window = windows.front();
            return window != nullptr || !Running();
        },
        timeoutMs);
    return window;
}

bool QuorlenProcess::WaitForExit(DWORD timeoutMs, DWORD& exitCode) const {
    if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_.get(), &exitCode) != FALSE;
}

bool QuorlenProcess::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void QuorlenProcess::Kill() {
    if (Running()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
    process_.reset();
    job_.reset();
}

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, UINT timeoutMs) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer)) return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

bool WriteConfigLines(const QuorlenInstall& install, const std::wstring& name, const std::vector<std::wstring>& lines) {
    std::error_code error;
    std::filesystem::create_directories(install.ConfigFile(name).parent_path(), error);
    std::wstring text(1, wchar_t{0xFEFF});
    for (const std::wstring& line : lines) text += line + L"\r\n";
    std::ofstream out(install.ConfigFile(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
    return out.good();
}

std::vector<std::wstring> ReadConfigLines(const QuorlenInstall& install, const std::wstring& name) {
    std::ifstream in(install.ConfigFile(name), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::wstring text(bytes.size() / 2, L'\0');
    memcpy(text.data(), bytes.data(), text.size() * 2);
    if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}
