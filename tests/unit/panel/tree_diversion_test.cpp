#include "panel/tree_diversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using Verdict = TreeDiversion::Verdict;

const std::wstring kChosenFolder = L"C:\\Windows\\System32";
const std::wstring kOtherFolder = L"C:\\Windows";

TreeDiversion ReadyDiversion() {
    TreeDiversion diversion;
    diversion.PanelReady();
    return diversion;
}

// A click in Windows' tree, which navigates only after the notification.
void ChooseInTree(TreeDiversion& diversion, std::uint64_t at) {
    diversion.SelectionBegan(true, at);
    diversion.SelectionEnded();
}

TEST(TreeDiversionRules, AUsersChoiceDivertsTheNavigationItStartsToATab) {
    TreeDiversion later = ReadyDiversion();
    ChooseInTree(later, 10000);
    EXPECT_EQ(later.NavigationPending(kChosenFolder, 10200), Verdict::OpenInTab);
    EXPECT_EQ(later.NavigationPending(kOtherFolder, 10300), Verdict::LetThrough) << "a choice claims one navigation";

    // Wine's tree navigates inside the notification.
    TreeDiversion atOnce = ReadyDiversion();
    atOnce.SelectionBegan(true, 10000);
    EXPECT_EQ(atOnce.NavigationPending(kChosenFolder, 10000), Verdict::OpenInTab);
    atOnce.SelectionEnded();
    EXPECT_EQ(atOnce.NavigationPending(kOtherFolder, 10100), Verdict::LetThrough);

    TreeDiversion following = ReadyDiversion();
    following.SelectionBegan(false, 10000);
    following.SelectionEnded();
    EXPECT_EQ(following.NavigationPending(kChosenFolder, 10200), Verdict::LetThrough)
        << "the control's selection to follow the folder shown chose nothing";

    TreeDiversion notSetUp;
    ChooseInTree(notSetUp, 10000);
    EXPECT_EQ(notSetUp.NavigationPending(kChosenFolder, 10200), Verdict::LetThrough);
}

TEST(TreeDiversionRules, AMiddleClickDivertsToATabBehindTheActiveOne) {
    TreeDiversion diversion = ReadyDiversion();
    // The panel selects the clicked item itself, so the tree reports no user's choice.
    diversion.MiddleClickChose(10000);
    diversion.SelectionBegan(false, 10000);
    diversion.SelectionEnded();
    EXPECT_EQ(diversion.NavigationPending(kChosenFolder, 10200), Verdict::OpenInBackgroundTab);
    ChooseInTree(diversion, 20000);
    EXPECT_EQ(diversion.NavigationPending(kOtherFolder, 20100), Verdict::OpenInTab) << "the next click went behind too";

    diversion.MiddleClickChose(30000);
    EXPECT_EQ(diversion.NavigationPending(kOtherFolder, 31500), Verdict::LetThrough);
    ChooseInTree(diversion, 40000);
    EXPECT_EQ(diversion.NavigationPending(kChosenFolder, 40100), Verdict::OpenInTab)
        << "a middle click that started no navigation sent a later click behind";
}

TEST(TreeDiversionRules, AnOwnNavigationIsNeverDiverted) {
    TreeDiversion diversion = ReadyDiversion();
    ChooseInTree(diversion, 10000);
    diversion.OwnNavigationBegan();
    EXPECT_FALSE(diversion.NeedsFolderPath(10100)) << "an own navigation asked the shell for its folder";
    EXPECT_EQ(diversion.NavigationPending(std::wstring(), 10100), Verdict::LetThrough);
    EXPECT_EQ(diversion.NavigationPending(kChosenFolder, 10200), Verdict::LetThrough)
        << "the choice made before the own navigation outlived it";

    // A click in the tree while the own navigation is on its way claims the tree's, not the panel's.
    diversion.OwnNavigationBegan();
    ChooseInTree(diversion, 20000);
    EXPECT_EQ(diversion.NavigationPending(kOtherFolder, 20050), Verdict::LetThrough);
    EXPECT_EQ(diversion.NavigationPending(kChosenFolder, 20100), Verdict::OpenInTab);
}

TEST(TreeDiversionRules, AStaleChoiceClaimsNothing) {
    // The folder's path is asked for exactly when a choice may claim the navigation.
    const auto verdictAt = [](std::uint64_t chosenAt, std::uint64_t now) {
        TreeDiversion diversion = ReadyDiversion();
        ChooseInTree(diversion, chosenAt);
        return diversion.NavigationPending(diversion.NeedsFolderPath(now) ? kChosenFolder : std::wstring(), now);
    };
    EXPECT_FALSE(ReadyDiversion().NeedsFolderPath(5000)) << "no choice made";
    EXPECT_EQ(verdictAt(10000, 10000), Verdict::OpenInTab);
    EXPECT_EQ(verdictAt(10000, 11499), Verdict::OpenInTab);
    EXPECT_EQ(verdictAt(10000, 11500), Verdict::LetThrough) << "a selection that started nothing is forgotten";
    EXPECT_EQ(verdictAt(10000, 9000), Verdict::LetThrough) << "a clock read out of order is no claim";
}

TEST(TreeDiversionRules, ADivertedNavigationThatArrivesAnywayBouncesBackOnce) {
    // Under Wine all of it happens inside the tree's selection notification.
    TreeDiversion diversion = ReadyDiversion();
    diversion.SelectionBegan(true, 10000);
    ASSERT_EQ(diversion.NavigationPending(kChosenFolder, 10000), Verdict::OpenInTab);
    EXPECT_TRUE(diversion.NavigationComplete());
    diversion.BounceBackBegan();
    EXPECT_EQ(diversion.NavigationPending(kOtherFolder, 10000), Verdict::LetThrough) << "the way back was diverted";
    EXPECT_FALSE(diversion.NavigationComplete()) << "the way back's arrival bounced again";
    diversion.SelectionEnded();

    ChooseInTree(diversion, 20000);
    ASSERT_EQ(diversion.NavigationPending(kChosenFolder, 20100), Verdict::OpenInTab);
    diversion.NavigationFailed();
    EXPECT_FALSE(diversion.NavigationComplete()) << "a failed diversion left a bounce behind";
}

}  // namespace
