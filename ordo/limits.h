// The limits on the memory of a run, beside its statements and recursion limits. Expansion can
// double a text with every statement, and call frames keep stores of their own, so neither the
// statement budget nor the host's store bounds the memory a script takes: these limits do, far
// above what any script of the editor needs.
#pragma once

#include <cstddef>
#include <string>

#include "ordo/exceptions.h"

namespace ORDO {

// The longest text that the interpreter builds: an expanded statement or value, a joined
// expression value, the expanded elements of one list together, a debug line. 256 KiB, a few
// hundred times a long statement; a run nested as deep as the recursion limit allows holds a few
// such texts per level, some tens of megabytes.
inline constexpr size_t kMaxTextLength = size_t{256} * 1024;

// What one variable store holds at most: its names and values, and the bookkeeping of each entry.
// 1 MiB; a run holds the store it was given and one per call frame, at most a hundred megabytes.
inline constexpr size_t kMaxStoreSize = size_t{1} << 20;
// What an entry of a store costs against that limit besides the texts of its name and value: the
// entry, its place in the order and a share of the tables.
inline constexpr size_t kStoreEntryCost = 2 * sizeof(std::string) + 4 * sizeof(void*);

// Throws "Text length limit reached" when a text has grown beyond kMaxTextLength.
inline void CheckTextLength(size_t length)
{
    if (length > kMaxTextLength)
        ThrowRunTimeError("Text length limit reached");
}

} // namespace ORDO
