#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/hand_off_queue.h"
#include "app/posted_path.h"
#include "ui/app_identity.h"

namespace {

// A window of the test's own that the queue posts to, and what reached it.
class HandOffQueueTest : public testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        Posted();
        DestroyWindow(window);
    }

    std::vector<PipeRequest> Posted() const {
        std::vector<PipeRequest> posted;
        MSG message{};
        while (PeekMessageW(&message, window, WM_APP_OPEN_PATH, WM_APP_OPEN_PATH, PM_REMOVE)) {
            if (auto path = TakePostedPath(message.lParam)) posted.push_back(PipeRequest{*path, message.wParam != 0});
        }
        return posted;
    }

    HWND window = nullptr;
};

TEST_F(HandOffQueueTest, RequestsWaitForAWindowAndReachItInTheirOrder) {
    HandOffQueue queue;
    queue.Deliver(PipeRequest{L"C:\\one", false});
    queue.Deliver(PipeRequest{L"C:\\two", true});
    EXPECT_TRUE(Posted().empty());

    queue.SetTarget(window);
    queue.Deliver(PipeRequest{L"C:\\three", false});
    EXPECT_EQ(Posted(), (std::vector<PipeRequest>{{L"C:\\one", false}, {L"C:\\two", true}, {L"C:\\three", false}}));
    EXPECT_FALSE(queue.TakeNext());
}

TEST_F(HandOffQueueTest, WhileNoWindowTakesThemTheyAreKeptGivenBackOnesFirst) {
    HandOffQueue queue;
    queue.SetTarget(window);
    queue.SetTarget(nullptr);
    queue.Deliver(PipeRequest{L"C:\\late", false});
    queue.GiveBack({PipeRequest{L"C:\\given back", false}, PipeRequest{L"C:\\given back too", true}});
    EXPECT_TRUE(Posted().empty());

    EXPECT_EQ(queue.TakeNext(), (PipeRequest{L"C:\\given back", false}));
    queue.SetTarget(window);
    EXPECT_EQ(Posted(), (std::vector<PipeRequest>{{L"C:\\given back too", true}, {L"C:\\late", false}}));
    EXPECT_FALSE(queue.TakeNext());
}

}  // namespace
