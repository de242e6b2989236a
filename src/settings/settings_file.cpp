#include "settings/settings_file.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>
#include <utility>

#include "settings/config_dir.h"
#include "settings/line_file.h"
#include "settings/save_failures.h"
#include "settings/save_queue.h"

namespace {

enum class ValueKind { Flag, Number, WindowNumber, Text };

// One key of settings.txt and the field it fills.
struct SettingsKey {
    const wchar_t* name;
    ValueKind kind;
    bool Settings::*flag;
    int32_t Settings::*number;
    std::wstring Settings::*text;
};

constexpr SettingsKey Flag(const wchar_t* name, bool Settings::*field) {
    return {name, ValueKind::Flag, field, nullptr, nullptr};
}
constexpr SettingsKey Number(const wchar_t* name, int32_t Settings::*field) {
    return {name, ValueKind::Number, nullptr, field, nullptr};
}
constexpr SettingsKey WindowNumber(const wchar_t* name, int32_t Settings::*field) {
    return {name, ValueKind::WindowNumber, nullptr, field, nullptr};
}
constexpr SettingsKey Text(const wchar_t* name, std::wstring Settings::*field) {
    return {name, ValueKind::Text, nullptr, nullptr, field};
}

// In the order the lines are written.
constexpr SettingsKey kKeys[] = {
    Flag(L"NavVisible", &Settings::NavVisible),
    Flag(L"DetailsVisible", &Settings::DetailsVisible),
    Flag(L"PreviewVisible", &Settings::PreviewVisible),
    Flag(L"ShowHiddenFiles", &Settings::ShowHiddenFiles),
    Flag(L"ShowFileExt", &Settings::ShowFileExt),
    Number(L"ViewMode", &Settings::ViewMode),
    Number(L"ViewIconSize", &Settings::ViewIconSize),
    Flag(L"Takeover", &Settings::Takeover),
    Flag(L"FavBarVisible", &Settings::FavBarVisible),
    Flag(L"SearchBoxVisible", &Settings::SearchBoxVisible),
    Text(L"NewTabPath", &Settings::NewTabPath),
    Text(L"BackupDir", &Settings::BackupDir),
    Number(L"ActiveTab", &Settings::ActiveTab),
    Number(L"HistoryLimit", &Settings::HistoryLimit),
    WindowNumber(L"WindowX", &Settings::WindowX),
    WindowNumber(L"WindowY", &Settings::WindowY),
    WindowNumber(L"WindowWidth", &Settings::WindowWidth),
    WindowNumber(L"WindowHeight", &Settings::WindowHeight),
    Number(L"Appearance", &Settings::Appearance),
    Flag(L"RecentTabOrder", &Settings::RecentTabOrder),
};

// The white space the C library skips before a number.
bool IsLeadingSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

// A text value up to its first line break. No path holds one, and written whole
// the rest would come back as a line of its own, which could set any other key.
std::wstring_view FirstLineOf(std::wstring_view text) { return text.substr(0, text.find_first_of(L"\r\n")); }

// The key of a line: the text before its first "=", or nothing when it has none.
std::optional<std::wstring_view> KeyOf(std::wstring_view line) {
    const size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) return std::nullopt;
    return line.substr(0, equals);
}

}  // namespace

int32_t ParseDecimal(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsLeadingSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    // Saturates just past the positive limit, which is enough to clamp either sign.
    constexpr int64_t kPastLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - L'0'), kPastLimit);
    }
    const int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

