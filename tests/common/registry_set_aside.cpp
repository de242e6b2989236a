#include "common/registry_set_aside.h"

#include <atomic>
#include <utility>

#include "ui/handles.h"

namespace {

// Each set-aside copy gets a name of its own, also when several are held at once.
std::wstring NewCopyName() {
    static std::atomic<int> counter{0};
    return L"Software\\QuorlenTestSetAside-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

}  // namespace

RegistryKeySetAside::RegistryKeySetAside(HKEY root, std::wstring path)
    : root_(root), path_(std::move(path)), copy_(NewCopyName()) {
    UniqueKey existing;
    if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_READ, existing.put()) != ERROR_SUCCESS) {
        ready_ = true;
        return;
    }
    UniqueKey copy;
    if (RegCreateKeyExW(root_, copy_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, copy.put(), nullptr) !=
            ERROR_SUCCESS ||
        RegCopyTreeW(existing.get(), nullptr, copy.get()) != ERROR_SUCCESS) {
        return;
    }
    copied_ = true;
    existing.reset();
    ready_ = RegDeleteTreeW(root_, path_.c_str()) == ERROR_SUCCESS;
}

RegistryKeySetAside::~RegistryKeySetAside() {
    RegDeleteTreeW(root_, path_.c_str());
    if (!copied_) return;
    UniqueKey copy;
    UniqueKey original;
    if (RegOpenKeyExW(root_, copy_.c_str(), 0, KEY_READ, copy.put()) == ERROR_SUCCESS &&
        RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, original.put(), nullptr) ==
            ERROR_SUCCESS &&
        RegCopyTreeW(copy.get(), nullptr, original.get()) == ERROR_SUCCESS) {
        copy.reset();
        RegDeleteTreeW(root_, copy_.c_str());
    }
}

bool CreateVolatileKey(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_READ, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}
