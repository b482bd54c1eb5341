#pragma once
// The attacker of the race tests: a thread that exchanges pairs of names (a folder and a link to
// elsewhere, say) over and over until it is stopped.
#ifndef _WIN32
#include <fcntl.h>
#include <stdio.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testing_support {

class TNameExchanger {
public:
    explicit TNameExchanger(std::vector<std::pair<std::string, std::string>> pairs)
        : pairs_(std::move(pairs)), thread_([this] {
              while (!done_)
                  for (const auto& [first, second] : pairs_)
                      exchanges_ += renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0;
          })
    {
    }
    ~TNameExchanger() { Stop(); }
    TNameExchanger(const TNameExchanger&) = delete;
    TNameExchanger& operator=(const TNameExchanger&) = delete;

    // Ends the exchanges; how many happened.
    long Stop()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
        return exchanges_;
    }

private:
    const std::vector<std::pair<std::string, std::string>> pairs_;
    std::atomic<bool> done_{false};
    std::atomic<long> exchanges_{0};
    std::thread thread_;
};

} // namespace testing_support
#endif
