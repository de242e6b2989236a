#include "ui/event_log.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <new>

namespace {

// Never destroyed: other threads may still log while the process exits.
EventRing& ProgramRing() {
    static EventRing* const ring = new EventRing;
    return *ring;
}

// Writes value as exactly `digits` decimal digits at out, returning the position after them.
wchar_t* PutDigits(wchar_t* out, unsigned value, int digits) {
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    }
    return out + digits;
}

// Copies as much of text as fits before end; the position after it.
wchar_t* PutText(wchar_t* out, const wchar_t* end, std::wstring_view text) {
    const size_t room = static_cast<size_t>(end - out);
    const size_t taken = std::min(room, text.size());
    std::copy_n(text.data(), taken, out);
    return out + taken;
}

}  // namespace

void EventRing::Add(const SYSTEMTIME& time, std::wstring_view text, std::wstring_view detail) {
    AcquireSRWLockExclusive(&lock);
    if (!lines) lines.reset(new (std::nothrow) std::array<Line, kCapacity>());
    if (!lines) {
        ReleaseSRWLockExclusive(&lock);
        return;
    }
    Line& line = (*lines)[next];
    wchar_t* out = line.text.data();
    const wchar_t* const end = out + kLineLength;
    // "MM-DD hh:mm:ss.mmm ": a day's turn is visible in a long session's report.
    out = PutDigits(out, time.wMonth, 2);
    *out++ = L'-';
    out = PutDigits(out, time.wDay, 2);
    *out++ = L' ';
    out = PutDigits(out, time.wHour, 2);
    *out++ = L':';
    out = PutDigits(out, time.wMinute, 2);
    *out++ = L':';
    out = PutDigits(out, time.wSecond, 2);
    *out++ = L'.';
    out = PutDigits(out, time.wMilliseconds, 3);
    *out++ = L' ';
    out = PutText(out, end, text);
    if (!detail.empty()) {
        out = PutText(out, end, L" ");
        out = PutText(out, end, detail);
    }
    line.length = static_cast<size_t>(out - line.text.data());
    next = (next + 1) % kCapacity;
    count = std::min(count + 1, kCapacity);
    ReleaseSRWLockExclusive(&lock);
}

const EventRing& ProgramEvents() { return ProgramRing(); }

void LogEvent(std::wstring_view text, std::wstring_view detail) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    ProgramRing().Add(now, text, detail);
}

bool ComFailed(HRESULT result, const wchar_t* call) {
    if (SUCCEEDED(result)) return false;
    wchar_t detail[24] = {};
    const int length = swprintf(detail, std::size(detail), L"failed 0x%08lX", static_cast<unsigned long>(result));
    LogEvent(call, std::wstring_view(detail, length > 0 ? static_cast<size_t>(length) : 0));
    return true;
}
