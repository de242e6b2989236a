#include "ui/folder_probe.h"

#include <objbase.h>

#include <map>
#include <mutex>
#include <utility>

#include "ui/handles.h"
#include "ui/paths.h"
#include "ui/shell_items.h"

struct FolderProbe::Answers {
    std::mutex lock;
    std::map<std::wstring, FolderReach> known;
    HWND window = nullptr;
    UINT message = 0;
};

// What a lookup's thread holds: the answers it reports to, alive as long as it runs.
struct FolderProbe::Job {
    std::shared_ptr<Answers> answers;
    Lookup knows;
    std::wstring folder;
    std::wstring key;
};

DWORD WINAPI FolderProbe::Run(void* parameter) {
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    const FolderReach reach = job->knows(job->folder) ? FolderReach::Ready : FolderReach::Unreachable;
    if (com) CoUninitialize();
    const std::lock_guard<std::mutex> guard(job->answers->lock);
    job->answers->known[job->key] = reach;
    if (job->answers->window) PostMessageW(job->answers->window, job->answers->message, 0, 0);
    return 0;
}

FolderProbe::FolderProbe(Lookup lookupFunction, AtOnce atOnceFunction)
    : lookup(std::move(lookupFunction)), atOnce(std::move(atOnceFunction)), answers(std::make_shared<Answers>()) {}

FolderProbe::~FolderProbe() { TellWhenAnswered(nullptr, 0); }

bool FolderProbe::ShellKnows(const std::wstring& folder) {
    ComPtr<IShellItem> item;
    return SUCCEEDED(ItemFromPath(folder, item.put())) && item;
}

bool MayKeepWaiting(const std::wstring& folder) {
    if (!IsFileSystemPath(folder)) return false;
    if (folder.starts_with(L"\\\\")) return true;
    // A mapped letter says it is remote without asking the network.
    const wchar_t root[] = {folder[0], L':', L'\\', L'\0'};
    const UINT type = GetDriveTypeW(root);
    return type != DRIVE_FIXED && type != DRIVE_RAMDISK;
}

FolderReach FolderProbe::Reach(const std::wstring& folder) {
    if (atOnce(folder)) return FolderReach::Ready;
    const std::wstring key = PathKey(folder);
    {
        const std::lock_guard<std::mutex> guard(answers->lock);
        const auto [known, added] = answers->known.emplace(key, FolderReach::Asking);
        if (!added) return known->second;
    }
    auto* job = new Job{answers, lookup, folder, key};
    if (UniqueKernelHandle(CreateThread(nullptr, 0, Run, job, 0, nullptr))) return FolderReach::Asking;
    delete job;
    const std::lock_guard<std::mutex> guard(answers->lock);
    answers->known[key] = FolderReach::Unreachable;
    return FolderReach::Unreachable;
}

void FolderProbe::TellWhenAnswered(HWND window, UINT message) {
    const std::lock_guard<std::mutex> guard(answers->lock);
    answers->window = window;
    answers->message = message;
}

void FolderProbe::Forget() {
    auto fresh = std::make_shared<Answers>();
    {
        const std::lock_guard<std::mutex> guard(answers->lock);
        fresh->window = answers->window;
        fresh->message = answers->message;
        // Lookups still running report to the old answers, and no longer tell anyone.
        answers->window = nullptr;
    }
    answers = std::move(fresh);
}
