#include "ordo/cut_memory.h"

#include <algorithm>

namespace ORDO {

CutMemory& CutMemory::OfThisThread()
{
    thread_local CutMemory memory;
    return memory;
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
