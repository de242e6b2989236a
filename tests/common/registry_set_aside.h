#pragma once

#include <windows.h>

#include <string>

// Sets the key root\<path> aside for one test, so the test starts without it,
// and puts back afterwards whatever was there: the key is deleted and, if it
// existed before, restored from a copy. Runs on every way out of the test.
class RegistryKeySetAside {
public:
    RegistryKeySetAside(HKEY root, std::wstring path);
    ~RegistryKeySetAside();

    RegistryKeySetAside(const RegistryKeySetAside&) = delete;
    RegistryKeySetAside& operator=(const RegistryKeySetAside&) = delete;

    // True when the key is absent now and what it held is safe.
    [[nodiscard]] bool Ready() const { return ready_; }

private:
    HKEY root_;
    std::wstring path_;
    std::wstring copy_;
    bool copied_ = false;
    bool ready_ = false;
};

// Creates root\path as a volatile key, under which no lasting key can be made:
// a stand-in for a key that security software guards. True when it is there.
bool CreateVolatileKey(HKEY root, const std::wstring& path);
