#include "EngineTestSupport.h"

#include "engine/uEngineImplementation.h"

#include <gtest/gtest.h>

using namespace engine_testing;

namespace {

// A body that reports until it is told to stop.
void ReportUntilStopped(TTestWorker& worker)
{
    int round = 0;
    while (!worker.IsTerminated()) {
        worker.Call([&] {});
        if (++round > 100000)
            break;
    }
}

} // namespace

TEST(EngineThreads, ReleasedWithoutStartOrWhileRunning)
{
    auto synchronizer = std::make_shared<TSynchronizer>();
    auto dispatch = std::make_shared<TTestDispatch>(synchronizer);

    // Never started: the body never runs and nothing is posted.
    std::atomic<bool> ran{false};
    {
        auto worker = std::make_shared<TTestWorker>([&](TTestWorker&) { ran = true; });
        worker->SetDispatch(dispatch);
    }
    EXPECT_FALSE(ran);
    EXPECT_TRUE(synchronizer->TakeNotices().empty());

    // Running and blocked in synchronized calls: the last release stops it and serves its calls.
    std::weak_ptr<TTestWorker> watched;
    {
        auto worker = std::make_shared<TTestWorker>(ReportUntilStopped);
        watched = worker;
        worker->SetDispatch(dispatch);
        worker->Start();
        worker->Start(); // a second start changes nothing
        synchronizer->WaitForWork(std::chrono::seconds(10));
        synchronizer->ProcessPending();
        EXPECT_TRUE(worker->ran);
    }
    EXPECT_TRUE(watched.expired());
}

TEST(EngineThreads, CallsRunInOrderOnTheOwnerThenOneNotice)
{
    auto synchronizer = std::make_shared<TSynchronizer>();
    auto dispatch = std::make_shared<TTestDispatch>(synchronizer);
    auto worker = std::make_shared<TTestWorker>([&](TTestWorker& self) {
        for (int i = 0; i < 50; ++i)
            self.Call([&, i] { dispatch->SetStatusText(std::to_string(i)); });
        self.Finish(WM_SCANFINISHED);
    });
    worker->SetDispatch(dispatch);
    worker->Start();

    const auto notices = PumpUntilNotice(*synchronizer);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].window, kTestWindow);
    EXPECT_EQ(notices[0].message, WM_SCANFINISHED);
    // Every call had run by the time the notice arrived, in the order issued, on this thread.
    ASSERT_EQ(dispatch->statusTexts.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(dispatch->statusTexts[i], std::to_string(i));
        EXPECT_EQ(dispatch->callerThreads[i], std::this_thread::get_id());
    }
    worker->Stop();
    synchronizer->ProcessPending();
    EXPECT_TRUE(synchronizer->TakeNotices().empty());
}

TEST(EngineThreads, StopWhileTheWorkerWaitsInACall)
{
    auto synchronizer = std::make_shared<TSynchronizer>();
    auto dispatch = std::make_shared<TTestDispatch>(synchronizer);
    std::atomic<bool> sawStop{false};
    auto worker = std::make_shared<TTestWorker>([&](TTestWorker& self) {
        self.Call([&] { dispatch->SetStatusText("waiting"); });
        sawStop = self.IsTerminated();
        if (sawStop)
            self.Call([&] { dispatch->SetStatusText("stopped"); });
        self.Finish(WM_CLEANFINISHED);
    });
    worker->SetDispatch(dispatch);
    worker->Start();
    // The worker is now blocked in its first call, which nobody has served yet.
    ASSERT_TRUE(synchronizer->WaitForWork(std::chrono::seconds(10)));
    worker->Stop();
    EXPECT_TRUE(worker->ended);
    EXPECT_TRUE(sawStop);
    EXPECT_EQ(dispatch->statusTexts, (std::vector<std::string>{"waiting", "stopped"}));
    const auto notices = synchronizer->TakeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].message, WM_CLEANFINISHED);
}

TEST(EngineThreads, WithoutDispatchOrSynchronizer)
{
    // No dispatch: calls are skipped, the body still runs to its end.
    std::atomic<int> calls{0};
    auto alone = std::make_shared<TTestWorker>([&](TTestWorker& self) {
        self.Call([&] { ++calls; });
        self.Finish(WM_SCANFINISHED);
    });
    alone->Start();
    alone->Stop();
    EXPECT_TRUE(alone->ended);
    EXPECT_EQ(calls, 0);

    // A dispatch without synchronizer (console use): calls run on the worker itself.
    auto dispatch = std::make_shared<TTestDispatch>(nullptr);
    auto console = std::make_shared<TTestWorker>([&](TTestWorker& self) { self.Call([&] { ++calls; }); });
    console->SetDispatch(dispatch);
    console->Start();
    console->Stop();
    EXPECT_EQ(calls, 1);

    // An error in the body ends it without taking the process down, and Stop, which serves the
    // worker until it ends, still returns.
    auto failing = std::make_shared<TTestWorker>([](TTestWorker&) { throw std::runtime_error("boom"); });
    failing->SetDispatch(std::make_shared<TTestDispatch>(std::make_shared<TSynchronizer>()));
    failing->Start();
    failing->Stop();
    EXPECT_TRUE(failing->ran);
}

TEST(EngineThreads, BroadcastParameters)
{
    auto counters = TEngineServices::CreateBroadcastParameters();
    counters->SetFoundCount(5);
    counters->IncSelectedCount();
    counters->AddFoundCapacity(10);
    counters->AddSelectedCapacity(3);
    counters->SubSelectedCapacity(7); // no clamping at 0
    counters->SetLargestCapacity(9);
    EXPECT_EQ(counters->GetSelectedCapacity(), -4);
    counters->Reset();
    EXPECT_EQ(counters->GetFoundCount() + counters->GetSelectedCount(), 0);
    EXPECT_EQ(counters->GetFoundCapacity() + counters->GetSelectedCapacity() + counters->GetLargestCapacity(), 0);
}
