#pragma once

#include <array>

// The shell keys the folder takeover rewrites, all under HKCU\Software\Classes.
// Every loop over them (backup, writing, checking, restoring, deleting,
// reporting) goes in this order.

struct TakeoverKey {
    const wchar_t* key;               // the open command's key
    const wchar_t* backupName;        // its value name in the backup key
    const wchar_t* argumentTemplate;  // what follows the program in its command line
};

// Folder\shell\opennewwindow is left to the system: the Start menu and the shell
// open known folders through it in ways a program cannot stand in for.
inline constexpr std::array<TakeoverKey, 9> TakeoverKeys{{
    {L"Directory\\shell\\open\\command", L"DirOpen", L"\"%1\""},
    {L"Directory\\shell\\opennewprocess\\command", L"DirOpenNew", L"\"%1\""},
    {L"Folder\\shell\\open\\command", L"FolderOpen", L"\"%1\""},
    {L"Folder\\shell\\opennewprocess\\command", L"FolderOpenNew", L"\"%1\""},
    {L"DesktopFolder\\shell\\open\\command", L"DeskOpen", L"\"%1\""},
    {L"LibraryFolder\\shell\\open\\command", L"LibOpen", L"\"%1\""},
    {L"Drive\\shell\\open\\command", L"DriveOpen", L"\"%1\""},
    {L"Directory\\Background\\shell\\open\\command", L"BgOpen", L"/d \"%V\""},
    {L"Applications\\Quorlen.exe\\shell\\open\\command", L"AppOpen", L"\"%1\""},
}};

// Earlier versions took this key over too; it is given back when their
// takeover is carried over.
inline constexpr TakeoverKey kLegacyNewWindowKey{L"Folder\\shell\\opennewwindow\\command", L"FolderOpenWin",
                                                 L"\"%1\""};

// Verb keys whose menu caption the takeover sets.
struct TitleVerbKey {
    const wchar_t* key;
    const wchar_t* backupName;
};

inline constexpr std::array<TitleVerbKey, 2> TitleVerbKeys{{
    {L"Folder\\shell\\opennewprocess", L"FolderOpenNewTitle"},
    {L"Directory\\shell\\opennewprocess", L"DirOpenNewTitle"},
}};

// Under HKEY_CURRENT_USER.
inline constexpr wchar_t kClassesKey[] = L"Software\\Classes";
// Where earlier versions kept what the keys held before; read once to carry
// their takeover over, then deleted.
inline constexpr wchar_t kBackupKey[] = L"Software\\Quorlen\\Backup";
// The record of the takeover in force: each key's whole earlier state, the
// program that holds the takeover, the launcher and how far the work got.
inline constexpr wchar_t kRecordKey[] = L"Software\\Quorlen\\Takeover";

// Under kClassesKey: the program's own application key and its display name.
inline constexpr wchar_t kApplicationKey[] = L"Applications\\Quorlen.exe";
inline constexpr wchar_t kFriendlyAppNameValue[] = L"FriendlyAppName";
inline constexpr wchar_t kFriendlyAppName[] = L"Quorlen";

inline constexpr wchar_t kMenuCaptionValue[] = L"MUIVerb";
inline constexpr wchar_t kMenuCaption[] = L"新标签页打开";
inline constexpr wchar_t kDelegateExecuteValue[] = L"DelegateExecute";

// The value beside a backup value that tells whether the original existed.
inline constexpr wchar_t kExistedSuffix[] = L"_Existed";

// Under HKEY_CURRENT_USER: the program's entry in the list of installed programs.
inline constexpr wchar_t kUninstallEntryKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlen";
