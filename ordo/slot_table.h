#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ORDO {

// A 32-slot hash table over a fixed list of named entries: each slot holds the index of the
// entry whose name hashes to it, or -1. Entries have a field "name"; hash(name, length) gives
// a slot from 0 to 31. Building the table fails at compile time when two names collide.
template <typename Entry, size_t Count, typename Hash>
class SlotTable {
public:
    constexpr SlotTable(const Entry (&entries)[Count], Hash hash) : fEntries(entries), fHash(hash)
    {
        for (auto& slot : fSlots)
            slot = -1;
        for (size_t i = 0; i < Count; ++i) {
            const char* const name = entries[i].name;
            signed char& slot = fSlots[hash(name, std::char_traits<char>::length(name))];
            if (slot >= 0)
                throw "two names share a slot";
            slot = static_cast<signed char>(i);
        }
    }

    // The slot's entry, or -1.
    constexpr int IndexAt(size_t slot) const { return fSlots[slot]; }

    // The entry named exactly word, or null.
    const Entry* Find(std::string_view word) const
    {
        const int index = fSlots[fHash(word.data(), word.size())];
        return (index >= 0 && word == fEntries[index].name) ? &fEntries[index] : nullptr;
    }

private:
    const Entry (&fEntries)[Count];
    Hash fHash;
    std::array<signed char, 32> fSlots{};
};

} // namespace ORDO
