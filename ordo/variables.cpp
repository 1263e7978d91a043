#include "ordo/variables.h"

#include <algorithm>
#include <memory>
#include <new>

#include "ordo/exceptions.h"
#include "ordo/limits.h"

namespace ORDO {

namespace {

// Names are short: compared in place, byte by byte.

// Unsigned bytes, the shorter name first.
bool NameLess(std::string_view a, std::string_view b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        if (a[i] != b[i])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    }
    return a.size() < b.size();
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

} // namespace

Variables::~Variables()
{
    for (size_t i = 0; i < fCount; ++i) {
        if (IsInline(fOrder[i]))
            std::destroy_at(fOrder[i]);
        else
            delete fOrder[i];
    }
    if (fOrder != fInlineOrder.data())
        delete[] fOrder;
}

bool Variables::IsInline(const Entry* entry) const
{
    const std::byte* const address = reinterpret_cast<const std::byte*>(entry);
    return address >= fInlineEntries && address < fInlineEntries + sizeof fInlineEntries;
}

size_t Variables::LowerBound(std::string_view name) const
{
    size_t low = 0;
    size_t high = fCount;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (NameLess(fOrder[middle]->name, name))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

Variables::Entry*& Variables::Recent(std::string_view name)
{
    // Names of one character, and names that differ in length or at either end, mostly get
    // slots of their own.
    const size_t size = name.size();
    const size_t hash = size == 0 ? 0
                                  : static_cast<unsigned char>(name[0]) + 2 * static_cast<unsigned char>(name[size - 1]) +
                                        5 * size;
    return fRecent[hash % fRecent.size()];
}

Variables::Entry* Variables::FindInOrder(std::string_view name)
{
    const size_t index = LowerBound(name);
    if (index == fCount || !SameName(fOrder[index]->name, name))
        return nullptr;
    return Recent(name) = fOrder[index];
}

inline Variables::Entry* Variables::Find(std::string_view name)
{
    Entry* const recent = Recent(name);
    return (recent != nullptr && SameName(recent->name, name)) ? recent : FindInOrder(name);
}

size_t Variables::SizeAfter(size_t removed, size_t added) const
{
    const size_t kept = fSize - removed;
    if (added > kMaxStoreSize - kept)
        ThrowRunTimeError("Could not set variable");
    return kept + added;
}

Variables::Entry* Variables::MakeEntry(std::string_view name, std::string_view value)
{
    if (fCount < kInlineEntries)
        return new (fInlineEntries + fCount * sizeof(Entry)) Entry{std::string(name), std::string(value)};
    return new Entry{std::string(name), std::string(value)};
}

bool Variables::Declare(std::string_view name, std::string_view value)
{
    const size_t index = LowerBound(name);
    if (index < fCount && SameName(fOrder[index]->name, name))
        return false;
    const size_t size = SizeAfter(0, kStoreEntryCost + name.size() + value.size());
    if (fCount == fCapacity) {
        Entry** const larger = new Entry*[fCapacity * 2];
        std::copy(fOrder, fOrder + fCount, larger);
        if (fOrder != fInlineOrder.data())
            delete[] fOrder;
        fOrder = larger;
        fCapacity *= 2;
    }
    Entry* const entry = MakeEntry(name, value);
    std::copy_backward(fOrder + index, fOrder + fCount, fOrder + fCount + 1);
    fOrder[index] = entry;
    ++fCount;
    fSize = size;
    return true;
}

bool Variables::Set(std::string_view name, std::string_view value)
{
    Entry* const entry = Find(name);
    if (entry == nullptr)
        return false;
    const size_t size = SizeAfter(entry->value.size(), value.size());
    entry->value.assign(value);
    fSize = size;
    return true;
}

bool Variables::Get(std::string_view name, std::string& value)
{
    const Entry* const entry = Find(name);
    if (entry == nullptr)
        return false;
    value.assign(entry->value);
    return true;
}

} // namespace ORDO
