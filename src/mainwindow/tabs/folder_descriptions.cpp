#include "mainwindow/tabs/folder_descriptions.h"

#include <objbase.h>

#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "ui/handles.h"
#include "ui/paths.h"
#include "ui/shell_icons.h"
#include "ui/shell_items.h"

struct FolderDescriber::Shared {
    explicit Shared(Describe function) : describe(std::move(function)) {}

    const Describe describe;
    mutable std::mutex lock;
    HWND window = nullptr;
    UINT message = 0;
    bool abandoned = false;
    // Whether a message is on its way that the window has not answered yet.
    mutable bool told = false;
    // Per drive or share: the folders waiting, and whether a thread works on them.
    std::map<std::wstring, std::deque<std::wstring>> queues;
    std::map<std::wstring, bool> working;
    std::vector<FolderDescription> descriptions;
};

// What a drive's thread holds: the shared state, alive as long as any thread is.
struct FolderDescriber::Job {
    std::shared_ptr<Shared> shared;
    std::wstring queue;
};

FolderDescription DescribeFolder(const std::wstring& path) {
    FolderDescription description{path, std::wstring(), -1};
    ComPtr<IShellItem> item;
    if (SUCCEEDED(ItemFromPath(path, item.put())) && item) {
        description.name = DisplayName(item.get());
        description.icon = ItemIconIndex(item.get(), false);
    }
    return description;
}

std::wstring DescriptionQueueOf(const std::wstring& path) {
    if (path.starts_with(L"\\\\")) {
        // \\server\share: up to the backslash after the share's name.
        const size_t server = path.find(L'\\', 2);
        const size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        return PathKey(path.substr(0, share));
    }
    if (IsFileSystemPath(path)) return PathKey(path.substr(0, 2));
    return {};
}

DWORD WINAPI FolderDescriber::Run(void* parameter) {
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    Shared& shared = *job->shared;
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    for (;;) {
        std::wstring path;
        {
            const std::lock_guard<std::mutex> guard(shared.lock);
            std::deque<std::wstring>& waiting = shared.queues[job->queue];
            if (shared.abandoned || waiting.empty()) {
                shared.working[job->queue] = false;
                break;
            }
            path = waiting.front();
        }
        FolderDescription description = shared.describe(path);
        const std::lock_guard<std::mutex> guard(shared.lock);
        shared.queues[job->queue].pop_front();
        shared.descriptions.push_back(std::move(description));
        if (!shared.abandoned && !shared.told && shared.window) {
            shared.told = PostMessageW(shared.window, shared.message, 0, 0) != FALSE;
        }
    }
    if (com) CoUninitialize();
    return 0;
}

FolderDescriber::FolderDescriber(Describe describe) : shared(std::make_shared<Shared>(std::move(describe))) {}

FolderDescriber::~FolderDescriber() {
    const std::lock_guard<std::mutex> guard(shared->lock);
    shared->abandoned = true;
}

bool FolderDescriber::Start(const std::vector<std::wstring>& paths, HWND window, UINT message) {
    std::vector<std::wstring> idleQueues;
    {
        const std::lock_guard<std::mutex> guard(shared->lock);
        shared->window = window;
        shared->message = message;
        for (const std::wstring& path : paths) {
            const std::wstring queue = DescriptionQueueOf(path);
            shared->queues[queue].push_back(path);
            bool& working = shared->working[queue];
            if (!working) {
                working = true;
                idleQueues.push_back(queue);
            }
        }
    }
    bool started = true;
    for (const std::wstring& queue : idleQueues) {
        auto* job = new Job{shared, queue};
        if (UniqueKernelHandle(CreateThread(nullptr, 0, Run, job, 0, nullptr))) continue;
        delete job;
        started = false;
        const std::lock_guard<std::mutex> guard(shared->lock);
        shared->queues.erase(queue);
        shared->working[queue] = false;
    }
    return started;
}

std::vector<FolderDescription> FolderDescriber::Descriptions() const {
    const std::lock_guard<std::mutex> guard(shared->lock);
    shared->told = false;
    return shared->descriptions;
}

bool FolderDescriber::Waiting(const std::wstring& path) const {
    const std::lock_guard<std::mutex> guard(shared->lock);
    const auto queue = shared->queues.find(DescriptionQueueOf(path));
    if (queue == shared->queues.end()) return false;
    for (const std::wstring& waiting : queue->second) {
        if (waiting == path) return true;
    }
    return false;
}