std::vector<std::wstring> PrintSettingsLines(const Settings& settings) {
    std::vector<std::wstring> lines;
    lines.reserve(std::size(kKeys));
    for (const SettingsKey& key : kKeys) {
        std::wstring line = std::wstring(key.name) + L"=";
        switch (key.kind) {
            case ValueKind::Flag: line += settings.*key.flag ? L"1" : L"0"; break;
            case ValueKind::Number:
            case ValueKind::WindowNumber: line += std::to_wstring(settings.*key.number); break;
            case ValueKind::Text: line += FirstLineOf(settings.*key.text); break;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

Settings ParseSettingsLines(const std::vector<std::wstring>& lines) {
    Settings settings;
    for (const std::wstring& line : lines) {
        const std::optional<std::wstring_view> name = KeyOf(line);
        if (!name) continue;
        const std::wstring_view value = std::wstring_view(line).substr(name->size() + 1);
        const auto key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                      [&](const SettingsKey& candidate) { return *name == candidate.name; });
        if (key == std::end(kKeys)) continue;
        switch (key->kind) {
            case ValueKind::Flag: settings.*key->flag = value == L"1"; break;
            case ValueKind::Number: settings.*key->number = ParseDecimal(value); break;
            case ValueKind::WindowNumber:
                settings.*key->number = ParseDecimal(value);
                settings.HasWindowRect = true;
                break;
            case ValueKind::Text: settings.*key->text = std::wstring(value); break;
        }
    }
    return settings;
}

std::vector<std::wstring> WithSettingLines(std::vector<std::wstring> lines,
                                           const std::vector<std::wstring>& replacements) {
    for (const std::wstring& line : replacements) {
        const std::optional<std::wstring_view> name = KeyOf(line);
        if (!name) continue;
        const auto existing = std::find_if(lines.begin(), lines.end(), [&name](const std::wstring& candidate) {
            return KeyOf(candidate) == name;
        });
        if (existing != lines.end()) {
            *existing = line;
            // A load takes the last line of a key, so a later one would hide this value.
            lines.erase(std::remove_if(std::next(existing), lines.end(),
                                       [&name](const std::wstring& candidate) { return KeyOf(candidate) == name; }),
                        lines.end());
        } else {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::wstring> CompleteSettingsLines(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> complete = PrintSettingsLines(Settings{});
    std::vector<std::wstring> unknown;
    for (const std::wstring& line : lines) {
        const std::optional<std::wstring_view> name = KeyOf(line);
        const auto key = std::find_if(std::begin(kKeys), std::end(kKeys), [&name](const SettingsKey& candidate) {
            return name && *name == candidate.name;
        });
        if (key == std::end(kKeys)) {
            unknown.push_back(line);
        } else {
            complete[static_cast<size_t>(key - std::begin(kKeys))] = line;
        }
    }
    complete.insert(complete.end(), unknown.begin(), unknown.end());
    return complete;
}

std::vector<std::wstring> WithSettingValues(std::vector<std::wstring> lines,
                                            const std::vector<std::pair<std::wstring, int64_t>>& values) {
    std::vector<std::wstring> replacements;
    replacements.reserve(values.size());
    for (const auto& [name, value] : values) replacements.push_back(name + L"=" + std::to_wstring(value));
    return WithSettingLines(std::move(lines), replacements);
}

namespace {

// Computed wide, so that an absurd rectangle cannot overflow.
std::vector<std::pair<std::wstring, int64_t>> WindowRectValues(const RECT& rect) {
    return {
        {L"WindowX", rect.left},
        {L"WindowY", rect.top},
        {L"WindowWidth", int64_t{rect.right} - rect.left},
        {L"WindowHeight", int64_t{rect.bottom} - rect.top},
    };
}

}  // namespace

std::vector<std::wstring> WithWindowRect(std::vector<std::wstring> lines, const RECT& rect) {
    return WithSettingValues(std::move(lines), WindowRectValues(rect));
}

namespace {

// A settings.txt that exists but cannot be read whole is left alone rather
// than rewritten from what little could be read.
void ReplaceSettingLines(const std::wstring& path, const std::vector<std::wstring>& replacements) {
    std::vector<std::wstring> lines;
    if (!TryReadLines(path, lines)) return;
    const std::vector<std::wstring> replaced = WithSettingLines(lines, replacements);
    // A save that changes no value leaves the file as the user or another tool left it.
    if (replaced == lines) return;
    SaveLines(path, CompleteSettingsLines(replaced));
}

// Run as a save job, so that the lines it keeps are those the file holds when
// the job's turn comes, with every earlier save in them.
void QueueSettingLines(std::vector<std::wstring> replacements) {
    QueueSave([path = ConfigFilePath(kSettingsFileName), replacements = std::move(replacements)] {
        ReplaceSettingLines(path, replacements);
    });
}

}  // namespace

void SaveSettingsOf(const Settings& settings, const std::vector<std::wstring>& keys) {
    std::vector<std::wstring> replacements = PrintSettingsLines(settings);
    std::erase_if(replacements, [&keys](const std::wstring& line) {
        return std::find(keys.begin(), keys.end(), KeyOf(line).value_or(std::wstring_view())) == keys.end();
    });
    QueueSettingLines(std::move(replacements));
}

void SaveWindowRect(const RECT& rect) { QueueSettingLines(WithSettingValues({}, WindowRectValues(rect))); }

void SaveTakeoverOffAt(const std::wstring& settingsPath) { ReplaceSettingLines(settingsPath, {L"Takeover=0"}); }

void SaveTabList(const Settings& settings) {
    QueueSave([tabsPath = ConfigFilePath(kTabsFileName), settingsPath = ConfigFilePath(kSettingsFileName),
               historiesPath = ConfigFilePath(kTabHistoryFileName), tabPathsUnreadable = settings.TabPathsUnreadable,
               splitsPath = ConfigFilePath(kTabSplitFileName), tabPaths = settings.TabPaths,
               marksPath = ConfigFilePath(kTabMarksFileName), histories = settings.TabHistories,
               splits = settings.TabSplits, marks = settings.TabMarkings,
               activeTabLine = WithSettingValues({}, {{L"ActiveTab", settings.ActiveTab}})] {
        if (!tabPathsUnreadable) {
            SaveLines(tabsPath, tabPaths);
            SaveLines(historiesPath, TabHistoryLines(histories, tabPaths));
            SaveLines(splitsPath, TabSplitLines(splits, tabPaths));
            SaveLines(marksPath, TabMarksLines(marks, tabPaths));
        }
        ReplaceSettingLines(settingsPath, activeTabLine);
    });
}

void SaveFavoriteList(const Settings& settings) {
    if (settings.FavoritesUnreadable) return;
    QueueSave([path = ConfigFilePath(kFavoritesFileName), favorites = settings.Favorites] {
        SaveLines(path, favorites);
    });
}
