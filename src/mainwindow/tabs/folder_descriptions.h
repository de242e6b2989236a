#pragma once

#include <windows.h>

#include <functional>
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

// The drive or share a folder is on ("C:", "\\SERVER\SHARE"), letter case
// folded; empty for anything else. Folders of one drive wait for one another,
// folders of different drives do not.
[[nodiscard]] std::wstring DescriptionQueueOf(const std::wstring& path);

// Describes folders on threads of their own, one per drive or share: the shell
// can take long over a folder on a slow or missing drive, and no tab waits for
// another drive's folders, nor the window for any. Each description is
// published as soon as it is made. Going away does not wait for the threads,
// each of which stops after the folder it is on.
class FolderDescriber {
public:
    using Describe = std::function<FolderDescription(const std::wstring&)>;

    explicit FolderDescriber(Describe describe = DescribeFolder);
    ~FolderDescriber();
    FolderDescriber(const FolderDescriber&) = delete;
    FolderDescriber& operator=(const FolderDescriber&) = delete;

    // Queues the folders; message is posted to window whenever descriptions
    // have come that the window has not taken yet. False when a thread was
    // needed and could not be started: those folders stay undescribed.
    bool Start(const std::vector<std::wstring>& paths, HWND window, UINT message);

    // Every description made so far, oldest first.
    [[nodiscard]] std::vector<FolderDescription> Descriptions() const;

    // Whether the folder is queued or being described and has no description yet.
    [[nodiscard]] bool Waiting(const std::wstring& path) const;

private:
    struct Shared;
    struct Job;
    static DWORD WINAPI Run(void* parameter);

    std::shared_ptr<Shared> shared;
};
