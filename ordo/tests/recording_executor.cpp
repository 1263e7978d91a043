#include "ordo/tests/recording_executor.h"

#include <cstdio>

namespace ORDO::Testing {

namespace {

std::string Join(const std::vector<std::string>& list)
{
    std::string joined;
    for (const std::string& element : list) {
        if (!joined.empty())
            joined += ',';
        joined += element;
    }
    return joined;
}

} // namespace

std::string Narrow(const std::u32string& text)
{
    std::string narrow;
    for (const char32_t code : text) {
        if (code <= 255) {
            narrow += static_cast<char>(code);
        } else {
            char escape[24];
            std::snprintf(escape, sizeof escape, "\\u{%x}", unsigned(code));
            narrow += escape;
        }
    }
    return narrow;
}

void RecordingExecutor::Record(std::string call)
{
    ++callCount;
    if (calls.size() < maxRecords)
        calls.push_back(std::move(call));
}

bool RecordingExecutor::CheckFormat(Interpreter&, const std::string& name, const std::vector<std::string>& uses,
                                    const std::vector<std::string>& required)
{
    Record("format " + name + "|" + Join(uses) + "|" + Join(required));
    return formats.count(name) != 0 && required.empty();
}

bool RecordingExecutor::Execute(Interpreter& context, const std::string& name, std::string_view argumentText)
{
    if (instructions.count(name) == 0)
        return false;
    Record("execute " + name + "|" + std::string(argumentText));
    if (onExecute)
        onExecute(context, name, argumentText);
    return true;
}

bool RecordingExecutor::Progress(Interpreter&, uint32_t statementsLeft)
{
    ++progressCount;
    if (progress.size() < maxRecords)
        progress.push_back(statementsLeft);
    return progressCount < abortAfter;
}

bool RecordingExecutor::Include(Interpreter&, const std::string& fileName, std::string& text)
{
    Record("include " + fileName);
    const auto found = files.find(fileName);
    if (found == files.end())
        return false;
    text = found->second;
    return true;
}

void RecordingExecutor::Trace(Interpreter&, const std::u32string& text)
{
    Record("trace " + Narrow(text));
    if (traces.size() < maxRecords)
        traces.push_back(text);
}

} // namespace ORDO::Testing
