#pragma once

#include <optional>
#include <string>
#include <vector>

#include "takeover/backup_record.h"

// Two plain-text documents that let a user undo the takeover by hand: the report
// of what the backup recorded, in the config folder, and a fixed guide in the
// doc folder beside the executable. Both are line files.

inline constexpr wchar_t kTakeoverReportFileName[] = L"接管前注册表配置.txt";
inline constexpr wchar_t kRestoreGuideFileName[] = L"手动恢复系统资源管理器打开文件夹.txt";

// The report's lines for what the backup key holds; none when there is no backup key.
[[nodiscard]] std::vector<std::wstring> TakeoverReportLines(const std::optional<BackupSnapshot>& backup);

// The guide's 67 lines.
[[nodiscard]] std::vector<std::wstring> RestoreGuideLines();

// Writes the report from the backup key as it is now. On failure, sets the error
// text when given.
bool WriteTakeoverReport(std::wstring* error);

// Writes the guide unless it exists (an edited guide stays as the user left it),
// and the report if it is missing. Best effort.
void WriteRestoreGuide();
