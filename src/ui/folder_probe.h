#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// Whether a folder can be asked about without waiting: one on a slow, remote or
// missing drive can keep whoever asks the shell about it waiting as long as the
// network's time-out, so such a folder is first looked up on a thread of its
// own. Folders on the computer's own fixed drives and the shell's virtual
// folders answer at once and are never looked up.
enum class FolderReach { Ready, Asking, Unreachable };

// Whether asking the shell about the folder may keep the caller waiting: a
// path on a share, or on a drive that is not one of the computer's fixed ones.
[[nodiscard]] bool MayKeepWaiting(const std::wstring& folder);

class FolderProbe {
public:
    // Whether the shell knows the folder, asked on the probing thread.
    using Lookup = std::function<bool(const std::wstring&)>;
    // Whether the folder is on a drive that answers at once, asked on the caller's thread.
    using AtOnce = std::function<bool(const std::wstring&)>;

    explicit FolderProbe(Lookup lookup = ShellKnows, AtOnce atOnce = AnswersAtOnce);
    // Lookups still running then tell no one: the window told may be gone.
    ~FolderProbe();
    FolderProbe(const FolderProbe&) = delete;
    FolderProbe& operator=(const FolderProbe&) = delete;

    // Ready or Unreachable once known; Asking while the lookup runs, which the
    // first question starts. Answers are kept until Forget.
    [[nodiscard]] FolderReach Reach(const std::wstring& folder);

    // From now on each lookup that ends posts message to window.
    void TellWhenAnswered(HWND window, UINT message);

    // Lets go of every answer, so that the next questions look again; lookups
    // still running report to no one.
    void Forget();

    // The question the window's thread would ask: a share's server ("\\\\server")
    // is a folder to the shell too, though no file has its name.
    static bool ShellKnows(const std::wstring& folder);
    static bool AnswersAtOnce(const std::wstring& folder) { return !MayKeepWaiting(folder); }

private:
    struct Answers;
    struct Job;
    static DWORD WINAPI Run(void* parameter);

    Lookup lookup;
    AtOnce atOnce;
    std::shared_ptr<Answers> answers;
};
