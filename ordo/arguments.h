#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ORDO {

class Interpreter;

// One argument as written: label (empty for a positional item) and value.
struct ArgumentItem {
    std::string label;
    std::string value;
};

// Splits an argument text into items "value" and "label: value", in written order.
std::vector<ArgumentItem> ParseArgumentItems(std::string_view text);

// Appends the values of unlabelled items to positional and stores labelled values under their
// lower-cased labels (a later equal label wins); returns the size of positional.
size_t SortArguments(const std::vector<ArgumentItem>& items, std::map<std::string, std::string>& labelled,
                     std::vector<std::string>& positional);

// Splits a list value at commas and blanks and appends the elements to list; returns the
// list's size afterwards. Bracketed elements are expanded when expandBracketed is set.
// "Too few list elements" or "Too many list elements" when the size ends outside
// minimum..maximum.
size_t SplitList(Interpreter& context, std::string_view text, std::vector<std::string>& list, bool expandBracketed,
                 bool dropEmpty, size_t minimum, size_t maximum);

// True when the value has at least two characters, '[' first and ']' last.
inline bool IsBracketed(std::string_view value)
{
    return value.size() >= 2 && value.front() == '[' && value.back() == ']';
}

// The text between the brackets of a bracketed value.
inline std::string_view Inside(std::string_view bracketed)
{
    return bracketed.substr(1, bracketed.size() - 2);
}
// A bracketed value's inside expanded; any other value as written.
std::string ExpandBracketed(Interpreter& context, std::string_view value);

// The parsed argument list of one instruction. Values are taken raw (as written) or expanded
// (a bracketed value's inside expanded once, on first use); every item must be taken before
// CheckAllUsed.
class Arguments {
public:
    Arguments(Interpreter& context, std::string_view argumentText);
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    // Marks item index taken and returns its value.
    const std::string& Take(size_t index, bool expand);
    // The item with that label (given in lower case): "Missing argument(s)" when absent.
    const std::string& GetLabelled(std::string_view label, bool expand);
    // The same, null when absent.
    const std::string* FindLabelled(std::string_view label, bool expand);
    // The i-th positional item from 0: "Missing argument(s)" when there are fewer.
    const std::string& GetPositional(size_t i, bool expand);
    // The same, null when there are fewer.
    const std::string* FindPositional(size_t i, bool expand);
    // "Unrecognized labels or too many arguments" when any item is untaken.
    void CheckAllUsed() const;
    // "Missing argument(s)" when no item has been taken.
    void CheckAnyUsed() const;

private:
    struct ItemState {
        bool taken = false;
        bool expanded = false;
        std::string expandedText;
    };

    Interpreter& fContext;
    std::vector<ArgumentItem> fItems;
    std::vector<size_t> fPositions;
    std::map<std::string, size_t, std::less<>> fLabels;
    std::vector<ItemState> fStates;
    size_t fUntaken;
};

} // namespace ORDO
