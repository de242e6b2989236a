#include "settings/config_backup.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "common/temp_folder.h"
#include "settings/config_dir.h"
#include "settings/history.h"
#include "settings/line_file.h"
#include "settings/save_queue.h"
#include "ui/handles.h"

namespace {

bool MakeFolders(const std::wstring& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return !error;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteText(const std::wstring& path, const std::string& text, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    UniqueKernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        return false;
    }
    file.reset();
    return SetFileAttributesW(path.c_str(), attributes) != FALSE;
}

std::string ReadText(const std::wstring& path) {
    std::string text;
    UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    char buffer[4096];
    DWORD read = 0;
    while (file && ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    return text;
}

// Every file below a folder with its content, by path relative to the folder;
// folders appear with a trailing backslash.
std::vector<std::pair<std::wstring, std::string>> TreeOf(const std::wstring& folder) {
    std::vector<std::pair<std::wstring, std::string>> tree;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::wstring relative = entry->path().wstring().substr(folder.size() + 1);
        if (entry->is_directory(error)) tree.emplace_back(relative + L"\\", "");
        else tree.emplace_back(relative, ReadText(entry->path().wstring()));
    }
    std::sort(tree.begin(), tree.end());
    return tree;
}

std::wstring Uppercase(std::wstring text) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Turns an empty folder into a junction to the target. Windows lets any user do
// this; some systems (Wine among them) cannot.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    UniqueKernelHandle folder(CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const std::wstring substitute = L"\\??\\" + target;
    // The layout of a mount-point reparse buffer: tag, sizes, then both names, each ended by a zero.
    std::vector<BYTE> buffer(16 + (substitute.size() + target.size() + 2) * sizeof(wchar_t));
    auto put16 = [&buffer](size_t at, size_t value) {
        const auto word = static_cast<WORD>(value);
        std::memcpy(buffer.data() + at, &word, sizeof word);
    };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, sizeof tag);
    put16(4, buffer.size() - 8);
    put16(8, 0);
    put16(10, substitute.size() * sizeof(wchar_t));
    put16(12, (substitute.size() + 1) * sizeof(wchar_t));
    put16(14, target.size() * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16, substitute.c_str(), substitute.size() * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), target.c_str(),
                target.size() * sizeof(wchar_t));
    DWORD returned = 0;
    const bool made = folder && DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                                                static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    folder.reset();
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if (made && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    RemoveDirectoryW(link.c_str());
    return false;
}

