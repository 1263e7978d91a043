#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ORDO {

class Interpreter;

// The host of an ORDO run: it runs the instructions that are not built in and hears of
// progress, format declarations, includes and trace output. The context of the running
// statement is passed with every call.
class Executor {
public:
    // True when the host accepts the data format. The names arrive lower-cased; "ordo-1" is
    // removed from the required formats.
    virtual bool CheckFormat(Interpreter& context, const std::string& name, const std::vector<std::string>& uses,
                             const std::vector<std::string>& required) = 0;
    // True when the host ran the instruction (name lower-cased); false when it does not know it.
    virtual bool Execute(Interpreter& context, const std::string& name, std::string_view argumentText) = 0;
    // Called before each statement with the root's statements left; false aborts the run.
    virtual bool Progress(Interpreter& context, uint32_t statementsLeft) = 0;
    // Replaces text with the file's text; false when the file cannot be read.
    virtual bool Include(Interpreter& context, const std::string& fileName, std::string& text) = 0;
    // Output of the trace built-in.
    virtual void Trace(Interpreter& context, const std::u32string& text) = 0;
    virtual ~Executor() = default;
};

} // namespace ORDO
