#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ORDO {

// Where one statement of a block begins and ends, as offsets into the block.
struct StatementCut {
    uint32_t start;
    uint32_t end;
};

// How the blocks run last were cut into statements, so that a block that runs again (the body
// of a loop, a procedure) need not be scanned again. A block is found by its address and length
// and recognized by its text, which is kept and compared: the same text is always cut the same
// way. Only blocks whose every statement was cut without an error are remembered, so a block
// that is recalled cannot fail while it is cut. One memory per thread.
class CutMemory {
public:
    // Empty blocks, and blocks with more statements or more text, are not remembered.
    static constexpr size_t kMaxStatements = 16;
    static constexpr size_t kMaxText = 4096;

    using Cuts = std::array<StatementCut, kMaxStatements>;

    static CutMemory& OfThisThread();

    // Copies the cuts of block into cuts and returns their count; 0 when the block is unknown.
    // (A block never has 0 statements.)
    size_t Recall(std::string_view block, Cuts& cuts) const
    {
        const Slot& slot = fSlots[SlotIndex(block)];
        if (block.empty() || slot.data != block.data() || slot.text.size() != block.size() ||
            std::memcmp(slot.text.data(), block.data(), block.size()) != 0)
            return 0;
        for (size_t i = 0; i < slot.count; ++i) // mostly one or two
            cuts[i] = slot.cuts[i];
        return slot.count;
    }
    // Remembers the cuts of block (count of them, at most kMaxStatements).
    void Remember(std::string_view block, const Cuts& cuts, size_t count);

private:
    struct Slot {
        const char* data = nullptr;
        std::string text;
        size_t count = 0;
        Cuts cuts;
    };

    static size_t SlotIndex(std::string_view block)
    {
        return ((reinterpret_cast<uintptr_t>(block.data()) >> 3) ^ block.size()) % kSlots;
    }

    static constexpr size_t kSlots = 64;
    std::array<Slot, kSlots> fSlots;
};

} // namespace ORDO
