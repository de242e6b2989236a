#pragma once

#include <windows.h>

#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "app/instance_channel.h"

// Where the requests handed to this instance go: posted to the window that
// takes them, or kept, in the order they came, while there is none (the first
// window is still being made, or the last one is closing). The pipe's thread
// delivers; the user-interface thread chooses the window and takes back what
// was kept.
class HandOffQueue {
public:
    // From any thread.
    void Deliver(PipeRequest request);

    // The window that takes requests from now on, null for none. What was kept
    // is posted to a new window first, in order.
    void SetTarget(HWND window);

    // Requests a window was handed but closed before opening; they came before
    // anything kept since, so they go ahead of it.
    void GiveBack(std::vector<PipeRequest> requests);

    // The oldest kept request, if any.
    [[nodiscard]] std::optional<PipeRequest> TakeNext();

private:
    // With the lock held.
    bool PostTo(HWND window, const PipeRequest& request) const;

    std::mutex lock;
    HWND target = nullptr;
    std::deque<PipeRequest> kept;
};
