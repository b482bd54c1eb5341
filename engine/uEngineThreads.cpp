#include "engine/uEngineThreads.h"

namespace {
// Safety net only: every state change also notifies.
constexpr std::chrono::milliseconds kRecheckInterval(100);
} // namespace

TSynchronizer::TSynchronizer() : owner_(std::this_thread::get_id()) {}

void TSynchronizer::Synchronize(const std::function<void()>& call)
{
    if (IsOwnerThread()) {
        call();
        return;
    }
    TPendingCall pending{&call, false, nullptr};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(&pending);
    }
    changed_.notify_all();
    Signal();
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return pending.done; });
    if (pending.error)
        std::rethrow_exception(pending.error);
}

void TSynchronizer::PostNotice(TWindowHandle window, uint32_t message)
{
    DeliverNotice(window, message);
}

void TSynchronizer::DeliverNotice(TWindowHandle window, uint32_t message)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        notices_.push_back({window, message});
    }
    changed_.notify_all();
}

int TSynchronizer::ProcessPending()
{
    int ran = 0;
    for (;;) {
        TPendingCall* pending = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (calls_.empty())
                break;
            pending = calls_.front();
            calls_.pop_front();
        }
        std::exception_ptr error;
        try {
            (*pending->call)();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending->error = error;
            pending->done = true;
        }
        changed_.notify_all();
        ++ran;
    }
    return ran;
}

bool TSynchronizer::WaitForWork(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return !calls_.empty() || !notices_.empty(); });
}

std::vector<TSynchronizer::TNotice> TSynchronizer::TakeNotices()
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<TNotice> taken;
    taken.swap(notices_);
    return taken;
}

void TSynchronizer::ServeUntil(const std::function<bool()>& finished)
{
    const bool serve = IsOwnerThread();
    for (;;) {
        if (serve)
            ProcessPending();
        std::unique_lock<std::mutex> lock(mutex_);
        if (finished())
            return;
        changed_.wait_for(lock, kRecheckInterval, [&] { return (serve && !calls_.empty()) || finished(); });
        if (!serve && finished())
            return;
    }
}

void TSynchronizer::Wake()
{
    // Taking the lock orders this wake-up after a waiter's check of its condition.
    { std::lock_guard<std::mutex> lock(mutex_); }
    changed_.notify_all();
}

TInterfacedThread::~TInterfacedThread()
{
    Shutdown();
}

void TInterfacedThread::Start()
{
    if (started_)
        return;
    started_ = true;
    synchronizer_ = dispatch_ ? dispatch_->GetSynchronizer() : nullptr;
    thread_ = std::thread([this] { Run(); });
}

void TInterfacedThread::Stop()
{
    Terminate();
    WaitFor();
}

void TInterfacedThread::Shutdown()
{
    Stop();
}

void TInterfacedThread::Run()
{
    try {
        Execute();
    } catch (...) {
        // An error ends the body; the worker's own code decides what the window hears about it.
    }
    ended_.store(true);
    if (synchronizer_)
        synchronizer_->Wake();
}

void TInterfacedThread::WaitFor()
{
    if (!thread_.joinable() || std::this_thread::get_id() == thread_.get_id())
        return;
    if (synchronizer_)
        synchronizer_->ServeUntil([this] { return ended_.load(); });
    thread_.join();
}

void TInterfacedThread::Synchronize(const std::function<void()>& call)
{
    if (!dispatch_)
        return;
    if (synchronizer_)
        synchronizer_->Synchronize(call);
    else
        call();
}

void TInterfacedThread::PostFinished(uint32_t message)
{
    if (dispatch_ && synchronizer_)
        synchronizer_->PostNotice(dispatch_->GetWindowHandle(), message);
}
