// The download worker's reports reach the package only on the UI thread, in the order they were made.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/ProgramDriver.h"
#include "update/host/ProgressRelay.h"
#include "update/host/UpdateOperations.h"

using namespace update;

namespace {
struct Received {
    std::wstring first, second;
    DWORD thread;
};
}  // namespace

TEST(ProgressRelay, ReportsFromAWorkerArriveOnTheUiThreadInOrder) {
    std::vector<Received> received;
    ProgressRelay relay([&](const std::wstring& first, const std::wstring& second) {
        received.push_back({first, second, ::GetCurrentThreadId()});
    });
    ASSERT_TRUE(relay.Ok());
    DWORD workerThread = 0;
    std::thread worker([&] {
        workerThread = ::GetCurrentThreadId();
        for (int percent = 0; percent <= 100; percent += 50) PostProgress(std::to_wstring(percent), L"1");
    });
    worker.join();
    EXPECT_TRUE(received.empty()) << "a report ran before the UI thread pumped its messages";
    ASSERT_TRUE(WaitUntil([&] { return received.size() == 3; }, 5000));
    for (const Received& r : received) {
        EXPECT_EQ(r.thread, ::GetCurrentThreadId());
        EXPECT_NE(r.thread, workerThread);
        EXPECT_EQ(r.second, L"1");
    }
    EXPECT_EQ(received[0].first, L"0");
    EXPECT_EQ(received[1].first, L"50");
    EXPECT_EQ(received[2].first, L"100");
}

TEST(ProgressRelay, ReportsWithoutARelayAreDroppedAndQueuedOnesAreNotRunAfterItGoes) {
    PostProgress(L"5", L"1");  // nobody to carry it: dropped without harm
    int calls = 0;
    {
        ProgressRelay relay([&](const std::wstring&, const std::wstring&) { ++calls; });
        ASSERT_TRUE(relay.Ok());
        std::thread([] { PostProgress(L"10", L"1"); }).join();
    }  // the queued report goes with the relay
    std::thread([] { PostProgress(L"20", L"1"); }).join();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    EXPECT_EQ(calls, 0);
}