// The executable's folder is a fresh temporary folder with "config" inside it.
class ConfigBackupTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(temp.Path().empty());
        root = temp.Path().wstring();
        UseAppFolder(root);
    }

    void TearDown() override {
        OverrideConfigDir(L"");
        // Read-only files would outlive the temporary folder.
        std::error_code error;
        for (std::filesystem::recursive_directory_iterator entry(root, error), end; !error && entry != end;
             entry.increment(error)) {
            SetFileAttributesW(entry->path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }

    void UseAppFolder(const std::wstring& folder) {
        app = folder;
        config = app + L"\\config";
        ASSERT_TRUE(MakeFolders(config));
        OverrideConfigDir(config + L"\\");
        ASSERT_TRUE(WriteText(config + L"\\settings.txt", "settings"));
        ASSERT_TRUE(WriteText(config + L"\\history.txt", "history"));
        ASSERT_TRUE(CreateDirectoryW((config + L"\\notes").c_str(), nullptr));
        ASSERT_TRUE(WriteText(config + L"\\notes\\kept.txt", "kept", FILE_ATTRIBUTE_READONLY));
        liveConfig = TreeOf(config);
    }

    [[nodiscard]] static bool Backup(const std::wstring& backupDir) {
        Settings settings;
        settings.BackupDir = backupDir;
        return BackupConfig(settings);
    }

    // The refused run must have left the config folder exactly as it was.
    void ExpectRefused(const std::wstring& backupDir) {
        SCOPED_TRACE(testing::Message() << "BackupDir " << testing::PrintToString(backupDir));
        EXPECT_FALSE(Backup(backupDir));
        EXPECT_EQ(TreeOf(config), liveConfig);
    }

    TempFolder temp;
    std::wstring root;
    std::wstring app;
    std::wstring config;
    std::vector<std::pair<std::wstring, std::string>> liveConfig;
};

TEST(ConfigBackupPaths, BackupDirIsTrimmedOfSpacesAndTabsOnly) {
    EXPECT_EQ(TrimSpacesAndTabs(L" \t D:\\Backup\\ \t"), L"D:\\Backup\\");
    EXPECT_EQ(TrimSpacesAndTabs(L"D:\\My Backup"), L"D:\\My Backup");
    EXPECT_EQ(TrimSpacesAndTabs(L" \t  "), L"");
    EXPECT_EQ(TrimSpacesAndTabs(L"\nD:\\x\r"), L"\nD:\\x\r");
}

TEST(ConfigBackupPaths, OverlapIsEqualInsideOrContainingIgnoringCase) {
    const std::wstring source = L"C:\\App\\config";
    EXPECT_TRUE(TargetOverlapsSource(source, L"c:\\APP\\CONFIG"));
    EXPECT_TRUE(TargetOverlapsSource(source, L"C:\\app\\Config\\config"));
    EXPECT_TRUE(TargetOverlapsSource(source, L"C:\\App\\config\\a\\config"));
    EXPECT_TRUE(TargetOverlapsSource(source, L"C:\\APP"));
    EXPECT_TRUE(TargetOverlapsSource(source, L"C:"));

    EXPECT_FALSE(TargetOverlapsSource(source, L"C:\\App\\config2"));
    EXPECT_FALSE(TargetOverlapsSource(source, L"C:\\App\\conf"));
    EXPECT_FALSE(TargetOverlapsSource(source, L"C:\\Ap"));
    EXPECT_FALSE(TargetOverlapsSource(source, L"D:\\App\\config"));
    EXPECT_FALSE(TargetOverlapsSource(source, L"C:\\Backup\\config"));
}

TEST(ConfigBackupPaths, ParentFolderStopsAtTheRoot) {
    EXPECT_EQ(ParentFolder(L"C:\\App\\config"), L"C:\\App");
    EXPECT_EQ(ParentFolder(L"C:\\App"), L"C:\\");
    EXPECT_EQ(ParentFolder(L"C:\\"), L"");
    EXPECT_EQ(ParentFolder(L"\\\\server\\share\\App"), L"\\\\server\\share");
    EXPECT_EQ(ParentFolder(L"\\\\server\\share"), L"");
    EXPECT_EQ(ParentFolder(L"\\\\?\\C:\\App"), L"\\\\?\\C:\\");
    EXPECT_EQ(ParentFolder(L"\\\\?\\C:\\"), L"");
    EXPECT_EQ(ParentFolder(L"\\\\?\\UNC\\server\\share\\App"), L"\\\\?\\UNC\\server\\share");
    EXPECT_EQ(ParentFolder(L"\\\\?\\UNC\\server\\share"), L"");
}

TEST(ConfigBackupPaths, OnlyJunctionsAndSymbolicLinksCountAsFolderLinks) {
    const DWORD link = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_TRUE(IsFolderLink(link, IO_REPARSE_TAG_MOUNT_POINT));
    EXPECT_TRUE(IsFolderLink(link, IO_REPARSE_TAG_SYMLINK));
    EXPECT_TRUE(IsFolderLink(link, 0));
    // A cloud placeholder is a real folder that happens to be a reparse point.
    EXPECT_FALSE(IsFolderLink(link, 0x9000001A));
    EXPECT_FALSE(IsFolderLink(FILE_ATTRIBUTE_DIRECTORY, 0));
    EXPECT_FALSE(IsFolderLink(FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_SYMLINK));

    // File links are links too, so that a copy does not follow them.
    EXPECT_TRUE(IsLink(FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_SYMLINK));
    EXPECT_FALSE(IsLink(FILE_ATTRIBUTE_REPARSE_POINT, 0x9000001A));
    EXPECT_FALSE(IsLink(FILE_ATTRIBUTE_NORMAL, 0));
}

TEST(ConfigBackupPaths, OnlyFoldersFromADriveRootOrAShareAreAbsolute) {
    EXPECT_TRUE(IsAbsoluteFolderPath(L"D:\\Backup"));
    EXPECT_TRUE(IsAbsoluteFolderPath(L"d:/Backup"));
    EXPECT_TRUE(IsAbsoluteFolderPath(L"\\\\server\\share\\Backup"));
    EXPECT_FALSE(IsAbsoluteFolderPath(L"Backup"));
    EXPECT_FALSE(IsAbsoluteFolderPath(L"D:Backup"));
    EXPECT_FALSE(IsAbsoluteFolderPath(L"\\Backup"));
    EXPECT_FALSE(IsAbsoluteFolderPath(L".\\Backup"));
    EXPECT_FALSE(IsAbsoluteFolderPath(L""));
}

TEST_F(ConfigBackupTest, BlankBackupDirIsRefusedAndCreatesNothing) {
    const auto before = TreeOf(root);
    EXPECT_FALSE(Backup(L""));
    EXPECT_FALSE(Backup(L"   "));
    EXPECT_FALSE(Backup(L" \t "));
    EXPECT_EQ(TreeOf(root), before);
}

TEST_F(ConfigBackupTest, RelativeBackupDirIsRefusedAndCreatesNothing) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(root);
    const auto before = TreeOf(root);
    EXPECT_FALSE(Backup(L"Backup"));
    EXPECT_FALSE(Backup(L"..\\Backup"));
    EXPECT_EQ(TreeOf(root), before);
    std::filesystem::current_path(previous);
}

