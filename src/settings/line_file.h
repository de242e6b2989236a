#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Line files: UTF-16LE text with the byte-order mark FF FE, one record per line,
// every line ended by CR LF, always rewritten whole.

// Reads no more than this much of a file, so that a huge or foreign file cannot
// exhaust memory.
inline constexpr uint64_t kLineFileReadLimit = 64ull * 1024 * 1024;

// Splits the bytes of a line file into its non-empty lines. A leading byte-order
// mark is skipped, CRs are dropped wherever they stand, an odd last byte is ignored.
[[nodiscard]] std::vector<std::wstring> DecodeLines(std::string_view bytes);

// The bytes of a line file holding these lines.
[[nodiscard]] std::string EncodeLines(const std::vector<std::wstring>& lines);

// Reads a line file; a file that cannot be opened reads as no lines. Never fails.
[[nodiscard]] std::vector<std::wstring> ReadLines(const std::wstring& path);

// Like ReadLines, but tells whether the file could be read whole: false when it
// exists but cannot be opened or read, or is larger than the read limit. A
// missing file is read successfully as no lines. A smaller limit reads less of
// a file that is only of use when small; what lies beyond it is not read.
[[nodiscard]] bool TryReadLines(const std::wstring& path, std::vector<std::wstring>& lines,
                                uint64_t limit = kLineFileReadLimit);

// The last count lines of a line file, read from its end, so that a file of any
// size costs only what those lines take (within the read limit). A missing file
// reads as no lines; false when it exists but cannot be opened or read.
[[nodiscard]] bool TryReadLastLines(const std::wstring& path, size_t count, std::vector<std::wstring>& lines);

// Replaces the file with these lines. The new content goes to a temporary file
// beside it, which then takes the old file's place in one step, so a failed save
// leaves the old file as it was. A file that already holds these lines is left
// alone, and so is a file marked read-only. Returns false when the file does not
// hold the lines afterwards, with the reason as the thread's last error.
bool WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines);
