// The built-ins that talk to the host: format, trace and _debug.
#include <algorithm>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "ordo/arguments.h"
#include "ordo/builtins.h"
#include "ordo/interpreter.h"
#include "ordo/limits.h"
#include "ordo/scanner.h"
#include "ordo/value.h"

namespace ORDO {

namespace {

// The lower-cased elements of a format list, empty ones dropped.
std::vector<std::string> FormatList(Interpreter& context, const std::string* text)
{
    std::vector<std::string> list;
    if (text != nullptr)
        SplitList(context, *text, list, true, true, 0, std::numeric_limits<size_t>::max());
    for (std::string& element : list)
        element = ToLower(element);
    return list;
}

// Widens each byte to its Latin-1 code, escapes left as written.
void AppendWidened(std::u32string& out, std::string_view text)
{
    for (const char c : text)
        out.push_back(static_cast<unsigned char>(c));
}

} // namespace

void RunFormat(Interpreter& context, std::string_view argumentText)
{
    Arguments arguments(context, argumentText);
    const std::string name = ToLower(arguments.GetPositional(0, true));
    const std::vector<std::string> uses = FormatList(context, arguments.FindLabelled("uses", true));
    std::vector<std::string> required = FormatList(context, arguments.FindLabelled("requires", true));
    arguments.CheckAllUsed();
    // The interpreter meets its own format itself.
    required.erase(std::remove(required.begin(), required.end(), kVersionTag), required.end());
    if (!context.executor->CheckFormat(context, name, uses, required))
        throw FormatException("Unsupported data format");
}

void RunTrace(Interpreter& context, std::string_view argumentText)
{
    context.executor->Trace(context, Unescape(argumentText));
}

void RunDebug(Interpreter& context, std::string_view argumentText)
{
    const std::vector<ArgumentItem> items = ParseArgumentItems(argumentText);
    std::map<std::string, std::string> labelled;
    std::vector<std::string> positional;
    SortArguments(items, labelled, positional);
    const auto expandMode = labelled.find("expand");
    const bool expand = expandMode != labelled.end() && ToBoolean(ExpandBracketed(context, expandMode->second));
    std::u32string out = U"|";
    for (const ArgumentItem& item : items) {
        out += Unescape(item.label);
        out += U'=';
        if (expand)
            out += Unescape(ExpandBracketed(context, item.value));
        else
            AppendWidened(out, item.value);
        out += U'|';
        CheckTextLength(out.size());
    }
    context.executor->Trace(context, out);
}

} // namespace ORDO
