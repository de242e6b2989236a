#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// The name and icon the shell gives a folder, for a tab that has no panel yet.
struct FolderDescription {
    std::wstring path;  // as it was given
    std::wstring name;  // empty when the shell does not know the folder
    int icon = -1;      // in the small system image list; -1 when unknown
};

// Asks the shell, on the calling thread.
[[nodiscard]] FolderDescription DescribeFolder(const std::wstring& path);

// Describes folders on a thread of its own: the shell can take long over a
// folder on a slow or missing drive, and a start need not wait for the
// folders of tabs nobody has looked at yet. Going away does not wait for the
// thread, which stops after the folder it is on.
class FolderDescriber {
public:
    FolderDescriber() = default;
    ~FolderDescriber();
    FolderDescriber(const FolderDescriber&) = delete;
    FolderDescriber& operator=(const FolderDescriber&) = delete;

    // Describes the folders in order and then posts message to window. False
    // when no thread could be started.
    bool Start(std::vector<std::wstring> paths, HWND window, UINT message);

    // Every description made, once all are; empty before.
    [[nodiscard]] std::vector<FolderDescription> Descriptions() const;

private:
    struct Work;
    static DWORD WINAPI Run(void* parameter);

    std::shared_ptr<Work> work;
};
