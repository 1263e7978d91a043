#include "ordo/cut_memory.h"

#include <algorithm>
#include <cstring>

namespace ORDO {

CutMemory& CutMemory::OfThisThread()
{
    thread_local CutMemory memory;
    return memory;
}

size_t CutMemory::SlotIndex(std::string_view block)
{
    const uintptr_t address = reinterpret_cast<uintptr_t>(block.data());
    return ((address >> 3) ^ block.size()) % std::tuple_size_v<decltype(fSlots)>;
}

size_t CutMemory::Recall(std::string_view block, Cuts& cuts) const
{
    const Slot& slot = fSlots[SlotIndex(block)];
    if (block.empty() || slot.data != block.data() || slot.text.size() != block.size() ||
        std::memcmp(slot.text.data(), block.data(), block.size()) != 0)
        return 0;
    std::copy_n(slot.cuts.begin(), slot.count, cuts.begin()); // mostly one or two
    return slot.count;
}

void CutMemory::Remember(std::string_view block, const Cuts& cuts, size_t count)
{
    Slot& slot = fSlots[SlotIndex(block)];
    slot.data = block.data();
    slot.text.assign(block);
    slot.count = count;
    std::copy_n(cuts.begin(), count, slot.cuts.begin());
}

} // namespace ORDO
