#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "ui/handles.h"

// A copy of the built Quorlen.exe in a fresh folder of its own, so that each test
// starts with an empty configuration beside it.
class QuorlenInstall {
public:
    QuorlenInstall() : QuorlenInstall(std::filesystem::temp_directory_path()) {}
    // Installed in a fresh folder below base instead of the temporary folder.
    explicit QuorlenInstall(const std::filesystem::path& base);

    [[nodiscard]] bool Ready() const { return ready_; }
    [[nodiscard]] const std::filesystem::path& Folder() const { return folder_.Path(); }
    [[nodiscard]] std::filesystem::path ExePath() const { return Folder() / L"Quorlen.exe"; }
    [[nodiscard]] std::filesystem::path ConfigFile(const std::wstring& name) const {
        return Folder() / L"config" / name;
    }

private:
    TempFolder folder_;
    bool ready_ = false;
};

// One started Quorlen process. Whatever happens in the test, the process does not
// outlive this object.
class QuorlenProcess {
public:
    QuorlenProcess() = default;
    ~QuorlenProcess();
    QuorlenProcess(const QuorlenProcess&) = delete;
    QuorlenProcess& operator=(const QuorlenProcess&) = delete;

    // Starts the installed exe with the given command-line arguments.
    [[nodiscard]] bool Start(const QuorlenInstall& install, const std::wstring& arguments = L"");
    // Starts any command line the same way, windowless, for the programs a test
    // runs beside Quorlen; whatever it starts in turn ends with this object too.
    [[nodiscard]] bool StartCommandLine(std::wstring commandLine, const std::wstring& folder = L"",
                                        DWORD creationFlags = CREATE_NO_WINDOW);

    // The visible main windows of this process, in no particular order.
    [[nodiscard]] std::vector<HWND> MainWindows() const;
    // Waits for the first visible main window; null when none came in time.
    [[nodiscard]] HWND WaitForMainWindow(DWORD timeoutMs = 30000) const;

    // Waits for the process to end; true with its exit code when it did.
    [[nodiscard]] bool WaitForExit(DWORD timeoutMs, DWORD& exitCode) const;
    [[nodiscard]] bool Running() const;
    [[nodiscard]] DWORD Id() const { return id_; }

    // Ends the process at once, if it still runs.
    void Kill();

private:
    UniqueKernelHandle job_;
    UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// Config files as the program keeps them: UTF-16LE with a byte-order mark, CR LF
// after every line. Written and read here independently of the program's code.
bool WriteConfigLines(const QuorlenInstall& install, const std::wstring& name, const std::vector<std::wstring>& lines);
[[nodiscard]] std::vector<std::wstring> ReadConfigLines(const QuorlenInstall& install, const std::wstring& name);

// The visible main windows of one process, or of every process for 0.
[[nodiscard]] std::vector<HWND> VisibleMainWindows(DWORD processId);

// Sends a message and waits at most timeoutMs for the answer; false on time-out.
[[nodiscard]] bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                   UINT timeoutMs = 5000);

#include <gtest/gtest.h>

// A test that starts with one Quorlen process showing its main window.
class StartedQuorlenTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(install.Ready()) << "could not copy Quorlen.exe into a temporary folder";
        PrepareConfig();
        ASSERT_TRUE(quorlen.Start(install, StartArguments()));
        window = quorlen.WaitForMainWindow();
        ASSERT_NE(window, nullptr) << "no main window appeared";
    }

    virtual std::wstring StartArguments() const { return L""; }
    // Runs before the start, to put config files in place.
    virtual void PrepareConfig() {}

    QuorlenInstall install;
    QuorlenProcess quorlen;
    HWND window = nullptr;
};
