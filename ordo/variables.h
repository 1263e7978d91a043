#pragma once

#include <array>
#include <map>
#include <memory_resource>
#include <string>
#include <string_view>

namespace ORDO {

// A variable store: an ordered map from name to value, names ordered byte by byte. The plain
// class holds the variables of a call frame; a host's store may derive from it and answer
// Get from elsewhere too.
class Variables {
public:
    Variables() = default;
    // A store whose map takes its memory from the given resource.
    explicit Variables(std::pmr::memory_resource* memory) : fValues(memory) {}
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
    virtual ~Variables() = default;

private:
    // Byte-wise order, unsigned, the shorter name first; compares short names inline.
    struct NameOrder {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const
        {
            const size_t common = a.size() < b.size() ? a.size() : b.size();
            for (size_t i = 0; i < common; ++i) {
                if (a[i] != b[i])
                    return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
            }
            return a.size() < b.size();
        }
    };
    using Map = std::pmr::map<std::string, std::string, NameOrder>;
    using Entry = Map::value_type;

    // The entry of a declared name, or null.
    Entry* Find(std::string_view name);
    // The size after a change of the texts held; throws when it is beyond the limit.
    size_t SizeAfter(size_t removed, size_t added) const;

    Map fValues;
    // The texts held, and the bookkeeping of each entry.
    size_t fSize = 0;
    // The entries found last, by a hash of the name: a script uses a few names over and over.
    // Entries are never removed, so these stay valid.
    std::array<Entry*, 32> fRecent{};
};

} // namespace ORDO
