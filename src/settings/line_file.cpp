#include "settings/line_file.h"

#include <windows.h>

#include <algorithm>

#include "ui/handles.h"

namespace {

constexpr wchar_t kByteOrderMark = 0xFEFF;

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

}  // namespace

std::vector<std::wstring> DecodeLines(std::string_view bytes) {
    std::vector<std::wstring> lines;
    std::wstring line;
    const size_t units = bytes.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                               (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
        if (i == 0 && unit == kByteOrderMark) continue;
        if (unit == L'\r') continue;
        if (unit == L'\n') {
            if (!line.empty()) lines.push_back(std::move(line));
            line.clear();
            continue;
        }
        line.push_back(unit);
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::string EncodeLines(const std::vector<std::wstring>& lines) {
    std::string bytes;
    auto append = [&bytes](wchar_t unit) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
    };
    append(kByteOrderMark);
    for (const std::wstring& line : lines) {
        for (wchar_t unit : line) append(unit);
        append(L'\r');
        append(L'\n');
    }
    return bytes;
}

bool TryReadLines(const std::wstring& path, std::vector<std::wstring>& lines) {
    lines.clear();
    UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
    const bool whole = static_cast<uint64_t>(size.QuadPart) <= kLineFileReadLimit;
    const auto wanted = static_cast<DWORD>(std::min<uint64_t>(static_cast<uint64_t>(size.QuadPart),
                                                              kLineFileReadLimit));
    std::string bytes(wanted, '\0');
    DWORD read = 0;
    const bool readOk = wanted == 0 || ReadFile(file.get(), bytes.data(), wanted, &read, nullptr);
    bytes.resize(read);
    lines = DecodeLines(bytes);
    return whole && readOk && read == wanted;
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    (void)TryReadLines(path, lines);
    return lines;
}

bool WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    // Writing the file in place would be refused; replacing it by a rename is
    // not always, but the user's read-only mark means the same.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
    const std::wstring temporary = path + L".saving";
    if (!WriteNewFile(temporary, EncodeLines(lines)) ||
        !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}
