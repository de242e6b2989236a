#pragma once

#include <cstdint>
#include <string>
#include <utility>

// Which of the control's navigations belong to the navigation pane. A folder
// chosen in the tree opens in a tab while the panel stays where it is; the
// control cannot be asked for that, so the panel cancels the navigation the
// choice starts and, should the control arrive there anyway, sends it back.
// This decides; the panel does the shell's part.
//
// The trees differ in when they navigate: Wine's at once, inside the selection
// notification; Windows' a moment after it, so a choice waits for the
// navigation that soon follows. Times are GetTickCount64 readings.
class TreeDiversion {
public:
    enum class Verdict { LetThrough, OpenInTab, OpenInBackgroundTab };

    // Until the panel is set up nothing is diverted.
    void PanelReady() { ready = true; }
    // The panel starts a navigation of its own: whatever the tree chose before
    // does not claim it.
    void OwnNavigationBegan();
    // The panel sends the control back after a diverted navigation arrived
    // anyway; a choice made in the meantime still stands.
    void BounceBackBegan() { state = State::OwnNavigation; }
    // Brackets the tree's selection notification. byUser: chosen by mouse or
    // keyboard; the selections the control makes to follow the folder shown
    // choose nothing.
    void SelectionBegan(bool byUser, std::uint64_t now);
    void SelectionEnded();
    // A middle click on a tree item, which then selects it: the folder goes to a
    // tab behind the active one.
    void MiddleClickChose(std::uint64_t now);
    // A folder picked by its parsing path: the next navigation that is not the
    // panel's own is diverted if it goes there; any other end drops the pick.
    void TargetPicked(std::wstring path) { targetPath = std::move(path); }

    // Whether a navigation starting now could be the tree's, so that the folder's
    // parsing path is worth asking the shell for; NavigationPending takes an
    // empty one otherwise.
    [[nodiscard]] bool NeedsFolderPath(std::uint64_t now) const;
    // The control starts navigating to the folder with this parsing path (empty
    // when the shell cannot name it). After a diversion the control's next
    // completion is taken for the cancelled navigation's, until one fails.
    [[nodiscard]] Verdict NavigationPending(const std::wstring& folderPath, std::uint64_t now);
    // True once after a diverted navigation: the control arrived anyway, and
    // the panel goes back to where it was.
    [[nodiscard]] bool NavigationComplete();
    void NavigationFailed();

private:
    // Who the next navigation belongs to. The panel's own outranks the tree:
    // a choice made meanwhile waits in chosenAt until the own one has started.
    enum class State {
        // Nobody's: it is diverted only to a picked target.
        Idle,
        OwnNavigation,
        // Inside the tree's selection notification, where Wine's tree navigates.
        Selecting,
        // A choice made at chosenAt waits for the navigation Windows' tree starts.
        Chosen,
    };

    // Where the tree's claim stands once nothing outranks it.
    [[nodiscard]] State WaitingState() const { return chosenAt != 0 ? State::Chosen : State::Idle; }

    State state = State::Idle;
    // 0 when no choice waits.
    std::uint64_t chosenAt = 0;
    bool opensBehind = false;
    std::wstring targetPath;
    bool bounceBack = false;
    bool ready = false;
};
