#include "mainwindow/folder_descriptions.h"

#include <objbase.h>

#include <atomic>
#include <mutex>
#include <utility>

#include "ui/handles.h"
#include "ui/shell_icons.h"
#include "ui/shell_items.h"

struct FolderDescriber::Work {
    std::vector<std::wstring> paths;
    HWND window = nullptr;
    UINT message = 0;
    std::atomic<bool> abandoned{false};
    std::mutex lock;
    bool finished = false;
    std::vector<FolderDescription> descriptions;
};

DWORD WINAPI FolderDescriber::Run(void* parameter) {
    // The thread's own reference: the describer may be gone before it ends.
    const std::unique_ptr<std::shared_ptr<Work>> owned(static_cast<std::shared_ptr<Work>*>(parameter));
    Work& work = **owned;
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    std::vector<FolderDescription> descriptions;
    for (const std::wstring& path : work.paths) {
        if (work.abandoned) break;
        descriptions.push_back(DescribeFolder(path));
    }
    if (com) CoUninitialize();
    {
        const std::lock_guard<std::mutex> guard(work.lock);
        work.descriptions = std::move(descriptions);
        work.finished = true;
    }
    if (!work.abandoned) PostMessageW(work.window, work.message, 0, 0);
    return 0;
}

FolderDescription DescribeFolder(const std::wstring& path) {
    FolderDescription description{path, std::wstring(), -1};
    ComPtr<IShellItem> item;
    if (SUCCEEDED(ItemFromPath(path, item.put())) && item) {
        description.name = DisplayName(item.get());
        description.icon = ItemIconIndex(item.get(), false);
    }
    return description;
}

FolderDescriber::~FolderDescriber() {
    if (work) work->abandoned = true;
}

bool FolderDescriber::Start(std::vector<std::wstring> paths, HWND window, UINT message) {
    if (work) work->abandoned = true;
    work = std::make_shared<Work>();
    work->paths = std::move(paths);
    work->window = window;
    work->message = message;
    auto* reference = new std::shared_ptr<Work>(work);
    const UniqueKernelHandle thread(CreateThread(nullptr, 0, Run, reference, 0, nullptr));
    if (thread) return true;
    delete reference;
    work.reset();
    return false;
}

std::vector<FolderDescription> FolderDescriber::Descriptions() const {
    if (!work) return {};
    const std::lock_guard<std::mutex> guard(work->lock);
    return work->finished ? work->descriptions : std::vector<FolderDescription>();
}
