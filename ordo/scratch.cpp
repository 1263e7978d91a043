#include "ordo/scratch.h"

#include <vector>

namespace ORDO {

namespace {

// Buffers larger than this go back to the heap rather than to the pool.
constexpr size_t kMaxKeptCapacity = 64 * 1024;
constexpr size_t kMaxPooled = 256;

std::vector<std::string>& Pool()
{
    thread_local std::vector<std::string> pool;
    return pool;
}

} // namespace

ScratchText::ScratchText()
{
    std::vector<std::string>& pool = Pool();
    if (!pool.empty()) {
        fText.swap(pool.back());
        pool.pop_back();
    }
}

ScratchText::~ScratchText()
{
    std::vector<std::string>& pool = Pool();
    if (fText.capacity() <= kMaxKeptCapacity && pool.size() < kMaxPooled) {
        fText.clear();
        pool.push_back(std::move(fText));
    }
}

} // namespace ORDO
