#include "ordo/variables.h"

#include "ordo/exceptions.h"
#include "ordo/limits.h"

namespace ORDO {

namespace {

// What an entry costs besides the texts of its name and value: the pair and the map's links.
constexpr size_t kEntryCost = sizeof(std::pair<const std::string, std::string>) + 4 * sizeof(void*);

bool SameName(const std::string& key, std::string_view name)
{
    if (key.size() != name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (key[i] != name[i])
            return false;
    }
    return true;
}

} // namespace

Variables::Entry* Variables::Find(std::string_view name)
{
    // Names of one character, and names that differ in length or at either end, mostly get
    // slots of their own.
    const size_t size = name.size();
    const size_t hash = size == 0 ? 0
                                  : static_cast<unsigned char>(name[0]) + 2 * static_cast<unsigned char>(name[size - 1]) +
                                        5 * size;
    Entry*& recent = fRecent[hash % fRecent.size()];
    if (recent != nullptr && SameName(recent->first, name))
        return recent;
    const auto found = fValues.find(name);
    if (found == fValues.end())
        return nullptr;
    recent = &*found;
    return recent;
}

size_t Variables::SizeAfter(size_t removed, size_t added) const
{
    const size_t kept = fSize - removed;
    if (added > kMaxStoreSize - kept)
        ThrowRunTimeError("Could not set variable");
    return kept + added;
}

bool Variables::Declare(std::string_view name, std::string_view value)
{
    const auto found = fValues.lower_bound(name);
    if (found != fValues.end() && found->first == name)
        return false;
    const size_t size = SizeAfter(0, kEntryCost + name.size() + value.size());
    fValues.emplace_hint(found, name, value);
    fSize = size;
    return true;
}

bool Variables::Set(std::string_view name, std::string_view value)
{
    Entry* const entry = Find(name);
    if (entry == nullptr)
        return false;
    const size_t size = SizeAfter(entry->second.size(), value.size());
    entry->second.assign(value);
    fSize = size;
    return true;
}

bool Variables::Get(std::string_view name, std::string& value)
{
    const Entry* const entry = Find(name);
    if (entry == nullptr)
        return false;
    value.assign(entry->second);
    return true;
}

} // namespace ORDO
