#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

// The program's own recent events, kept in memory only, for the report written
// when the program crashes: what it was doing just before says more than the
// stack alone. Nothing is written anywhere else.

// The last lines added, each stamped with its local time. Adding costs a lock
// and a copy into a slot of fixed size, allocated with the first line: a line
// can be added on every navigation, and reading the lines back at a crash needs
// no heap.
class EventRing {
public:
    static constexpr size_t kCapacity = 200;
    // Characters kept of a line, its time stamp included; the rest is cut off.
    static constexpr size_t kLineLength = 320;

    EventRing() = default;
    EventRing(const EventRing&) = delete;
    EventRing& operator=(const EventRing&) = delete;

    // Stamps the line with the time and keeps it in place of the oldest one when full.
    // The detail follows the text after a space; either may be empty. Any thread.
    void Add(const SYSTEMTIME& time, std::wstring_view text, std::wstring_view detail = {});

    // Calls visit(std::wstring_view) for each kept line, oldest first. False, having
    // visited nothing, when another thread is adding a line: a crash may have stopped
    // that thread for good, so this never waits.
    template <typename Visit>
    bool TryVisit(Visit&& visit) const {
        if (!TryAcquireSRWLockShared(&lock)) return false;
        const size_t oldest = (next + kCapacity - count) % kCapacity;
        for (size_t i = 0; i < count; ++i) {
            const Line& line = (*lines)[(oldest + i) % kCapacity];
            visit(std::wstring_view(line.text.data(), line.length));
        }
        ReleaseSRWLockShared(&lock);
        return true;
    }

private:
    struct Line {
        size_t length = 0;
        std::array<wchar_t, kLineLength> text{};
    };

    mutable SRWLOCK lock = SRWLOCK_INIT;
    // Not part of the object: a ring in the executable's data would add its
    // size to the file.
    std::unique_ptr<std::array<Line, kCapacity>> lines;
    // The slot the next line goes to, and how many slots hold a line.
    size_t next = 0;
    size_t count = 0;
};

// The ring the whole program logs to.
[[nodiscard]] const EventRing& ProgramEvents();

// Adds a line to the program's ring, stamped with the current local time.
void LogEvent(std::wstring_view text, std::wstring_view detail = {});

// Reads as FAILED(result) does, and logs a failure with the call's name, so
// that a COM call the program gets by without still leaves a trace.
[[nodiscard]] bool ComFailed(HRESULT result, const wchar_t* call);
