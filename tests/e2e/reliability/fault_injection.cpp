#include "fault_injection.h"

#include <atomic>
#include <utility>

RegistryChangeWatch::RegistryChangeWatch(HKEY root, const std::wstring& path)
    : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!event_ || RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_NOTIFY, nullptr, key_.put(), nullptr) !=
                       ERROR_SUCCESS) {
        return;
    }
    armed_ = RegNotifyChangeKeyValue(key_.get(), TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                     event_.get(), TRUE) == ERROR_SUCCESS;
}

bool RegistryChangeWatch::Wait(DWORD timeoutMs) const {
    return armed_ && WaitForSingleObject(event_.get(), timeoutMs) == WAIT_OBJECT_0;
}

FolderChangeWatch::FolderChangeWatch(const std::wstring& folder)
    : handle_(FindFirstChangeNotificationW(folder.c_str(), TRUE,
                                           FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                               FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE)) {}

FolderChangeWatch::~FolderChangeWatch() {
    if (Armed()) FindCloseChangeNotification(handle_);
}

bool FolderChangeWatch::Wait(DWORD timeoutMs) const {
    return Armed() && WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

std::int64_t NowMicroseconds() {
    static const std::int64_t frequency = [] {
        LARGE_INTEGER value{};
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart / frequency * 1000000 + now.QuadPart % frequency * 1000000 / frequency;
}

void SpinUntil(std::int64_t momentMicroseconds) {
    while (NowMicroseconds() < momentMicroseconds) YieldProcessor();
}

void KillAt(QuorlenProcess& process, std::int64_t fromMicroseconds, std::int64_t spreadMicroseconds,
            std::mt19937& random) {
    std::uniform_int_distribution<std::int64_t> offset(0, spreadMicroseconds < 0 ? 0 : spreadMicroseconds);
    SpinUntil(fromMicroseconds + offset(random));
    process.Kill();
}

std::string FileBytes(const std::wstring& path) {
    UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read != 0) bytes.append(buffer, read);
    return bytes;
}

namespace {

std::wstring NewCopyName() {
    static std::atomic<int> counter{0};
    return L"Software\\QuorlenTestTreeCopy-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

bool CopyTreeBetween(HKEY root, const std::wstring& from, const std::wstring& to) {
    UniqueKey source;
    UniqueKey target;
    return RegOpenKeyExW(root, from.c_str(), 0, KEY_READ, source.put()) == ERROR_SUCCESS &&
           RegCreateKeyExW(root, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, target.put(), nullptr) ==
               ERROR_SUCCESS &&
           RegCopyTreeW(source.get(), nullptr, target.get()) == ERROR_SUCCESS;
}

bool DeleteTreeIfThere(HKEY root, const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(root, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace

RegistryTreeCopy::RegistryTreeCopy(HKEY root, std::wstring path)
    : root_(root), path_(std::move(path)), copy_(NewCopyName()) {}

RegistryTreeCopy::~RegistryTreeCopy() { RegDeleteTreeW(root_, copy_.c_str()); }

bool RegistryTreeCopy::Take() {
    if (!DeleteTreeIfThere(root_, copy_)) return false;
    UniqueKey existing;
    existed_ = RegOpenKeyExW(root_, path_.c_str(), 0, KEY_READ, existing.put()) == ERROR_SUCCESS;
    return !existed_ || CopyTreeBetween(root_, path_, copy_);
}

bool RegistryTreeCopy::PutBack() const {
    if (!DeleteTreeIfThere(root_, path_)) return false;
    return !existed_ || CopyTreeBetween(root_, copy_, path_);
}
