#include "base/rc.h"

namespace Wex {

namespace {

void DeleteObject(rc* object)
{
    delete object;
}

std::atomic<Deleter> gDeleter{DeleteObject};

} // namespace

void AddReference(const rc* object) noexcept
{
    if (object != nullptr) {
        object->fReferenceCount.fetch_add(1, std::memory_order_relaxed);
    }
}

void ReleaseReference(const rc* object) noexcept
{
    if (object != nullptr && object->fReferenceCount.fetch_add(-1, std::memory_order_acq_rel) == 1) {
        gDeleter.load(std::memory_order_acquire)(const_cast<rc*>(object));
    }
}

Deleter SetDeleter(Deleter deleter) noexcept
{
    return gDeleter.exchange(deleter != nullptr ? deleter : DeleteObject, std::memory_order_acq_rel);
}

} // namespace Wex
