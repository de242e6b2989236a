#include "settings/config_backup.h"

#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <optional>

#include "settings/config_dir.h"
#include "settings/save_queue.h"
#include "ui/handles.h"
#include "ui/paths.h"
#include "ui/retry.h"
#include "ui/text.h"

namespace {

// Whether `inner` names a folder below `outer`.
bool LiesInside(const std::wstring& inner, const std::wstring& outer) {
    return outer.size() < inner.size() && StartsWithIgnoringCase(inner, outer) && inner[outer.size()] == L'\\';
}

// Length of the root of a full path: "C:\", "\\server\share", "\\?\C:\" and the like.
size_t RootLength(const std::wstring& path) {
    size_t start = 0;
    bool unc = false;
    if (path.starts_with(L"\\\\?\\UNC\\") || path.starts_with(L"\\\\.\\UNC\\")) {
        start = 8;
        unc = true;
    } else if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) {
        start = 4;
    } else if (path.starts_with(L"\\\\")) {
        start = 2;
        unc = true;
    }
    if (unc) {
        const size_t serverEnd = path.find(L'\\', start);
        if (serverEnd == std::wstring::npos) return path.size();
        const size_t shareEnd = path.find(L'\\', serverEnd + 1);
        return shareEnd == std::wstring::npos ? path.size() : shareEnd;
    }
    if (path.size() >= start + 2 && path[start + 1] == L':') return std::min(path.size(), start + 3);
    const size_t firstBackslash = path.find(L'\\', start);
    return firstBackslash == std::wstring::npos ? path.size() : firstBackslash + 1;
}

// The absolute form of a path, as the file system will read it: "." and ".."
// resolved, forward slashes turned into backslashes, a relative path taken from
// the current folder; without trailing backslashes. Empty when it cannot be formed.
std::wstring FullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    while (size != 0) {
        std::wstring full(size, L'\0');
        const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
        if (length == 0) break;
        if (length < size) {
            full.resize(length);
            return WithoutTrailingBackslashes(std::move(full));
        }
        size = length;
    }
    return {};
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDotEntry(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// Reads the folder's own directory entry, which carries its reparse tag.
bool IsFolderLinkAt(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW(path.c_str(), &entry));
    if (find) return IsFolderLink(entry.dwFileAttributes, entry.dwReserved0);
    // A drive root has no directory entry of its own.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && IsFolderLink(attributes, 0);
}

struct FolderIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// Opening the folder resolves every name it may go by (a short 8.3 name, a
// junction, a substituted drive), so two names of one folder give one identity.
std::optional<FolderIdentity> IdentityOf(const std::wstring& folder) {
    UniqueKernelHandle handle(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!handle || !GetFileInformationByHandle(handle.get(), &information)) return std::nullopt;
    return FolderIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

// Whether the path, or a folder above it, is the given folder.
bool IsAtOrBelow(const std::wstring& path, const FolderIdentity& folder) {
    for (std::wstring current = path; !current.empty(); current = ParentFolder(current)) {
        if (IdentityOf(current) == folder) return true;
    }
    return false;
}

// The text checks see only one name of each folder; the file system knows
// whether two names lead to the same place.
bool TargetReachesSource(const std::wstring& source, const std::wstring& target) {
    const std::optional<FolderIdentity> sourceIdentity = IdentityOf(source);
    if (!sourceIdentity) return true;  // nothing can be proved safe about a folder that cannot be opened
    if (IsAtOrBelow(target, *sourceIdentity)) return true;
    const std::optional<FolderIdentity> targetIdentity = IdentityOf(target);
    return targetIdentity && IsAtOrBelow(source, *targetIdentity);
}

bool DeleteFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (find) {
        do {
            if (IsDotEntry(entry.cFileName)) continue;
            const std::wstring path = folder + L"\\" + entry.cFileName;
            if (IsFolderLink(entry.dwFileAttributes, entry.dwReserved0)) {
                RemoveDirectoryW(path.c_str());
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteFolder(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find.get(), &entry));
    }
    find.reset();  // an open search would keep the folder from going
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(folder.c_str()) != FALSE;
}

// The copy is made beside the old one and only then put in its place, so that
// a run ended at any moment leaves one whole copy: under its own name, or, for
// the moment between two renames, set aside under the old-copy name.
constexpr wchar_t kNewCopySuffix[] = L".saving";
constexpr wchar_t kOldCopySuffix[] = L".replaced";

struct CopyPlaces {
    std::wstring target;  // where the copy lives
    std::wstring fresh;   // the new copy while it is made
    std::wstring old;     // the old copy while the new one takes its place
};

bool IsAbsentOrFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A run that ended between its two renames left the last whole copy set aside.
void RecoverSetAsideCopy(const CopyPlaces& places) {
    if (!Exists(places.target) && IsFolder(places.old)) MoveFileW(places.old.c_str(), places.target.c_str());
}

constexpr int kSwapAttempts = 4;
constexpr DWORD kSwapRetryMs = 50;

bool SwapInNewCopyOnce(const CopyPlaces& places) {
    const bool hadCopy = Exists(places.target);
    if (hadCopy && !MoveFileW(places.target.c_str(), places.old.c_str())) return false;
    if (!MoveFileW(places.fresh.c_str(), places.target.c_str())) {
        if (hadCopy) MoveFileW(places.old.c_str(), places.target.c_str());
        return false;
    }
    DeleteTree(places.old);
    return true;
}

// A folder being read at that moment (by a scan, an indexer, a viewer) cannot
// be renamed: that passes.
bool SwapInNewCopy(const CopyPlaces& places) {
    return TryBriefly(kSwapAttempts, kSwapRetryMs, [&] { return SwapInNewCopyOnce(places); });
}

// Moves every file of the new copy over its namesake in the old one, each in
// one step, so that a run ended at any moment leaves every file whole, as one
// copy or the other had it.
void MoveFilesOver(const std::wstring& from, const std::wstring& to) {
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW((from + L"\\*").c_str(), &entry));
    if (!find) return;
    do {
        if (IsDotEntry(entry.cFileName) || IsLink(entry.dwFileAttributes, entry.dwReserved0)) continue;
        const std::wstring source = from + L"\\" + entry.cFileName;
        const std::wstring target = to + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CreateDirectoryW(target.c_str(), nullptr);
            if (!IsFolderLinkAt(target)) MoveFilesOver(source, target);
        } else {
            SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
            // A file being read at that moment cannot be replaced: that passes too.
            TryBriefly(kSwapAttempts, kSwapRetryMs, [&] {
                return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
            });
        }
    } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

