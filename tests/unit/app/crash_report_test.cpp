#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/crash_report.h"
#include "ui/event_log.h"

namespace {

SYSTEMTIME At(WORD hour, WORD minute, WORD second, WORD milliseconds = 0) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 10;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = milliseconds;
    return time;
}

std::vector<std::wstring> LinesOf(const EventRing& ring) {
    std::vector<std::wstring> lines;
    EXPECT_TRUE(ring.TryVisit([&lines](std::wstring_view line) { lines.emplace_back(line); }));
    return lines;
}

class StringSink final : public ReportSink {
public:
    void Append(std::wstring_view piece) override { text += piece; }
    std::wstring text;
};

TEST(EventRing, KeepsTheNewestLinesOldestFirstEachStampedAndCutToItsSlot) {
    // The size of a ring is no burden on the test thread's stack.
    auto ring = std::make_unique<EventRing>();
    const size_t added = EventRing::kCapacity + 50;
    for (size_t i = 0; i < added; ++i) ring->Add(At(8, 15, 2, 7), L"event", std::to_wstring(i));

    const std::vector<std::wstring> lines = LinesOf(*ring);
    ASSERT_EQ(lines.size(), EventRing::kCapacity);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], L"12-10 08:15:02.007 event " + std::to_wstring(added - EventRing::kCapacity + i));
    }

    ring->Add(At(9, 0, 0), std::wstring(EventRing::kLineLength * 2, L'x'));
    EXPECT_EQ(LinesOf(*ring).back().size(), EventRing::kLineLength);
}

TEST(CrashReport, NamesTheProgramSystemExceptionAndPlaceThenTheEventsInOrder) {
    auto events = std::make_unique<EventRing>();
    events->Add(At(8, 14, 59), L"navigated to", L"C:\\Users");
    events->Add(At(8, 15, 1), L"saved", L"C:\\Quorlen\\config\\tabs.txt");
    CrashFacts facts;
    facts.version = L"1.2.3";
    facts.windowsMajor = 10;
    facts.windowsBuild = 19045;
    facts.time = At(8, 15, 2);
    facts.exceptionCode = EXCEPTION_ACCESS_VIOLATION;
    facts.address = 0x7FF612345678;
    facts.module = L"Quorlen.exe";
    facts.moduleOffset = 0x5678;
    facts.accessKnown = true;
    facts.accessKind = 1;
    facts.accessAddress = 0x10;
    facts.threadId = 4242;
    StringSink sink;
    ComposeCrashReport(facts, *events, sink);

    const std::wstring& text = sink.text;
    for (const wchar_t* expected :
         {L"Quorlen 1.2.3", L"2026-12-10 08:15:02", L"Windows: 10.0.19045", L"0xC0000005 EXCEPTION_ACCESS_VIOLATION",
          L"0x00007FF612345678 Quorlen.exe+0x5678", L"write at 0x0000000000000010", L"4242"}) {
        EXPECT_NE(text.find(expected), std::wstring::npos) << "missing: " << testing::PrintToString(expected);
    }
    const size_t navigated = text.find(L"12-10 08:14:59.000 navigated to C:\\Users\r\n");
    const size_t saved = text.find(L"12-10 08:15:01.000 saved C:\\Quorlen\\config\\tabs.txt\r\n");
    ASSERT_NE(navigated, std::wstring::npos);
    ASSERT_NE(saved, std::wstring::npos);
    EXPECT_LT(navigated, saved);
    EXPECT_TRUE(text.ends_with(L"\r\n"));
    for (size_t feed = text.find(L'\n'); feed != std::wstring::npos; feed = text.find(L'\n', feed + 1)) {
        ASSERT_EQ(text[feed - 1], L'\r') << "a line ends without CR at " << feed;
    }

    facts.exceptionCode = 0xC0000409;
    facts.module = {};
    facts.accessKnown = false;
    sink.text.clear();
    ComposeCrashReport(facts, *events, sink);
    EXPECT_NE(sink.text.find(L"0xC0000409 unknown exception"), std::wstring::npos);
    EXPECT_NE(sink.text.find(L"(in no module)"), std::wstring::npos);
    EXPECT_EQ(sink.text.find(L"Access:"), std::wstring::npos);
}

TEST(CrashReportFiles, OnlyTheReportsBeyondTheNewestFiveAreDeleted) {
    // A report of the year before sorts first however its month and day compare.
    const std::vector<std::wstring> names = {
        L"crash-20261210-081502.dmp", L"crash-20261210-081502.txt", L"crash-20261209-230000.dmp",
        L"crash-20261209-230000.txt", L"crash-20251231-235959.txt",  // its dump lost
        L"crash-20261201-000000.dmp", L"crash-20261201-000000.txt", L"crash-20261130-120000.dmp",
        L"crash-20261130-120000.txt", L"crash-20261130-115959.dmp",  // its text lost
        L"crash-20260101-000000.dmp", L"crash-20260101-000000.txt", L"announced.txt",
        L"crash-2026121-081502.dmp",  L"crash-20261210-081502.dmp.tmp", L"notes.txt"};

    std::vector<std::wstring> deleted = ReportFilesToDelete(names, kKeptCrashReports);
    std::sort(deleted.begin(), deleted.end());
    EXPECT_EQ(deleted, (std::vector<std::wstring>{L"crash-20251231-235959.txt", L"crash-20260101-000000.dmp",
                                                  L"crash-20260101-000000.txt"}));
    EXPECT_TRUE(ReportFilesToDelete({names.begin(), names.begin() + 4}, kKeptCrashReports).empty());

    EXPECT_EQ(NewestReportStem(names), L"crash-20261210-081502");
    EXPECT_EQ(NewestReportStem({L"announced.txt"}), L"");
    EXPECT_EQ(std::wstring(ReportStemAt(At(8, 15, 2)).data()), L"crash-20261210-081502");
}

}  // namespace
