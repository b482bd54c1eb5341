#pragma once
// A dispatch and a worker for driving the thread base from a test thread that plays the
// user-interface thread.
#include "engine/uEngineConstants.h"
#include "engine/uEngineThreads.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace engine_testing {

constexpr TWindowHandle kTestWindow = 0x4242;

class TTestDispatch : public IScannerDispatch {
public:
    explicit TTestDispatch(std::shared_ptr<ISynchronizer> synchronizer) : synchronizer_(std::move(synchronizer)) {}

    TWindowHandle GetWindowHandle() override { return kTestWindow; }
    void SetStatusText(const std::string& text) override
    {
        statusTexts.push_back(text);
        callerThreads.push_back(std::this_thread::get_id());
    }
    std::shared_ptr<ISynchronizer> GetSynchronizer() override { return synchronizer_; }
    void UpdateCounters() override {}
    void ObjectFound(const std::shared_ptr<ICleanupListItem>&) override {}

    // Written on the pumping thread only.
    std::vector<std::string> statusTexts;
    std::vector<std::thread::id> callerThreads;

private:
    std::shared_ptr<ISynchronizer> synchronizer_;
};

// A worker whose body the test supplies.
class TTestWorker : public TInterfacedThread {
public:
    using TBody = std::function<void(TTestWorker&)>;

    explicit TTestWorker(TBody body) : body_(std::move(body)) {}
    ~TTestWorker() override { Shutdown(); }

    void SetDispatch(const std::shared_ptr<IWindowDispatch>& dispatch) { SetWindowDispatch(dispatch); }
    bool IsTerminated() const { return Terminated(); }
    void Call(const std::function<void()>& call) { Synchronize(call); }
    void Finish(uint32_t message) { PostFinished(message); }

    std::atomic<bool> ran{false};
    std::atomic<bool> ended{false};

protected:
    void Execute() override
    {
        ran = true;
        body_(*this);
        ended = true;
    }

private:
    TBody body_;
};

// Pumps the synchronizer until a notice arrives or the timeout passes; returns the notices.
inline std::vector<TSynchronizer::TNotice> PumpUntilNotice(TSynchronizer& synchronizer,
                                                           std::chrono::seconds timeout = std::chrono::seconds(20))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<TSynchronizer::TNotice> notices;
    while (notices.empty() && std::chrono::steady_clock::now() < deadline) {
        synchronizer.WaitForWork(std::chrono::milliseconds(50));
        synchronizer.ProcessPending();
        notices = synchronizer.TakeNotices();
    }
    return notices;
}

} // namespace engine_testing