std::wstring TrimSpacesAndTabs(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring BackupTarget(const std::wstring& backupDir) {
    std::wstring target = backupDir + L"\\config";
    while (!target.empty() && target.back() == L'\\') target.pop_back();
    return target;
}

bool TargetOverlapsSource(const std::wstring& source, const std::wstring& target) {
    return EqualsIgnoringCase(source, target) || LiesInside(target, source) || LiesInside(source, target);
}

std::wstring ParentFolder(const std::wstring& path) {
    const size_t root = RootLength(path);
    if (path.size() <= root) return {};
    const size_t cut = path.rfind(L'\\');
    if (cut == std::wstring::npos) return {};
    return path.substr(0, cut < root ? root : cut);
}

bool IsLink(DWORD attributes, DWORD reparseTag) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return false;
    // Cloud placeholders and the like are reparse points too, but real files and folders.
    return reparseTag == 0 || IsReparseTagNameSurrogate(reparseTag);
}

bool IsFolderLink(DWORD attributes, DWORD reparseTag) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && IsLink(attributes, reparseTag);
}

bool IsAbsoluteFolderPath(const std::wstring& path) {
    auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    const bool fromDrive = path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && separator(path[2]);
    const bool fromShare = path.size() >= 2 && separator(path[0]) && separator(path[1]);
    return fromDrive || fromShare;
}

bool CopyTree(const std::wstring& source, const std::wstring& target) {
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW((source + L"\\*").c_str(), &entry));
    if (!find) return true;
    do {
        if (IsDotEntry(entry.cFileName)) continue;
        // A folder link may lead back up this very tree, and copying it would never
        // end; a file link would copy whatever it points to.
        if (IsLink(entry.dwFileAttributes, entry.dwReserved0)) continue;
        const std::wstring from = source + L"\\" + entry.cFileName;
        const std::wstring to = target + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CreateDirectoryW(to.c_str(), nullptr);
            // A link left over in the old copy would carry the copy somewhere else.
            if (IsFolderLinkAt(to)) continue;
            CopyTree(from, to);
        } else {
            CopyFileW(from.c_str(), to.c_str(), FALSE);
        }
    } while (FindNextFileW(find.get(), &entry));
    return true;
}

bool DeleteTree(const std::wstring& folder) {
    // Emptying a link would empty the folder it points to.
    if (IsFolderLinkAt(folder)) return RemoveDirectoryW(folder.c_str()) != FALSE;
    return DeleteFolder(folder);
}

bool BackupConfig(const Settings& settings) {
    const std::wstring backupDir = TrimSpacesAndTabs(settings.BackupDir);
    // A relative folder would depend on whoever started the program.
    if (!IsAbsoluteFolderPath(backupDir)) return false;

    // The checks and the copy use the same full paths, so what was checked is
    // exactly what gets deleted and written.
    const std::wstring source = FullPath(ConfigDir());
    const std::wstring backupFolder = FullPath(backupDir);
    const std::wstring target = FullPath(BackupTarget(backupDir));
    if (source.empty() || backupFolder.empty() || target.empty()) return false;
    const CopyPlaces places{target, target + kNewCopySuffix, target + kOldCopySuffix};
    // Old copies are deleted before new ones are made: a folder that is, holds
    // or lies in the config folder would take the live configuration with it.
    for (const std::wstring* place : {&places.target, &places.fresh, &places.old}) {
        if (TargetOverlapsSource(source, *place) || TargetReachesSource(source, *place)) return false;
    }

    if (SHCreateDirectoryExW(nullptr, backupFolder.c_str(), nullptr) != ERROR_SUCCESS && !IsFolder(backupFolder)) {
        return false;
    }
    RecoverSetAsideCopy(places);
    // Anything but a real folder in the way would send the copy elsewhere.
    for (const std::wstring* place : {&places.target, &places.fresh, &places.old}) {
        if (!IsAbsentOrFolder(*place)) return false;
    }
    DeleteTree(places.fresh);
    DeleteTree(places.old);
    CreateDirectoryW(places.fresh.c_str(), nullptr);
    if (!IsFolder(places.fresh) || IsFolderLinkAt(places.fresh)) return false;
    // The copy holds every save asked for before it, and no save is under way
    // to leave its temporary file in the copy.
    FlushSaves();
    CopyTree(source, places.fresh);
    if (SwapInNewCopy(places)) return true;
    // Something holds the old copy in place (a file of it open): it is
    // refreshed where it stands instead, file by file, never emptied first.
    if (!IsFolder(target) || IsFolderLinkAt(target)) return false;
    MoveFilesOver(places.fresh, target);
    DeleteTree(places.fresh);
    return true;
}
