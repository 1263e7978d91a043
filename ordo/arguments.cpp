#include "ordo/arguments.h"

#include "ordo/argument_items.h"
#include "ordo/exceptions.h"
#include "ordo/interpreter.h"
#include "ordo/limits.h"
#include "ordo/scanner.h"
#include "ordo/value.h"

namespace ORDO {

namespace {

std::string_view Range(const char* begin, const char* end)
{
    return std::string_view(begin, size_t(end - begin));
}

} // namespace

const char* FindValueEnd(const char* p, const char* end, char stop)
{
    while (p < end) {
        const char c = *p;
        if (c == '[' || c == '{')
            p = SkipBrackets(p, end);
        else if (c == '\\')
            p = SkipEscaped(p, end);
        else if (c == stop || IsBlankCharacter(c) || IsLineEnd(c) || IsCommentStart(p, end))
            break;
        else
            ++p;
    }
    return p;
}

std::string ExpandBracketed(Interpreter& context, std::string_view value)
{
    return IsBracketed(value) ? context.Expand(Inside(value)) : std::string(value);
}

std::vector<ArgumentItem> ParseArgumentItems(std::string_view text)
{
    std::vector<ArgumentItem> items;
    ForEachArgumentItem(text, [&items](std::string_view label, std::string_view value) {
        items.push_back({std::string(label), std::string(value)});
    });
    return items;
}

size_t SortArguments(const std::vector<ArgumentItem>& items, std::map<std::string, std::string>& labelled,
                     std::vector<std::string>& positional)
{
    for (const ArgumentItem& item : items) {
        if (item.label.empty())
            positional.push_back(item.value);
        else
            labelled[ToLower(item.label)] = item.value;
    }
    return positional.size();
}

size_t SplitList(Interpreter& context, std::string_view text, std::vector<std::string>& list, bool expandBracketed,
                 bool dropEmpty, size_t minimum, size_t maximum)
{
    list.reserve(list.size() + minimum);
    const char* const end = text.data() + text.size();
    const char* p = SkipBlank(text.data(), end);
    // The elements of one list, once expanded, are held to the length of one text together.
    size_t length = 0;
    if (p < end) {
        for (;;) {
            const char* const elementEnd = FindValueEnd(p, end, ',');
            const std::string_view element = Range(p, elementEnd);
            std::string value = (expandBracketed && IsBracketed(element)) ? context.Expand(Inside(element))
                                                                          : std::string(element);
            length += value.size();
            CheckTextLength(length);
            if (!value.empty() || !dropEmpty)
                list.push_back(std::move(value));
            p = SkipBlank(elementEnd, end);
            if (p == end)
                break;
            if (*p == ',')
                p = SkipBlank(p + 1, end);
        }
    }
    if (list.size() < minimum)
        ThrowSyntaxError("Too few list elements");
    if (list.size() > maximum)
        ThrowSyntaxError("Too many list elements");
    return list.size();
}

Arguments::Arguments(Interpreter& context, std::string_view argumentText)
    : fContext(context), fItems(ParseArgumentItems(argumentText)), fStates(fItems.size()), fUntaken(fItems.size())
{
    for (size_t i = 0; i < fItems.size(); ++i) {
        const std::string& label = fItems[i].label;
        if (label.empty()) {
            fPositions.push_back(i);
        } else if (!fLabels.emplace(ToLower(label), i).second) {
            ThrowSyntaxError("Duplicate labels");
        }
    }
}

const std::string& Arguments::Take(size_t index, bool expand)
{
    ItemState& state = fStates[index];
    if (!state.taken) {
        state.taken = true;
        --fUntaken;
    }
    const std::string& value = fItems[index].value;
    if (!expand || !IsBracketed(value))
        return value;
    if (!state.expanded) {
        state.expandedText.clear(); // what an earlier, failed expansion left
        fContext.ExpandInto(state.expandedText, Inside(value));
        state.expanded = true;
    }
    return state.expandedText;
}

const std::string& Arguments::GetLabelled(std::string_view label, bool expand)
{
    const std::string* const value = FindLabelled(label, expand);
    if (value == nullptr)
        ThrowSyntaxError("Missing argument(s)");
    return *value;
}

const std::string* Arguments::FindLabelled(std::string_view label, bool expand)
{
    const auto found = fLabels.find(label);
    return found == fLabels.end() ? nullptr : &Take(found->second, expand);
}

const std::string& Arguments::GetPositional(size_t i, bool expand)
{
    const std::string* const value = FindPositional(i, expand);
    if (value == nullptr)
        ThrowSyntaxError("Missing argument(s)");
    return *value;
}

const std::string* Arguments::FindPositional(size_t i, bool expand)
{
    return i < fPositions.size() ? &Take(fPositions[i], expand) : nullptr;
}

void Arguments::CheckAllUsed() const
{
    if (fUntaken != 0)
        ThrowSyntaxError("Unrecognized labels or too many arguments");
}

void Arguments::CheckAnyUsed() const
{
    if (fUntaken == fItems.size())
        ThrowSyntaxError("Missing argument(s)");
}

} // namespace ORDO
