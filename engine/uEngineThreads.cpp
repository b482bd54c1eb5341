#include "engine/uEngineThreads.h"

namespace {
// Safety net only: every state change also notifies.
constexpr std::chrono::milliseconds kRecheckInterval(100);
// How long a waiting side keeps looking before it sleeps. A call's round trip is then a few
// microseconds instead of two sleeps and two wake-ups; a side that waits longer costs one sleep.
constexpr std::chrono::microseconds kSpinTime(50);

template <typename Ready>
bool SpinUntil(Ready ready)
{
    const auto until = std::chrono::steady_clock::now() + kSpinTime;
    for (int round = 0;; ++round) {
        if (ready())
            return true;
        if ((round & 63) == 63) {
            if (std::chrono::steady_clock::now() >= until)
                return false;
            std::this_thread::yield();
        }
    }
}
} // namespace

TSynchronizer::TSynchronizer() : owner_(std::this_thread::get_id()) {}

TSynchronizer::~TSynchronizer()
{
    for (TPendingCall* pending : calls_)
        if (pending->queued)
            delete pending;
}

void TSynchronizer::RethrowQueuedError()
{
    std::exception_ptr error;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        error.swap(queuedError_);
    }
    if (error)
        std::rethrow_exception(error);
}

void TSynchronizer::Queue(std::function<void()> call)
{
    if (IsOwnerThread()) {
        call();
        return;
    }
    RethrowQueuedError();
    auto pending = std::make_unique<TPendingCall>();
    pending->owned = std::move(call);
    pending->call = &pending->owned;
    pending->queued = true;
    bool first;
    bool full;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        first = calls_.empty();
        calls_.push_back(pending.release());
        full = ++queued_ >= kQueueLimit;
        workWaiting_.store(true, std::memory_order_release);
        NotifySleepers(lock);
    }
    // One wake-up message covers the calls that follow it until the owner has taken them.
    if (first && !ownerServing_.load())
        Signal();
    if (full)
        Synchronize([] {});
}

void TSynchronizer::NotifySleepers(std::unique_lock<std::mutex>& lock)
{
    const bool anyone = sleepers_ > 0;
    lock.unlock();
    if (anyone)
        changed_.notify_all();
}

void TSynchronizer::Synchronize(const std::function<void()>& call)
{
    if (IsOwnerThread()) {
        call();
        return;
    }
    TPendingCall pending;
    pending.call = &call;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        calls_.push_back(&pending);
        workWaiting_.store(true, std::memory_order_release);
        NotifySleepers(lock);
    }
    // An owner that is serving calls right now takes this one too; only a resting one is woken.
    if (!ownerServing_.load())
        Signal();
    if (!SpinUntil([&] { return pending.done.load(std::memory_order_acquire); })) {
        std::unique_lock<std::mutex> lock(mutex_);
        ++sleepers_;
        changed_.wait(lock, [&] { return pending.done.load(std::memory_order_acquire); });
        --sleepers_;
    }
    if (pending.error)
        std::rethrow_exception(pending.error);
    RethrowQueuedError();
}

void TSynchronizer::PostNotice(TWindowHandle window, uint32_t message)
{
    DeliverNotice(window, message);
}

void TSynchronizer::DeliverNotice(TWindowHandle window, uint32_t message)
{
    std::unique_lock<std::mutex> lock(mutex_);
    notices_.push_back({window, message});
    workWaiting_.store(true, std::memory_order_release);
    NotifySleepers(lock);
}

int TSynchronizer::ProcessPending()
{
    int ran = 0;
    for (;;) {
        TPendingCall* pending = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (calls_.empty()) {
                workWaiting_.store(!notices_.empty(), std::memory_order_release);
                break;
            }
            pending = calls_.front();
            calls_.pop_front();
        }
        std::exception_ptr error;
        try {
            (*pending->call)();
        } catch (...) {
            error = std::current_exception();
        }
        if (pending->queued) {
            std::unique_lock<std::mutex> lock(mutex_);
            --queued_;
            if (error && !queuedError_)
                queuedError_ = error;
            delete pending;
            ++ran;
            continue;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        pending->error = error;
        // The worker may return the moment it sees this: pending is not touched afterwards.
        pending->done.store(true, std::memory_order_release);
        NotifySleepers(lock);
        ++ran;
    }
    return ran;
}

int TSynchronizer::ServeBurst()
{
    // Stays on the calls while they keep coming, so a busy worker costs no queued message per
    // call; gives the owner's other work (painting, input) its turn at least every slice.
    constexpr std::chrono::milliseconds kSlice(8);
    const auto until = std::chrono::steady_clock::now() + kSlice;
    int ran = 0;
    ownerServing_.store(true);
    for (;;) {
        ran += ProcessPending();
        if (std::chrono::steady_clock::now() >= until || OwnerHasOtherWork() ||
            !SpinUntil([&] { return workWaiting_.load(std::memory_order_acquire); }))
            break;
    }
    ownerServing_.store(false);
    // A call queued while the flag was still up found no one to wake it.
    bool left;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        left = !calls_.empty();
    }
    if (left)
        Signal();
    return ran;
}

bool TSynchronizer::WaitForWork(std::chrono::milliseconds timeout)
{
    if (SpinUntil([&] { return workWaiting_.load(std::memory_order_acquire); }))
        return true;
    std::unique_lock<std::mutex> lock(mutex_);
    ++sleepers_;
    const bool work = changed_.wait_for(lock, timeout, [&] { return !calls_.empty() || !notices_.empty(); });
    --sleepers_;
    return work;
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
        ++sleepers_;
        changed_.wait_for(lock, kRecheckInterval, [&] { return (serve && !calls_.empty()) || finished(); });
        --sleepers_;
        if (!serve && finished())
            return;
    }
}

void TSynchronizer::Wake()
{
    // Taking the lock orders this wake-up after a waiter's check of its condition.
    std::unique_lock<std::mutex> lock(mutex_);
    NotifySleepers(lock);
}

namespace {
std::atomic<bool (*)()> sharedStopRequest{nullptr};
} // namespace

void TInterfacedThread::SetSharedStopRequest(bool (*requested)())
{
    sharedStopRequest.store(requested);
}

bool TInterfacedThread::Terminated() const
{
    if (terminated_.load())
        return true;
    bool (*const shared)() = sharedStopRequest.load();
    return shared && shared();
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

std::string TInterfacedThread::ErrorStatus(const std::string& work, const std::string& message)
{
    return message.empty() ? work + " stopped by an error." : work + " stopped by an error: " + message;
}

void TInterfacedThread::Queue(std::function<void()> call)
{
    if (!dispatch_)
        return;
    if (synchronizer_)
        synchronizer_->Queue(std::move(call));
    else
        call();
}

void TInterfacedThread::PostFinished(uint32_t message)
{
    if (!dispatch_ || !synchronizer_)
        return;
    // Queued calls come first: the window must have every found object when it hears the end.
    try {
        synchronizer_->Synchronize([] {});
    } catch (...) {
        // A queued call failed; the notice still lets the window leave its busy state.
    }
    synchronizer_->PostNotice(dispatch_->GetWindowHandle(), message);
}
