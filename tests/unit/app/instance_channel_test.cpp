#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "app/instance_channel.h"
#include "app/pipe_security.h"
#include "app/posted_path.h"
#include "common/temp_folder.h"
#include "ui/text.h"

namespace {

TEST(PipeMessage, SelectRequestsCarryTheirPrefixInLowerCaseOnly) {
    EXPECT_EQ(PipeMessageText(L"C:\\dir\\file.txt", true), L"select:C:\\dir\\file.txt");
    EXPECT_EQ(PipeMessageText(L"C:\\dir", false), L"C:\\dir");
    EXPECT_EQ(PipeMessageText(L"", true), L"select:");
    EXPECT_EQ(PipeMessageText(L"", false), L"");

    EXPECT_EQ(ParsePipeMessage(L"select:C:\\dir\\file.txt"), (PipeRequest{L"C:\\dir\\file.txt", true}));
    EXPECT_EQ(ParsePipeMessage(L"select:"), (PipeRequest{L"", true}));
    EXPECT_EQ(ParsePipeMessage(L"SELECT:C:\\dir"), (PipeRequest{L"SELECT:C:\\dir", false}));
    EXPECT_EQ(ParsePipeMessage(L"select"), (PipeRequest{L"select", false}));
    EXPECT_EQ(ParsePipeMessage(L"C:\\dir"), (PipeRequest{L"C:\\dir", false}));
    EXPECT_EQ(ParsePipeMessage(L""), (PipeRequest{L"", false}));
}

TEST(PipeMessage, TextEndsAtTheFirstNulOrTheLastWholeUnit) {
    const wchar_t withNul[] = L"C:\\a\0junk";
    EXPECT_EQ(TextUpToNul(withNul, sizeof(withNul)), L"C:\\a");
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    EXPECT_EQ(TextUpToNul(unterminated, sizeof(unterminated)), L"abc");
    EXPECT_EQ(TextUpToNul(unterminated, 5), L"ab");
    EXPECT_EQ(TextUpToNul(unterminated, 1), L"");
    EXPECT_EQ(TextUpToNul(nullptr, 8), L"");
}

TEST(PipeMessage, FourThousandNinetyFourUnitsAreTheMostOneMessageHolds) {
    EXPECT_TRUE(FitsPipeMessage(std::wstring(4094, L'x')));
    EXPECT_FALSE(FitsPipeMessage(std::wstring(4095, L'x')));
}

// A pipe of the test's own, served by the program's own receiving code.
class InstancePipeTest : public testing::Test {
protected:
    // Sends the bytes of text and its NUL as one client would and returns what
    // the server received.
    std::optional<std::wstring> RoundTrip(const std::wstring& text, bool writeSomething = true) {
        UniqueKernelHandle pipe = CreateInstancePipe(name.c_str());
        EXPECT_TRUE(pipe);
        if (!pipe) return std::nullopt;
        std::optional<std::wstring> received;
        std::thread server([&] { received = ReceiveOneMessage(pipe.get()); });
        UniqueKernelHandle client(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(client);
        if (client && writeSomething) {
            DWORD written = 0;
            WriteFile(client.get(), text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), &written,
                      nullptr);
        }
        client.reset();
        server.join();
        return received;
    }

