#include "common/temp_folder.h"

#include <string>

TempFolder::TempFolder(const std::filesystem::path& base) {
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        std::filesystem::path candidate =
            base / (L"quorlen-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(attempt));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = std::move(candidate);
            return;
        }
        if (error) return;  // the temporary folder itself is unusable; Path() stays empty
    }
}

TempFolder::~TempFolder() {
    if (path_.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(pollMs);
    }
}
