#include "app/hand_off_queue.h"

#include "app/posted_path.h"
#include "ui/app_identity.h"

void HandOffQueue::Deliver(PipeRequest request) {
    const std::lock_guard<std::mutex> guard(lock);
    if (kept.empty() && target && PostTo(target, request)) return;
    kept.push_back(std::move(request));
}

void HandOffQueue::SetTarget(HWND window) {
    const std::lock_guard<std::mutex> guard(lock);
    target = window;
    while (target && !kept.empty() && PostTo(target, kept.front())) kept.pop_front();
}

void HandOffQueue::GiveBack(std::vector<PipeRequest> requests) {
    const std::lock_guard<std::mutex> guard(lock);
    kept.insert(kept.begin(), std::make_move_iterator(requests.begin()), std::make_move_iterator(requests.end()));
}

std::optional<PipeRequest> HandOffQueue::TakeNext() {
    const std::lock_guard<std::mutex> guard(lock);
    if (kept.empty()) return std::nullopt;
    PipeRequest next = std::move(kept.front());
    kept.pop_front();
    return next;
}

bool HandOffQueue::PostTo(HWND window, const PipeRequest& request) const {
    if (!IsWindow(window)) return false;
    const LPARAM path = PostablePath(request.path);
    if (PostMessageW(window, WM_APP_OPEN_PATH, request.select ? 1 : 0, path)) return true;
    DiscardPostedPath(path);
    return false;
}
