#pragma once
// A dispatch and a worker for driving the thread base from a test thread that plays the
// user-interface thread.
#include "engine/uEngineConstants.h"
#include "engine/uEngineThreads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
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

// Stands between a worker and the test's synchronizer. Once Hold() is called (on the pumping
// thread, where a test decides to press Stop) the worker's next call waits until Stop serves the
// worker: what the worker does after a stop then follows from its own checks, never from how soon
// the test thread gets to press Stop.
class TStopGate : public ISynchronizer {
public:
    explicit TStopGate(std::shared_ptr<TSynchronizer> inner) : inner_(std::move(inner)) {}

    void Hold()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ = true;
    }
    void Synchronize(const std::function<void()>& call) override
    {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            opened_.wait(lock, [this] { return !held_; });
        }
        inner_->Synchronize(call);
    }
    void Queue(std::function<void()> call) override
    {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            opened_.wait(lock, [this] { return !held_; });
        }
        inner_->Queue(std::move(call));
    }
    void PostNotice(TWindowHandle window, uint32_t message) override { inner_->PostNotice(window, message); }
    void ServeUntil(const std::function<bool()>& finished) override
    {
        // Only Stop serves a worker, after setting its terminate request.
        {
            std::lock_guard<std::mutex> lock(mutex_);
            held_ = false;
        }
        opened_.notify_all();
        inner_->ServeUntil(finished);
    }
    void Wake() override { inner_->Wake(); }

private:
    std::shared_ptr<TSynchronizer> inner_;
    std::mutex mutex_;
    std::condition_variable opened_;
    bool held_ = false;
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
    void Hand(std::function<void()> call) { Queue(std::move(call)); }
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
