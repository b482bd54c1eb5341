// Cost of one synchronized call through the window's synchronizer: a worker's call posted to the
// user-interface thread's message queue, run there, and the worker woken again. Prints the mean
// over many calls; run it under Wine or on Windows.
#include "ui/VelaSVSynchronizer.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

int main()
{
    constexpr int kCalls = 20000;
    TSVSynchronizer synchronizer;
    const DWORD uiThread = GetCurrentThreadId();
    long ran = 0;
    std::chrono::steady_clock::time_point start, end;
    std::thread worker([&] {
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < kCalls; ++i)
            synchronizer.Synchronize([&ran] { ++ran; });
        end = std::chrono::steady_clock::now();
        PostThreadMessageW(uiThread, WM_QUIT, 0, 0);
    });
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    worker.join();
    const double microseconds = std::chrono::duration<double, std::micro>(end - start).count() / kCalls;
    std::printf("%ld calls, %.2f us per synchronized call\n", ran, microseconds);
    return ran == kCalls ? 0 : 1;
}
