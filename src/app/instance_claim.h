#pragma once

#include <windows.h>

#include <string>

#include "ui/handles.h"

// How long a start waits for the instance to take its request: an instance
// that is still starting, or closing, is given this long to be ready or gone.
inline constexpr DWORD kInstanceWaitMs = 20000;

// What became of one attempt to hand a request over the instance pipe.
enum class PipeHandOff {
    Delivered,  // the instance has read it
    Busy,       // every instance of the pipe was taken; waited a moment for one
    Absent,     // no pipe: the instance is between two clients, starting or closing
    NotOurs,    // the pipe is served by another program or another user
    Lost,       // the pipe broke before the instance had read it all
};

// One attempt through a pipe of the instance's, waiting at most busyWaitMs
// for a free instance of it.
[[nodiscard]] PipeHandOff HandOffThroughPipe(const std::wstring& pipeName, const std::wstring& path, bool select,
                                             DWORD busyWaitMs);

// Hands the request to a main window of this session as WM_COPYDATA, which has
// no room for a selection: an item to select is shown by its folder. True when
// a window answered that it took it.
[[nodiscard]] bool HandOffThroughWindow(const std::wstring& path, bool select);

// Hands the request to the running instance through its pipe, once, and brings
// its window to the front; false when no instance took it at once.
[[nodiscard]] bool HandOffToRunningInstance(const std::wstring& path, bool select);

// How a start ended.
enum class StartRole {
    Instance,    // this process serves the user from now on
    HandedOff,   // the running instance took the request
    Unanswered,  // an instance runs but took nothing within the wait
};

// The one process of this session that serves the user holds the claim; the
// claim decides, atomically, which of several racing starts that is.
class InstanceClaim {
public:
    InstanceClaim() = default;
    ~InstanceClaim() { Release(); }
    InstanceClaim(const InstanceClaim&) = delete;
    InstanceClaim& operator=(const InstanceClaim&) = delete;

    // Becomes the instance when no other process holds the claim, or once the
    // one that holds it has ended; until then hands the request to it as soon
    // as it takes requests, for at most waitMs.
    [[nodiscard]] StartRole ClaimOrHandOff(const std::wstring& path, bool select, DWORD waitMs = kInstanceWaitMs);

    // Lets the next start become the instance; called once this process has
    // written the last of its files.
    void Release();

private:
    UniqueKernelHandle mutex;
    bool held = false;
};
