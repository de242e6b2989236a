#pragma once

#include <optional>
#include <string>
#include <vector>

#include "takeover/takeover_record.h"

// Two plain-text documents that let a user undo the takeover without Quorlen:
// the report of each key's state before the takeover, and a guide to the ways
// of undoing it. Both are line files, kept in Quorlen's own folders and beside
// the launcher (which survives deleting Quorlen's folder), and rewritten
// whenever their text changes.

inline constexpr wchar_t kTakeoverReportFileName[] = L"接管前注册表配置.txt";
inline constexpr wchar_t kRestoreGuideFileName[] = L"手动恢复系统资源管理器打开文件夹.txt";

[[nodiscard]] std::vector<std::wstring> TakeoverReportLines(const TakeoverRecord& record);

[[nodiscard]] std::vector<std::wstring> RestoreGuideLines(const std::wstring& launcher);

// Writes both documents for the record in force; nothing without one.
void WriteTakeoverDocuments();

// Deletes both from the launcher's folder and the holder's folders once there
// is no takeover to describe.
void RemoveTakeoverDocuments(const std::wstring& program);
