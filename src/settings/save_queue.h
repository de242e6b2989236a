#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "ui/handles.h"

// Saves run one at a time, in the order they were asked for, on a thread of
// their own: flushing a file to disk takes tens of milliseconds, which the
// user-interface thread must not wait for. A job is a whole read-modify-write
// of its files, so that it works on the files as they stand when its turn comes.
class SaveQueue {
public:
    using Job = std::function<void()>;

    SaveQueue() = default;
    // Runs what is still queued, as Finish does.
    ~SaveQueue() { Finish(); }
    SaveQueue(const SaveQueue&) = delete;
    SaveQueue& operator=(const SaveQueue&) = delete;

    // Queues the job; the first one starts the thread. Once the queue has
    // finished, or when no thread can be started, the job runs at once on the
    // calling thread instead.
    void Push(Job job);

    // Returns once every job pushed before the call has run. Never from a job,
    // which would wait for itself.
    void Flush();

    // Runs every job still queued, those pushed meanwhile included, and ends
    // the thread. Never from a job.
    void Finish();

private:
    static DWORD WINAPI Serve(void* parameter);
    void Work();

    std::mutex lock;
    std::condition_variable changed;
    std::deque<Job> jobs;
    uint64_t pushed = 0;
    uint64_t done = 0;
    // Finish was called: the thread ends as soon as the queue is empty.
    bool finishing = false;
    // The thread takes what is pushed; it clears this as it ends.
    bool serving = false;
    UniqueKernelHandle thread;
};

// The settings store's own queue, through which every save of the config files goes.
void QueueSave(SaveQueue::Job job);

// Whatever reads the config files, or lets another process read them, calls
// this first: the files then hold every save asked for before.
void FlushSaves();

// Makes every save still queued and ends the saving thread; a save asked for
// later is made at once. Called before the process ends.
void FinishSaves();
