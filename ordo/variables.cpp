#include "ordo/variables.h"

namespace ORDO {

namespace {

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
    for (Entry* const entry : fRecent) {
        if (entry != nullptr && SameName(entry->first, name))
            return entry;
    }
    const auto found = fValues.find(name);
    if (found == fValues.end())
        return nullptr;
    Entry* const entry = &*found;
    fRecent[fNextRecent++ % fRecent.size()] = entry;
    return entry;
}

bool Variables::Declare(std::string_view name, std::string_view value)
{
    const auto found = fValues.lower_bound(name);
    if (found != fValues.end() && found->first == name)
        return false;
    fValues.emplace_hint(found, name, value);
    return true;
}

bool Variables::Set(std::string_view name, std::string_view value)
{
    Entry* const entry = Find(name);
    if (entry == nullptr)
        return false;
    entry->second.assign(value);
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
