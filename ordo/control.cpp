// Built-in dispatch and the control-flow built-ins if, for, repeat and stop.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "ordo/arguments.h"
#include "ordo/builtins.h"
#include "ordo/interpreter.h"
#include "ordo/scratch.h"
#include "ordo/slot_table.h"
#include "ordo/value.h"

namespace ORDO {

namespace {

struct BuiltIn {
    const char* name;
    void (*run)(Interpreter& context, std::string_view argumentText);
};

// The built-ins in the order of their indices.
constexpr BuiltIn kBuiltIns[] = {
    {"_debug", RunDebug}, {"call", RunCall},     {"for", RunFor},       {"format", RunFormat},
    {"if", RunIf},        {"include", RunInclude}, {"local", RunLocal},  {"repeat", RunRepeat},
    {"return", RunReturn}, {"stop", RunStop},     {"trace", RunTrace},
};

// The slot of a name of 2 to 7 characters: (length + third character) modulo 32, the third
// character being 0 for a two-letter name.
constexpr size_t BuiltInSlot(const char* name, size_t length)
{
    const unsigned third = length > 2 ? static_cast<unsigned char>(name[2]) : 0;
    return (length + third) % 32;
}

constexpr SlotTable kBuiltInTable(kBuiltIns, BuiltInSlot);
static_assert(kBuiltInTable.IndexAt(2) == 4 && kBuiltInTable.IndexAt(6) == 10 && kBuiltInTable.IndexAt(8) == 6 &&
              kBuiltInTable.IndexAt(10) == 5 && kBuiltInTable.IndexAt(11) == 0 && kBuiltInTable.IndexAt(16) == 1 &&
              kBuiltInTable.IndexAt(19) == 9 && kBuiltInTable.IndexAt(21) == 2 && kBuiltInTable.IndexAt(22) == 7 &&
              kBuiltInTable.IndexAt(24) == 3 && kBuiltInTable.IndexAt(26) == 8);

} // namespace

bool RunBuiltIn(Interpreter& context, std::string_view name, std::string_view argumentText)
{
    if (name.size() < 2 || name.size() > kLongestBuiltInName)
        return false;
    const BuiltIn* const builtIn = kBuiltInTable.Find(name);
    if (builtIn == nullptr)
        return false;
    builtIn->run(context, argumentText);
    return true;
}

void HandOver(Interpreter& context, const std::string& name, std::string_view argumentText)
{
    if (context.executor->Execute(context, name, argumentText) || name == "meta")
        return;
    ThrowSyntaxError("Unrecognized instruction");
}

void Interpreter::ExecuteBuiltIn(const std::string& name, std::string_view argumentText)
{
    if (!RunBuiltIn(*this, name, argumentText))
        HandOver(*this, name, argumentText);
}

void RunIf(Interpreter& context, std::string_view argumentText)
{
    Arguments arguments(context, argumentText);
    const std::string& block = arguments.GetPositional(1, false);
    const std::string& condition = arguments.GetPositional(0, true);
    const std::string* const otherwise = arguments.FindLabelled("else", false);
    arguments.CheckAllUsed();
    if (ToBoolean(condition))
        context.RunBlock(block);
    else if (otherwise != nullptr)
        context.RunBlock(*otherwise);
}

void RunFor(Interpreter& context, std::string_view argumentText)
{
    Arguments arguments(context, argumentText);
    const std::string& block = arguments.GetPositional(1, false);
    const std::string& variable = arguments.GetPositional(0, true);
    if (const std::string* const list = arguments.FindLabelled("in", true)) {
        const std::string* const reverse = arguments.FindLabelled("reverse", true);
        const bool reversed = reverse != nullptr && ToBoolean(*reverse);
        arguments.CheckAllUsed();
        std::vector<std::string> elements;
        SplitList(context, *list, elements, false, false, 0, std::numeric_limits<size_t>::max());
        if (reversed)
            std::reverse(elements.begin(), elements.end());
        for (const std::string& element : elements) {
            context.AssignVariable(variable, element);
            context.RunBlock(block);
        }
        return;
    }
    const std::string& fromText = arguments.GetLabelled("from", true);
    const std::string& toText = arguments.GetLabelled("to", true);
    const int32_t from = ToInteger(fromText);
    const int32_t to = ToInteger(toText);
    arguments.CheckAllUsed();
    const int32_t step = to < from ? -1 : 1;
    // The pass for "to" is the last: the counter never steps beyond it.
    for (int32_t counter = from;; counter += step) {
        context.AssignVariable(variable, DecimalText(counter));
        context.RunBlock(block);
        if (counter == to)
            break;
    }
}

void RunRepeat(Interpreter& context, std::string_view argumentText)
{
    Arguments arguments(context, argumentText);
    const std::string& block = arguments.GetPositional(1, false);
    const int32_t count = ToInteger(arguments.GetPositional(0, true));
    const std::string* const condition = arguments.FindLabelled("while", false);
    arguments.CheckAllUsed();
    if (condition == nullptr) {
        for (int32_t pass = 0; pass < count; ++pass)
            context.RunBlock(block);
        return;
    }
    if (condition->empty() || condition->front() != '[')
        ThrowSyntaxError("'while:' condition has to be enclosed in [ ]");
    const bool bracketed = IsBracketed(*condition);
    for (int32_t pass = 0; pass < count; ++pass) {
        ScratchText value;
        if (bracketed)
            context.ExpandInto(*value, Inside(*condition));
        if (!ToBoolean(bracketed ? *value : *condition))
            break;
        context.RunBlock(block);
    }
}

void RunStop(Interpreter&, std::string_view)
{
    throw AbortedException("Encountered STOP instruction");
}

} // namespace ORDO
