#include "takeover/takeover_decision.h"

#include <gtest/gtest.h>

namespace {

// A finished takeover held by this copy, every command ours, the launcher current.
TakeoverSurvey InForce() {
    TakeoverSurvey survey;
    survey.record = true;
    survey.recordFinished = true;
    survey.holder = L"C:\\Tools\\Quorlen.exe";
    survey.holderIsThis = true;
    survey.holderExists = true;
    survey.commands.assign(9, KeyHolder::Ours);
    survey.launcher = LauncherState::Current;
    return survey;
}

TEST(TakeoverDecision, OnlyUnambiguousCasesAreActedOnWithoutAQuestion) {
    EXPECT_EQ(DecideAtStartup(InForce(), true), StartupAction::None);

    TakeoverSurvey survey = InForce();
    survey.launcher = LauncherState::Missing;
    EXPECT_EQ(DecideAtStartup(survey, true), StartupAction::Repair);
    survey.launcher = LauncherState::Outdated;
    EXPECT_EQ(DecideAtStartup(survey, true), StartupAction::Repair);
    // A launcher a later version wrote is left to it.
    survey.launcher = LauncherState::Newer;
    EXPECT_EQ(DecideAtStartup(survey, true), StartupAction::None);

    survey = InForce();
    survey.holderIsThis = false;
    survey.holderExists = false;
    EXPECT_EQ(DecideAtStartup(survey, true), StartupAction::FollowMove);
    survey.holderExists = true;
    EXPECT_EQ(DecideAtStartup(survey, true), StartupAction::AskOtherCopy);

    survey = InForce();
    survey.commands[2] = KeyHolder::Other;
    EXPECT_EQ(DecideAtStartup(survey, true), StartupAction::AskOtherHolder);
    survey.commands[2] = KeyHolder::Missing;
    EXPECT_EQ(DecideAtStartup(survey, true), StartupAction::AskOtherHolder);

    EXPECT_EQ(DecideAtStartup(TakeoverSurvey{}, true), StartupAction::AskNoRecord);
}

TEST(TakeoverDecision, WithTheSwitchOffNothingIsTakenOverOrAsked) {
    TakeoverSurvey survey = InForce();
    survey.holderIsThis = false;
    survey.commands[0] = KeyHolder::Other;
    survey.launcher = LauncherState::Missing;
    EXPECT_EQ(DecideAtStartup(survey, false), StartupAction::None);
    EXPECT_EQ(DecideAtStartup(TakeoverSurvey{}, false), StartupAction::None);
}

TEST(TakeoverDecision, CutOffWorkAndEarlierVersionsComeFirstWhateverTheSwitch) {
    for (bool setting : {false, true}) {
        TakeoverSurvey survey = InForce();
        survey.recordFinished = false;
        EXPECT_EQ(DecideAtStartup(survey, setting), StartupAction::FinishUndo);
        TakeoverSurvey earlier;
        earlier.earlierBackup = true;
        EXPECT_EQ(DecideAtStartup(earlier, setting), StartupAction::CarryOver);
        // An earlier backup beside a record of ours is a leftover, not a takeover.
        survey = InForce();
        survey.earlierBackup = true;
        EXPECT_EQ(DecideAtStartup(survey, setting), StartupAction::None);
    }
}

TEST(TakeoverDecision, TheStatusSaysWhatIsTrue) {
    EXPECT_EQ(TakeoverStatusText(TakeoverSurvey{}), L"当前状态：未接管");
    EXPECT_NE(TakeoverStatusText(InForce()).find(L"已接管"), std::wstring::npos);
    TakeoverSurvey survey = InForce();
    survey.commands[0] = KeyHolder::Other;
    survey.commands[5] = KeyHolder::Missing;
    EXPECT_EQ(TakeoverStatusText(survey), L"当前状态：部分接管：2 项已被其他程序修改");
    survey.commands.assign(9, KeyHolder::Other);
    EXPECT_EQ(TakeoverStatusText(survey).find(L"已接管"), std::wstring::npos);
    survey = InForce();
    survey.launcher = LauncherState::Missing;
    EXPECT_NE(TakeoverStatusText(survey).find(L"启动器缺失"), std::wstring::npos);
}

TEST(TakeoverDecision, QuestionsNameWhoHoldsTheKeys) {
    TakeoverSurvey survey = InForce();
    survey.commands[0] = KeyHolder::Other;
    survey.otherProgram = L"C:\\FM\\fm.exe";
    EXPECT_NE(StartupQuestion(StartupAction::AskOtherHolder, survey).find(L"C:\\FM\\fm.exe"), std::wstring::npos);
    survey.holder = L"D:\\Copy\\Quorlen.exe";
    EXPECT_NE(StartupQuestion(StartupAction::AskOtherCopy, survey).find(L"D:\\Copy\\Quorlen.exe"), std::wstring::npos);
    EXPECT_NE(StartupQuestion(StartupAction::AskNoRecord, TakeoverSurvey{}).find(L"系统默认"), std::wstring::npos);
    const std::wstring report = TakeoverCheckReport(survey);
    EXPECT_NE(report.find(L"8/9"), std::wstring::npos);
    EXPECT_NE(report.find(L"C:\\FM\\fm.exe"), std::wstring::npos);
}

}  // namespace
