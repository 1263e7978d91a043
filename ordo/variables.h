#pragma once

#include <map>
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

    // Inserts the pair; false, and the old value kept, when the name exists.
    virtual bool Declare(std::string_view name, std::string_view value);
    // Replaces the value of an existing name; false when the name is not declared.
    virtual bool Set(std::string_view name, std::string_view value);
    // Copies the value of an existing name; false, value untouched, when it is not declared.
    virtual bool Get(std::string_view name, std::string& value);
    virtual ~Variables() = default;

private:
    std::map<std::string, std::string, std::less<>> fValues;
};

} // namespace ORDO
