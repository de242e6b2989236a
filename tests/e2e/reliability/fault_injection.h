#pragma once

#include <windows.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "driver/quorlen_driver.h"
#include "ui/handles.h"

// Tools of the injected-fault tests: waiting for the program's first write to
// a registry tree or a folder, and ending the program a chosen while later.

// Signals once something below a registry key changes: a key or value added,
// changed or removed anywhere in its tree.
class RegistryChangeWatch {
public:
    RegistryChangeWatch(HKEY root, const std::wstring& path);

    [[nodiscard]] bool Armed() const { return armed_; }
    // Waits for the change; false when none came in time.
    [[nodiscard]] bool Wait(DWORD timeoutMs) const;

private:
    UniqueKey key_;
    UniqueKernelHandle event_;
    bool armed_ = false;
};

// Signals once a file is created, renamed or written anywhere below a folder.
class FolderChangeWatch {
public:
    explicit FolderChangeWatch(const std::wstring& folder);
    ~FolderChangeWatch();
    FolderChangeWatch(const FolderChangeWatch&) = delete;
    FolderChangeWatch& operator=(const FolderChangeWatch&) = delete;

    [[nodiscard]] bool Armed() const { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] bool Wait(DWORD timeoutMs) const;

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A monotonic clock in microseconds.
[[nodiscard]] std::int64_t NowMicroseconds();

// Spins until the clock reaches the moment; a sleep would be far too coarse
// for operations that take a few milliseconds.
void SpinUntil(std::int64_t momentMicroseconds);

// Ends the process at a moment drawn uniformly from [from, from + spread].
void KillAt(QuorlenProcess& process, std::int64_t fromMicroseconds, std::int64_t spreadMicroseconds,
            std::mt19937& random);

// The raw bytes of a file; empty when it cannot be read (absent included).
[[nodiscard]] std::string FileBytes(const std::wstring& path);

// A copy of a registry tree kept in a scratch key, to put the tree back to that
// state as often as a test needs.
class RegistryTreeCopy {
public:
    RegistryTreeCopy(HKEY root, std::wstring path);
    ~RegistryTreeCopy();
    RegistryTreeCopy(const RegistryTreeCopy&) = delete;
    RegistryTreeCopy& operator=(const RegistryTreeCopy&) = delete;

    // Takes the tree as it is now (an absent tree is kept as absent).
    [[nodiscard]] bool Take();
    // Makes the tree what it was when taken.
    [[nodiscard]] bool PutBack() const;

private:
    HKEY root_;
    std::wstring path_;
    std::wstring copy_;
    bool existed_ = false;
};
