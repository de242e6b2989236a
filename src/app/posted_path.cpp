#include "app/posted_path.h"

#include <mutex>
#include <unordered_set>

namespace {

std::mutex handedOutLock;
std::unordered_set<const std::wstring*> handedOut;

}  // namespace

LPARAM PostablePath(const std::wstring& path) {
    auto copy = std::make_unique<std::wstring>(path);
    const std::lock_guard<std::mutex> guard(handedOutLock);
    handedOut.insert(copy.get());
    return reinterpret_cast<LPARAM>(copy.release());
}

std::unique_ptr<std::wstring> TakePostedPath(LPARAM lParam) {
    auto* path = reinterpret_cast<std::wstring*>(lParam);
    const std::lock_guard<std::mutex> guard(handedOutLock);
    if (handedOut.erase(path) == 0) return nullptr;
    return std::unique_ptr<std::wstring>(path);
}

void DiscardPostedPath(LPARAM lParam) { TakePostedPath(lParam).reset(); }
