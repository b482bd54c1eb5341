#pragma once
// Worker threads and their hand-off to the user-interface thread.
#include "engine/uEngineInterfaces.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// A synchronizer whose owner (the thread that created it) runs the queued calls when it pumps.
// Console programs and tests pump it themselves; the Win32 one pumps from its window procedure.
class TSynchronizer : public ISynchronizer {
public:
    struct TNotice {
        TWindowHandle window;
        uint32_t message;
    };

    // Queued calls a worker may be ahead by before it waits.
    static constexpr int kQueueLimit = 4096;

    TSynchronizer();
    ~TSynchronizer() override;

    void Synchronize(const std::function<void()>& call) override;
    void Queue(std::function<void()> call) override;
    void PostNotice(TWindowHandle window, uint32_t message) override;
    void ServeUntil(const std::function<bool()>& finished) override;
    void Wake() override;

    // Owner thread: runs the calls waiting now, in order; returns how many ran.
    int ProcessPending();
    // Owner thread: runs calls as they come for a short while (see the .cpp), then returns to let
    // the owner's own loop run; returns how many ran.
    int ServeBurst();
    // Owner thread: waits until a call or a notice is pending or the timeout passes.
    bool WaitForWork(std::chrono::milliseconds timeout);
    // Notices kept by this synchronizer (those DeliverNotice did not pass elsewhere).
    std::vector<TNotice> TakeNotices();
    bool IsOwnerThread() const { return std::this_thread::get_id() == owner_; }

protected:
    // A call is waiting: tell the owner thread (any thread may call this).
    virtual void Signal() {}
    // Whether the owner thread has its own work waiting (a window's input); ends a burst early.
    virtual bool OwnerHasOtherWork() { return false; }
    virtual void DeliverNotice(TWindowHandle window, uint32_t message);

private:
    struct TPendingCall {
        const std::function<void()>* call;
        std::atomic<bool> done{false};
        std::exception_ptr error;
        // A queued call owns its function, and the queue owns the call.
        std::function<void()> owned;
        bool queued = false;
    };
    // Worker side: a queued call's failure comes out of the next hand-off.
    void RethrowQueuedError();
    // Wakes the threads sleeping on changed_, if any; sleepless hand-offs make no system call.
    void NotifySleepers(std::unique_lock<std::mutex>& lock);

    std::thread::id owner_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<TPendingCall*> calls_;
    std::vector<TNotice> notices_;
    int queued_ = 0;                 // queued calls not yet run, guarded by mutex_
    std::exception_ptr queuedError_; // guarded by mutex_
    int sleepers_ = 0;  // threads waiting on changed_, guarded by mutex_
    // A call or a notice may be pending; read without the lock by a pumping thread that spins.
    std::atomic<bool> workWaiting_{false};
    // The owner is inside ServeBurst and will take new calls without being signalled.
    std::atomic<bool> ownerServing_{false};
};

// Base of the scanner and the cleaner: a suspended thread until Start, with a terminate request.
// Derived classes must call Shutdown() first in their destructors, so the body never runs on
// members that are already gone.
class TInterfacedThread : public virtual IInterfacedThread {
public:
    ~TInterfacedThread() override;
    TInterfacedThread(const TInterfacedThread&) = delete;
    TInterfacedThread& operator=(const TInterfacedThread&) = delete;

    void Start() override;
    void Stop() override;

    // A stop every worker obeys as its own, from before it starts: a console's interrupt flag,
    // which a signal raises at any moment, so that no thread has to notice it and pass it on
    // while a worker deletes. Null for none.
    static void SetSharedStopRequest(bool (*requested)());

protected:
    TInterfacedThread() = default;

    // The thread body; an exception ends it.
    virtual void Execute() = 0;
    bool Terminated() const;
    void Terminate() { terminated_.store(true); }

    // Runs call on the user-interface thread while the worker waits; skipped without a dispatch.
    void Synchronize(const std::function<void()>& call);
    // Hands the call to the synchronizer without waiting (see ISynchronizer::Queue).
    void Queue(std::function<void()> call);
    // The outcome shown when an error, not the user, ended the work ("Scan", "Clean").
    static std::string ErrorStatus(const std::string& work, const std::string& message);
    // Posts the finished message to the dispatch's window; the last thing a body does.
    void PostFinished(uint32_t message);
    // The derived class's SetDispatch hands its dispatch on here (before Start).
    void SetWindowDispatch(const std::shared_ptr<IWindowDispatch>& dispatch) { dispatch_ = dispatch; }
    // Requests termination and waits for the body; a never-started worker simply never runs.
    void Shutdown();

private:
    void Run();
    void WaitFor();

    std::thread thread_;
    bool started_ = false;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> ended_{false};
    std::shared_ptr<IWindowDispatch> dispatch_;
    std::shared_ptr<ISynchronizer> synchronizer_;
};
