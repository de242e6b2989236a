#include "settings/line_file.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "ui/handles.h"

namespace {

constexpr wchar_t kByteOrderMark = 0xFEFF;
static_assert(sizeof(wchar_t) == 2, "the line files hold UTF-16 units");

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30));
        DWORD done = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0) return false;
        written += done;
    }
    return true;
}

// Writes the content to a fresh file and flushes it to disk; false on any failure.
bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
    // A read-only or hidden leftover of an interrupted save would make CREATE_ALWAYS fail.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    UniqueKernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    return WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
}

// Whether the file already holds exactly these bytes. Rewriting it then would
// change nothing but cost a flush to disk, which is most of a save's time.
bool FileHolds(const std::wstring& path, const std::string& bytes) {
    UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || static_cast<uint64_t>(size.QuadPart) != bytes.size() ||
        bytes.size() > kLineFileReadLimit) {
        return false;
    }
    std::string held(bytes.size(), '\0');
    DWORD read = 0;
    return ReadFile(file.get(), held.data(), static_cast<DWORD>(held.size()), &read, nullptr) && read == held.size() &&
           held == bytes;
}

// A program reading the file for a moment (a virus scanner, an indexer, an
// editor) keeps it from being replaced; the save waits a little for it rather
// than being lost.
constexpr int kReplaceAttempts = 10;
constexpr DWORD kReplaceRetryMs = 20;

bool TakeThePlaceOf(const std::wstring& replacement, const std::wstring& path) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(replacement.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || attempt == kReplaceAttempts) return false;
        Sleep(kReplaceRetryMs);
    }
}

}  // namespace

std::vector<std::wstring> DecodeLines(std::string_view bytes) {
    // The files are UTF-16LE, as is wchar_t on every Windows target, so the
    // units are copied whole; an odd last byte is no unit and is ignored.
    std::wstring text(bytes.size() / 2, L'\0');
    if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    std::wstring_view rest(text);
    if (!rest.empty() && rest.front() == kByteOrderMark) rest.remove_prefix(1);
    std::vector<std::wstring> lines;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find(L'\n'), rest.size());
        std::wstring line(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        // A CR is dropped wherever it stands, not only before its LF.
        std::erase(line, L'\r');
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

std::string EncodeLines(const std::vector<std::wstring>& lines) {
    std::wstring text(1, kByteOrderMark);
    size_t units = 1;
    for (const std::wstring& line : lines) units += line.size() + 2;
    text.reserve(units);
    for (const std::wstring& line : lines) {
        text += line;
        text += L"\r\n";
    }
    std::string bytes(text.size() * sizeof(wchar_t), '\0');
    std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
}

namespace {

// Where reading the end of a file starts; doubled until the lines wanted are in.
constexpr uint64_t kFirstTailBytes = uint64_t{64} * 1024;
// The lines of the config files are paths and settings, none longer than the
// longest path the system takes.
constexpr size_t kLongestLineUnits = 32768;

size_t UnitsBeforeFirstBreak(const std::string& bytes) {
    for (size_t unit = 0; unit + 1 < bytes.size(); unit += 2) {
        if (bytes[unit] == '\n' && bytes[unit + 1] == '\0') return unit / 2;
    }
    return bytes.size() / 2;
}

// Opens a line file for reading; false when it exists but cannot be opened.
bool OpenLineFile(const std::wstring& path, UniqueKernelHandle& file) {
    file.reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool ReadAt(HANDLE file, uint64_t offset, std::string& bytes) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) &&
           (bytes.empty() || ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) &&
           read == bytes.size();
}

}  // namespace

bool TryReadLines(const std::wstring& path, std::vector<std::wstring>& lines, uint64_t limit) {
    lines.clear();
    UniqueKernelHandle file;
    if (!OpenLineFile(path, file)) return false;
    if (!file) return true;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
    limit = std::min(limit, kLineFileReadLimit);
    const bool whole = static_cast<uint64_t>(size.QuadPart) <= limit;
    const auto wanted = static_cast<DWORD>(std::min<uint64_t>(static_cast<uint64_t>(size.QuadPart), limit));
    std::string bytes(wanted, '\0');
    DWORD read = 0;
    const bool readOk = wanted == 0 || ReadFile(file.get(), bytes.data(), wanted, &read, nullptr);
    bytes.resize(read);
    lines = DecodeLines(bytes);
    return whole && readOk && read == wanted;
}

bool TryReadLastLines(const std::wstring& path, size_t count, std::vector<std::wstring>& lines) {
    lines.clear();
    UniqueKernelHandle file;
    if (!OpenLineFile(path, file)) return false;
    if (!file || count == 0) return true;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
    const auto fileSize = static_cast<uint64_t>(size.QuadPart);
    for (uint64_t tail = kFirstTailBytes;; tail *= 2) {
        tail = std::min({tail, fileSize, kLineFileReadLimit});
        // Units start at even offsets; the byte-order mark is the first of them.
        const uint64_t start = (fileSize - tail) & ~uint64_t{1};
        std::string bytes(static_cast<size_t>(fileSize - start), '\0');
        if (!ReadAt(file.get(), start, bytes)) return false;
        lines = DecodeLines(bytes);
        if (start == 0) break;
        // Read from within a line, the first one is only its end. One longer
        // than any path is no line of ours, and neither is anything before it.
        const bool overlong = UnitsBeforeFirstBreak(bytes) > kLongestLineUnits;
        if (!lines.empty()) lines.erase(lines.begin());
        if (lines.size() >= count || overlong || tail == kLineFileReadLimit) break;
    }
    if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<ptrdiff_t>(count));
    return true;
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    (void)TryReadLines(path, lines);
    return lines;
}

bool WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    const std::string bytes = EncodeLines(lines);
    const std::wstring temporary = path + L".saving";
    if (FileHolds(path, bytes)) {
        // What an interrupted save left beside it is of no further use.
        SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(temporary.c_str());
        return true;
    }
    // Writing the file in place would be refused; replacing it by a rename is
    // not always, but the user's read-only mark means the same.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetLastError(ERROR_FILE_READ_ONLY);
        return false;
    }
    if (!WriteNewFile(temporary, bytes) || !TakeThePlaceOf(temporary, path)) {
        // The caller is told why the save failed, not how the clean-up went.
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        SetLastError(error);
        return false;
    }
    return true;
}
