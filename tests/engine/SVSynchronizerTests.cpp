#ifdef _WIN32
#include "EngineTestSupport.h"

#include "ui/VelaSVSynchronizer.h"

#include <gtest/gtest.h>

using namespace engine_testing;

namespace {

// A dispatch whose finished message goes to the synchronizer's own window, which this thread pumps.
class TWindowDispatch : public TTestDispatch {
public:
    explicit TWindowDispatch(std::shared_ptr<TSVSynchronizer> synchronizer)
        : TTestDispatch(synchronizer), window_(reinterpret_cast<TWindowHandle>(synchronizer->Handle()))
    {
    }
    TWindowHandle GetWindowHandle() override { return window_; }

private:
    TWindowHandle window_;
};

} // namespace

TEST(SVSynchronizer, CallsThroughTheMessageQueueThenOneFinishedMessage)
{
    auto synchronizer = std::make_shared<TSVSynchronizer>();
    ASSERT_NE(synchronizer->Handle(), nullptr);
    auto dispatch = std::make_shared<TWindowDispatch>(synchronizer);
    // Calls waited for and calls handed over mixed, more of the latter than the queue holds: all
    // run in order, and all before the finished message.
    constexpr int kCalls = TSynchronizer::kQueueLimit + 100;
    auto worker = std::make_shared<TTestWorker>([&](TTestWorker& self) {
        for (int i = 0; i < kCalls; ++i) {
            const auto call = [&, i] { dispatch->SetStatusText(std::to_string(i)); };
            if (i % 1000 == 0)
                self.Call(call);
            else
                self.Hand(call);
        }
        self.Finish(WM_SCANFINISHED);
    });
    worker->SetDispatch(dispatch);
    worker->Start();

    int finished = 0;
    size_t callsBeforeFinish = 0;
    MSG message;
    const DWORD deadline = GetTickCount() + 20000;
    while (finished == 0 && GetTickCount() < deadline) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        if (message.message == WM_SCANFINISHED && message.hwnd == synchronizer->Handle()) {
            ++finished;
            callsBeforeFinish = dispatch->statusTexts.size();
        }
        DispatchMessageW(&message);
    }
    worker->Stop();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(callsBeforeFinish, static_cast<size_t>(kCalls));
    for (size_t i = 0; i < dispatch->statusTexts.size(); ++i) {
        EXPECT_EQ(dispatch->statusTexts[i], std::to_string(i));
        EXPECT_EQ(dispatch->callerThreads[i], std::this_thread::get_id());
    }
    // Nothing more arrives afterwards.
    while (PeekMessageW(&message, synchronizer->Handle(), 0, 0, PM_REMOVE))
        EXPECT_NE(message.message, WM_SCANFINISHED);
}

TEST(SVSynchronizer, StopServesAPendingCall)
{
    auto synchronizer = std::make_shared<TSVSynchronizer>();
    auto dispatch = std::make_shared<TWindowDispatch>(synchronizer);
    auto worker = std::make_shared<TTestWorker>([&](TTestWorker& self) {
        while (!self.IsTerminated())
            self.Call([&] { dispatch->SetStatusText("tick"); });
    });
    worker->SetDispatch(dispatch);
    worker->Start();
    ASSERT_TRUE(synchronizer->WaitForWork(std::chrono::seconds(10)));
    worker.reset(); // the last release stops and joins without this thread pumping its queue
    EXPECT_FALSE(dispatch->statusTexts.empty());
}
#endif
