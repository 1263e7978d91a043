// Re-entrant mutual exclusion.
#pragma once

#include <pthread.h>

namespace QorThreads {

// A region that one thread at a time may hold; the holder may enter it again, and must leave it
// as often as it entered.
class CriticalRegion {
public:
    // Throws QorThreads::Exception "Error creating critical region".
    CriticalRegion();
    ~CriticalRegion();
    CriticalRegion(const CriticalRegion&) = delete;
    CriticalRegion& operator=(const CriticalRegion&) = delete;

    // Waits without a time limit.
    void Enter();
    void Leave() noexcept;

    // Holds the region for as long as it lives.
    class Scope {
    public:
        explicit Scope(CriticalRegion& region) : fRegion(region) { fRegion.Enter(); }
        ~Scope() { fRegion.Leave(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        CriticalRegion& fRegion;
    };

private:
    pthread_mutex_t fMutex;
};

} // namespace QorThreads