TEST_F(ConfigBackupTest, TargetThatIsTheConfigFolderIsRefused) {
    ExpectRefused(app);
    ExpectRefused(Uppercase(app));
    ExpectRefused(app + L"\\");
    ExpectRefused(L"  " + app + L"\\\t");
    ExpectRefused(app + L"\\.");
    ExpectRefused(app + L"\\notes\\..");
    std::wstring slashes = app;
    std::replace(slashes.begin(), slashes.end(), L'\\', L'/');
    ExpectRefused(slashes);
    ExpectRefused(L"\\\\?\\" + app);
}

TEST_F(ConfigBackupTest, TargetInsideTheConfigFolderIsRefused) {
    ExpectRefused(config);
    ExpectRefused(Uppercase(config));
    ExpectRefused(config + L"\\notes");
    ExpectRefused(config + L"\\new\\deeper");
    ExpectRefused(app + L"/config/.");
    EXPECT_FALSE(Exists(config + L"\\config"));
    EXPECT_FALSE(Exists(config + L"\\new"));
}

TEST_F(ConfigBackupTest, TargetContainingTheConfigFolderIsRefused) {
    // The executable lies in a folder named "config", so BackupDir\config holds the live folder.
    UseAppFolder(root + L"\\config\\App");
    ExpectRefused(root);
    ExpectRefused(Uppercase(root) + L"\\");
    ExpectRefused(app + L"\\..\\..");
}

TEST_F(ConfigBackupTest, ShortNameOfTheExecutablesFolderIsRefused) {
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(GetShortPathNameW(app.c_str(), shortName.data(), MAX_PATH));
    if (shortName.empty() || _wcsicmp(shortName.c_str(), app.c_str()) == 0) {
        GTEST_SKIP() << "this volume gives no short names";
    }
    ExpectRefused(shortName);
    ExpectRefused(shortName + L"\\config");
}

