#include "ordo/variables.h"

namespace ORDO {

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
    const auto found = fValues.find(name);
    if (found == fValues.end())
        return false;
    found->second.assign(value);
    return true;
}

bool Variables::Get(std::string_view name, std::string& value)
{
    const auto found = fValues.find(name);
    if (found == fValues.end())
        return false;
    value.assign(found->second);
    return true;
}

} // namespace ORDO
