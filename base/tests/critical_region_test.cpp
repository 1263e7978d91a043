#include "base/critical_region.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

TEST(CriticalRegion, IsReentrantAndExcludesOtherThreads)
{
    QorThreads::CriticalRegion region;
    int64_t counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                QorThreads::CriticalRegion::Scope outer(region);
                QorThreads::CriticalRegion::Scope inner(region);
                const int64_t seen = counter;
                counter = seen + 1;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counter, 40000);
}

TEST(CriticalRegion, IsFreeOnlyAfterAsManyLeavesAsEnters)
{
    QorThreads::CriticalRegion region;
    region.Enter();
    region.Enter();
    region.Leave();
    std::atomic<bool> entered{false};
    std::thread other([&] {
        region.Enter();
        entered = true;
        region.Leave();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(entered); // one level is still held
    region.Leave();
    other.join();
    EXPECT_TRUE(entered);
}

} // namespace
