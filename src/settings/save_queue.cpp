#include "settings/save_queue.h"

#include <utility>

void SaveQueue::Push(Job job) {
    std::unique_lock<std::mutex> guard(lock);
    if (!serving && !finishing) {
        thread.reset(CreateThread(nullptr, 0, Serve, this, 0, nullptr));
        serving = static_cast<bool>(thread);
    }
    if (!serving) {
        guard.unlock();
        job();
        return;
    }
    jobs.push_back(std::move(job));
    ++pushed;
    guard.unlock();
    changed.notify_all();
}

void SaveQueue::Flush() {
    std::unique_lock<std::mutex> guard(lock);
    const uint64_t awaited = pushed;
    changed.wait(guard, [this, awaited] { return done >= awaited; });
}

void SaveQueue::Finish() {
    {
        const std::lock_guard<std::mutex> guard(lock);
        finishing = true;
    }
    changed.notify_all();
    // Push leaves the handle alone from now on. Waiting on a thread's handle
    // cannot hang even where joining could: a thread that ExitProcess ended
    // has signalled it already.
    if (thread) WaitForSingleObject(thread.get(), INFINITE);
}

DWORD WINAPI SaveQueue::Serve(void* parameter) {
    static_cast<SaveQueue*>(parameter)->Work();
    return 0;
}

void SaveQueue::Work() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [this] { return !jobs.empty() || finishing; });
        if (jobs.empty()) {
            // Under the lock, so that a job pushed from now on runs on its caller.
            serving = false;
            return;
        }
        Job job = std::move(jobs.front());
        jobs.pop_front();
        guard.unlock();
        job();
        guard.lock();
        ++done;
        changed.notify_all();
    }
}

namespace {

// Made by the first save and ended by FinishSaves. A process that ends without
// it still makes its saves: exit runs the destructor while the thread is there.
SaveQueue& StoreQueue() {
    static SaveQueue queue;
    return queue;
}

}  // namespace

void QueueSave(SaveQueue::Job job) { StoreQueue().Push(std::move(job)); }

void FlushSaves() { StoreQueue().Flush(); }

void FinishSaves() { StoreQueue().Finish(); }
