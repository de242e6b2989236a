#include "panel/tree_diversion.h"

#include <utility>

namespace {

// A selection that starts no navigation must not claim one the view starts
// later, so a choice waits this long at most.
constexpr std::uint64_t kChoiceWaitMs = 1500;

// A clock read out of order is no claim.
bool ChoiceStillOpen(std::uint64_t madeAt, std::uint64_t now) {
    return madeAt != 0 && now >= madeAt && now - madeAt < kChoiceWaitMs;
}

}  // namespace

void TreeDiversion::OwnNavigationBegan() {
    state = State::OwnNavigation;
    chosenAt = 0;
    opensBehind = false;
}

void TreeDiversion::SelectionBegan(bool byUser, std::uint64_t now) {
    if (byUser) chosenAt = now;
    if (state != State::OwnNavigation) state = State::Selecting;
}

void TreeDiversion::SelectionEnded() {
    if (state == State::Selecting) state = WaitingState();
}

void TreeDiversion::MiddleClickChose(std::uint64_t now) {
    chosenAt = now;
    opensBehind = true;
    if (state == State::Idle) state = State::Chosen;
}

bool TreeDiversion::NeedsFolderPath(std::uint64_t now) const {
    if (state == State::OwnNavigation) return false;
    return state == State::Selecting || ChoiceStillOpen(chosenAt, now) || !targetPath.empty();
}

TreeDiversion::Verdict TreeDiversion::NavigationPending(const std::wstring& folderPath, std::uint64_t now) {
    if (state == State::OwnNavigation) {
        state = WaitingState();
        return Verdict::LetThrough;
    }
    // Whatever the outcome, a choice claims one navigation only.
    const bool selecting = state == State::Selecting;
    const bool chosen = ChoiceStillOpen(std::exchange(chosenAt, 0), now);
    const bool behind = std::exchange(opensBehind, false) && (chosen || selecting);
    if (!selecting) state = State::Idle;
    if (selecting || chosen) targetPath = folderPath;
    if (!ready || targetPath.empty()) return Verdict::LetThrough;
    const bool toTarget = folderPath == targetPath;
    targetPath.clear();
    if (!toTarget) return Verdict::LetThrough;
    bounceBack = true;
    return behind ? Verdict::OpenInBackgroundTab : Verdict::OpenInTab;
}

bool TreeDiversion::NavigationComplete() {
    if (std::exchange(bounceBack, false)) return true;
    targetPath.clear();
    return false;
}

void TreeDiversion::NavigationFailed() {
    bounceBack = false;
    targetPath.clear();
}
