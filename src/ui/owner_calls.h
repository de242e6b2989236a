#pragma once

#include <memory>
#include <utility>

// A part that reports to its owner through callbacks cannot trust itself after
// one: the owner may replace the callback, or destroy the part, while handling
// it. The part keeps one of these and calls its owner through it.
class OwnerCalls {
public:
    OwnerCalls() = default;
    OwnerCalls(const OwnerCalls&) = delete;
    OwnerCalls& operator=(const OwnerCalls&) = delete;

    // Calls callback with args when it is set. It runs as a copy, which keeps the
    // callable alive until it returns. False when the owner destroyed the part
    // holding this meanwhile: nothing of the part may be touched then.
    template <typename Callback, typename... Args>
    bool Call(const Callback& callback, Args&&... args) const {
        if (!callback) return true;
        const Callback running = callback;
        const std::weak_ptr<bool> alive = lifetime;
        running(std::forward<Args>(args)...);
        return !alive.expired();
    }

private:
    std::shared_ptr<bool> lifetime = std::make_shared<bool>(true);
};
