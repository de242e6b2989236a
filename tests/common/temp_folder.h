#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

// A fresh, uniquely named folder under the temporary folder, removed with all
// its contents when the owner goes away.
class TempFolder {
public:
    TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}
    // The same below another folder.
    explicit TempFolder(const std::filesystem::path& base);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Polls the condition until it holds or the time runs out; returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 25);