TEST_F(ConfigBackupTest, OldCopyIsReplacedByAMirrorOfTheConfigFolder) {
    const std::wstring backup = root + L"\\Backup";
    const std::wstring target = backup + L"\\config";
    ASSERT_TRUE(MakeFolders(target + L"\\gone"));
    ASSERT_TRUE(WriteText(target + L"\\old.txt", "old"));
    ASSERT_TRUE(WriteText(target + L"\\settings.txt", "older settings"));
    ASSERT_TRUE(WriteText(target + L"\\locked.txt", "locked", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteText(target + L"\\gone\\deep.txt", "deep", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW((target + L"\\gone").c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(Backup(L" " + backup + L"\\ "));
    EXPECT_EQ(TreeOf(target), liveConfig);

    // The read-only file copied from the config folder does not block the next
    // run, and the copy holds the saves asked for before it. The first of them
    // waits until the copy has begun, so a copy that did not wait for them would
    // be made without them.
    std::promise<void> copyBegun;
    QueueSave([begun = copyBegun.get_future().share()] { begun.wait(); });
    const std::vector<std::wstring> pushed = PushedHistory(ReadLines(config + L"\\history.txt"), L"D:\\closed", 100);
    PushHistory(L"D:\\closed", 100);
    bool sawCopyBegin = false;
    std::thread watcher([&] {
        // The new copy is made beside the old one, under this name.
        const ULONGLONG deadline = GetTickCount64() + 30000;
        while (!sawCopyBegin && GetTickCount64() < deadline) {
            sawCopyBegin = Exists(target + L".saving");
            if (!sawCopyBegin) Sleep(1);
        }
        copyBegun.set_value();
    });
    EXPECT_TRUE(Backup(backup));
    watcher.join();
    EXPECT_TRUE(sawCopyBegin) << "the backup's new copy never appeared beside " << testing::PrintToString(target);
    EXPECT_EQ(ReadLines(target + L"\\history.txt"), pushed);
    EXPECT_EQ(TreeOf(target), TreeOf(config));
}

TEST_F(ConfigBackupTest, MissingBackupFolderIsCreatedWithAllItsParents) {
    const std::wstring backup = root + L"\\New\\Deep\\Er";
    EXPECT_TRUE(Backup(backup));
    EXPECT_EQ(TreeOf(backup + L"\\config"), liveConfig);
}

TEST_F(ConfigBackupTest, BackupFolderOrTargetThatIsAFileIsAFailure) {
    ASSERT_TRUE(WriteText(root + L"\\file", "a file"));
    EXPECT_FALSE(Backup(root + L"\\file"));
    EXPECT_EQ(ReadText(root + L"\\file"), "a file");

    ASSERT_TRUE(CreateDirectoryW((root + L"\\Backup").c_str(), nullptr));
    ASSERT_TRUE(WriteText(root + L"\\Backup\\config", "in the way"));
    EXPECT_FALSE(Backup(root + L"\\Backup"));
}

TEST_F(ConfigBackupTest, DeleteTreeRemovesReadOnlyAndHiddenFilesAndFolders) {
    const std::wstring folder = root + L"\\Doomed";
    ASSERT_TRUE(MakeFolders(folder + L"\\a\\b"));
    ASSERT_TRUE(WriteText(folder + L"\\plain.txt", "x"));
    ASSERT_TRUE(WriteText(folder + L"\\a\\hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(WriteText(folder + L"\\a\\b\\readonly.txt", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW((folder + L"\\a").c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(DeleteTree(folder));
    EXPECT_FALSE(Exists(folder));
    EXPECT_FALSE(DeleteTree(folder));
}

TEST_F(ConfigBackupTest, CopyTreeCopiesSubfoldersAndOverwritesFiles) {
    const std::wstring target = root + L"\\Copy";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    ASSERT_TRUE(WriteText(target + L"\\settings.txt", "stale"));
    EXPECT_TRUE(CopyTree(config, target));
    EXPECT_EQ(TreeOf(target), liveConfig);
}

class ConfigBackupLinkTest : public ConfigBackupTest {
protected:
    void SetUp() override {
        ConfigBackupTest::SetUp();
        elsewhere = root + L"\\Elsewhere";
        ASSERT_TRUE(CreateDirectoryW(elsewhere.c_str(), nullptr));
        ASSERT_TRUE(WriteText(elsewhere + L"\\precious.txt", "precious"));
        if (!MakeJunction(root + L"\\probe", elsewhere)) GTEST_SKIP() << "this system cannot create junctions";
        ASSERT_TRUE(RemoveDirectoryW((root + L"\\probe").c_str()));
    }

    std::wstring elsewhere;
};

TEST_F(ConfigBackupLinkTest, DeleteTreeRemovesJunctionsButNotWhatTheyPointTo) {
    const std::wstring folder = root + L"\\Doomed";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(MakeJunction(folder + L"\\link", elsewhere));
    EXPECT_TRUE(DeleteTree(folder));
    EXPECT_FALSE(Exists(folder));

    ASSERT_TRUE(MakeJunction(root + L"\\link", elsewhere));
    EXPECT_TRUE(DeleteTree(root + L"\\link"));
    EXPECT_FALSE(Exists(root + L"\\link"));

    EXPECT_EQ(ReadText(elsewhere + L"\\precious.txt"), "precious");
}

TEST_F(ConfigBackupLinkTest, CopyTreeDoesNotFollowAJunctionLoop) {
    ASSERT_TRUE(MakeJunction(config + L"\\loop", config));
    const std::wstring target = root + L"\\Copy";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    EXPECT_TRUE(CopyTree(config, target));
    EXPECT_EQ(TreeOf(target), liveConfig);
}

TEST_F(ConfigBackupLinkTest, BackupThroughAJunctionToTheConfigFolderIsRefused) {
    ASSERT_TRUE(MakeJunction(root + L"\\AppLink", app));
    ExpectRefused(root + L"\\AppLink");
    ASSERT_TRUE(MakeJunction(root + L"\\ConfigLink", config));
    ExpectRefused(root + L"\\ConfigLink");
}

TEST_F(ConfigBackupLinkTest, OldCopyThatIsAJunctionIsReplacedWithoutTouchingWhatItPointsTo) {
    const std::wstring backup = root + L"\\Backup";
    ASSERT_TRUE(CreateDirectoryW(backup.c_str(), nullptr));
    ASSERT_TRUE(MakeJunction(backup + L"\\config", elsewhere));
    EXPECT_TRUE(Backup(backup));
    EXPECT_EQ(TreeOf(backup + L"\\config"), liveConfig);
    EXPECT_EQ(TreeOf(elsewhere), (std::vector<std::pair<std::wstring, std::string>>{{L"precious.txt", "precious"}}));
}

}  // namespace