    const std::wstring name = L"\\\\.\\pipe\\QuorlenUnitTest" + std::to_wstring(GetCurrentProcessId());
};

TEST_F(InstancePipeTest, MessagesUpToTheLimitArriveWholeAndLongerOnesAreDropped) {
    EXPECT_EQ(RoundTrip(L"select:C:\\dir\\file.txt"), std::optional<std::wstring>(L"select:C:\\dir\\file.txt"));
    const std::wstring longest(4094, L'x');
    const std::optional<std::wstring> received = RoundTrip(longest);
    EXPECT_TRUE(received && *received == longest);
    EXPECT_FALSE(RoundTrip(std::wstring(4095, L'x')).has_value());
    // The server goes on serving after a dropped message.
    EXPECT_EQ(RoundTrip(L"C:\\after"), std::optional<std::wstring>(L"C:\\after"));
}

// A stopping server waits for no client, but reads one that already came.
TEST_F(InstancePipeTest, AClientGoneBeforeTheWaitBeganStillDeliversEvenWhenTheServerStops) {
    UniqueKernelHandle stop(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    {
        UniqueKernelHandle unvisited = CreateInstancePipe(name.c_str());
        ASSERT_TRUE(unvisited);
        EXPECT_EQ(ReceiveOneMessage(unvisited.get(), stop.get()), std::nullopt);
    }
    UniqueKernelHandle pipe = CreateInstancePipe(name.c_str());
    ASSERT_TRUE(pipe);
    {
        UniqueKernelHandle client(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(client);
        const wchar_t text[] = L"C:\\early";
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(client.get(), text, sizeof(text), &written, nullptr));
    }
    EXPECT_EQ(ReceiveOneMessage(pipe.get(), stop.get()), std::optional<std::wstring>(L"C:\\early"));
}

TEST_F(InstancePipeTest, AClientThatWritesNothingDeliversNothing) {
    EXPECT_EQ(RoundTrip(L"", false), std::nullopt);
    // A lone NUL is an empty text, which the window then ignores or opens as it sees fit.
    EXPECT_EQ(RoundTrip(L""), std::optional<std::wstring>(L""));
}

TEST_F(InstancePipeTest, AClientThatConnectsAndNeverWritesIsLetGo) {
    UniqueKernelHandle pipe = CreateInstancePipe(name.c_str());
    ASSERT_TRUE(pipe);
    std::atomic<bool> served = false;
    std::optional<std::wstring> received = L"unset";
    std::thread server([&] {
        received = ReceiveOneMessage(pipe.get(), nullptr, 300);
        served = true;
    });
    UniqueKernelHandle silent(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(silent);
    const bool letGo = WaitUntil([&] { return served.load(); }, 20000);
    // Closing the client ends a read that would otherwise wait for ever.
    silent.reset();
    server.join();
    EXPECT_TRUE(letGo) << "the server still waits for a client that never writes";
    EXPECT_EQ(received, std::nullopt);
}

// A start learns whether the instance read its request or dropped the pipe first.
TEST_F(InstancePipeTest, ASenderLearnsWhetherItsMessageWasRead) {
    {
        UniqueKernelHandle pipe = CreateInstancePipe(name.c_str());
        ASSERT_TRUE(pipe);
        UniqueKernelHandle client(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(client);
        std::optional<std::wstring> received;
        std::thread server([&] { received = ReceiveOneMessage(pipe.get()); });
        EXPECT_TRUE(SendOneMessage(client.get(), L"C:\\read"));
        client.reset();
        server.join();
        EXPECT_EQ(received, std::optional<std::wstring>(L"C:\\read"));
    }
    UniqueKernelHandle pipe = CreateInstancePipe(name.c_str());
    ASSERT_TRUE(pipe);
    UniqueKernelHandle client(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(client);
    // However the close falls around the write, the message never counts as read.
    std::thread closer([&] { pipe.reset(); });
    EXPECT_FALSE(SendOneMessage(client.get(), L"C:\\dropped")) << "a message the server never read counted as read";
    closer.join();
}

// The pipe's name is known to every program: a client can tell whether the
// program itself serves it.
TEST_F(InstancePipeTest, AClientTellsWhetherTheProgramServesThePipe) {
    UniqueKernelHandle first = CreateInstancePipe(name.c_str());
    ASSERT_TRUE(first);
    EXPECT_TRUE(CreateInstancePipe(name.c_str(), false)) << "no second instance beside our own first";
    UniqueKernelHandle client(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(client);
    EXPECT_FALSE(ServedByOurInstance(client.get())) << "the test program passed for the instance";

    EXPECT_TRUE(IsInstanceImage(L"C:\\Program Files\\Quorlen\\Quorlen.exe"));
    EXPECT_TRUE(IsInstanceImage(L"quorlen.EXE"));
    EXPECT_FALSE(IsInstanceImage(L"C:\\Quorlen.exe\\other.exe"));
    EXPECT_FALSE(IsInstanceImage(L"C:\\tools\\NotQuorlen.exe"));
    EXPECT_FALSE(IsInstanceImage(L""));
}

TEST(PostedPath, OnlyStringsHandedOutComeBackAndEachOnlyOnce) {
    const LPARAM handedOut = PostablePath(L"C:\\dir");
    std::unique_ptr<std::wstring> taken = TakePostedPath(handedOut);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, L"C:\\dir");
    EXPECT_EQ(TakePostedPath(handedOut), nullptr);

    std::wstring notOurs = L"forged";
    EXPECT_EQ(TakePostedPath(reinterpret_cast<LPARAM>(&notOurs)), nullptr);
    EXPECT_EQ(TakePostedPath(0x12345678), nullptr);
    EXPECT_EQ(TakePostedPath(0), nullptr);

    const LPARAM discarded = PostablePath(L"C:\\unsent");
    DiscardPostedPath(discarded);
    EXPECT_EQ(TakePostedPath(discarded), nullptr);
}

}  // namespace
