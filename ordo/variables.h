#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ORDO {

// A variable store: an ordered map from name to value, names ordered byte by byte. The plain
// class holds the variables of a call frame; a host's store may derive from it and answer
// Get from elsewhere too.
class Variables {
public:
    Variables() = default;
    Variables(const Variables&) = delete;
    Variables& operator=(const Variables&) = delete;

    // Inserts the pair; false, and the old value kept, when the name exists. A store holds at
    // most kMaxStoreSize: beyond it, "Could not set variable".
    virtual bool Declare(std::string_view name, std::string_view value);
    // Replaces the value of an existing name; false when the name is not declared. Beyond
    // kMaxStoreSize, "Could not set variable" and the old value kept.
    virtual bool Set(std::string_view name, std::string_view value);
    // Copies the value of an existing name; false, value untouched, when it is not declared.
    virtual bool Get(std::string_view name, std::string& value);
    virtual ~Variables();

private:
    struct Entry {
        std::string name;
        std::string value;
    };

    // The first entries live in the store itself, so that a small frame allocates nothing.
    static constexpr size_t kInlineEntries = 8;

    // The entry of a declared name, or null: from the recent table, else from the order.
    Entry* Find(std::string_view name);
    Entry* FindInOrder(std::string_view name);
    // The slot of the recent table for a name.
    Entry*& Recent(std::string_view name);
    // The index of the first entry in order whose name is not less than name.
    size_t LowerBound(std::string_view name) const;
    Entry* MakeEntry(std::string_view name, std::string_view value);
    bool IsInline(const Entry* entry) const;
    // The size after a change of the texts held; throws when it is beyond the limit.
    size_t SizeAfter(size_t removed, size_t added) const;

    // The order's first places, used until it grows beyond them.
    std::array<Entry*, kInlineEntries> fInlineOrder{};
    // The entries ordered by name (byte by byte, unsigned, the shorter name first). An entry
    // never moves once it is made, so the recent table below may point at it.
    Entry** fOrder = fInlineOrder.data();
    size_t fCount = 0;
    size_t fCapacity = kInlineEntries;
    alignas(Entry) std::byte fInlineEntries[kInlineEntries * sizeof(Entry)];
    // The texts held, and the bookkeeping of each entry.
    size_t fSize = 0;
    // The entries found last, by a hash of the name: a script uses a few names over and over.
    std::array<Entry*, 32> fRecent{};
};

} // namespace ORDO
