#include "base/critical_region.h"

#include "base/exceptions.h"

namespace QorThreads {

CriticalRegion::CriticalRegion()
{
    pthread_mutexattr_t attributes;
    bool created = pthread_mutexattr_init(&attributes) == 0;
    if (created) {
        created = pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE) == 0 &&
                  pthread_mutex_init(&fMutex, &attributes) == 0;
        pthread_mutexattr_destroy(&attributes);
    }
    if (!created) {
        throw Exception("Error creating critical region");
    }
}

CriticalRegion::~CriticalRegion()
{
    pthread_mutex_destroy(&fMutex);
}

void CriticalRegion::Enter()
{
    if (pthread_mutex_lock(&fMutex) != 0) {
        throw Exception("Error entering critical region");
    }
}

void CriticalRegion::Leave() noexcept
{
    pthread_mutex_unlock(&fMutex);
}

} // namespace QorThreads
