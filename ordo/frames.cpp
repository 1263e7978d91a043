// The frame built-ins call, include, local and return.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ordo/argument_items.h"
#include "ordo/arguments.h"
#include "ordo/builtins.h"
#include "ordo/interpreter.h"
#include "ordo/scanner.h"

namespace ORDO {

namespace {

// Runs the body of a call or include in a new frame whose store holds the arguments after
// the body: labelled ones under their labels, the others under "0", "1", ... and their count
// under "n".
void RunProcedure(Interpreter& context, std::string_view argumentText, bool include)
{
    Variables frameVariables;
    std::string_view body;
    bool anyItem = false;
    bool bodyFound = false;
    uint32_t count = 0;
    ForEachArgumentItem(argumentText, [&](std::string_view label, std::string_view value) {
        anyItem = true;
        if (!bodyFound) {
            if (label.empty()) {
                body = value;
                bodyFound = true;
            }
        } else if (!label.empty()) {
            frameVariables.Declare(label, value);
        } else {
            frameVariables.Declare(DecimalText(count++), value);
        }
    });
    if (!anyItem)
        ThrowSyntaxError("Missing argument(s)");
    std::string included;
    if (include) {
        included.assign(body);
        const std::string fileName = ExpandBracketed(context, body);
        if (!context.executor->Include(context, fileName, included))
            ThrowRunTimeError("Could not include file");
        body = included;
    }
    frameVariables.Declare("n", DecimalText(count));
    Interpreter frame = Interpreter::Frame(context, frameVariables);
    frame.RunBlock(body);
}

// "name" or "name = value" of local and return.
struct Declaration {
    std::string_view name;
    std::string_view value;
    bool hasValue = false;
};

Declaration ParseDeclaration(std::string_view text)
{
    if (text.empty())
        ThrowSyntaxError("Missing variable name");
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* const nameEnd = SkipName(begin, end);
    if (nameEnd == begin)
        ThrowSyntaxError("Invalid variable name");
    Declaration declaration;
    declaration.name = std::string_view(begin, size_t(nameEnd - begin));
    const char* const rest = SkipBlank(nameEnd, end);
    if (rest == end)
        return declaration;
    if (*rest != '=')
        ThrowSyntaxError("Expected =");
    // The value is the rest verbatim after the spaces and tabs, "//" or "/*" included.
    const char* const value = SkipBlankCharacters(rest + 1, end);
    declaration.value = std::string_view(value, size_t(end - value));
    declaration.hasValue = true;
    return declaration;
}

} // namespace

void RunCall(Interpreter& context, std::string_view argumentText)
{
    RunProcedure(context, argumentText, false);
}

void RunInclude(Interpreter& context, std::string_view argumentText)
{
    RunProcedure(context, argumentText, true);
}

void RunLocal(Interpreter& context, std::string_view argumentText)
{
    const Declaration declaration = ParseDeclaration(argumentText);
    if (!context.variables->Declare(declaration.name, declaration.value))
        ThrowRunTimeError("Variable already declared");
}

void RunReturn(Interpreter& context, std::string_view argumentText)
{
    const Declaration declaration = ParseDeclaration(argumentText);
    if (context.parent == nullptr)
        ThrowRunTimeError("Cannot return in global frame");
    std::string value(declaration.value);
    if (!declaration.hasValue && !context.GetVariable(declaration.name, value))
        ThrowRunTimeError("Variable does not exist");
    context.parent->AssignVariable(declaration.name, value);
}

} // namespace ORDO
