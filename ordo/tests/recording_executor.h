#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ordo/executor.h"
#include "ordo/interpreter.h"

namespace ORDO::Testing {

// A host that records every call, so that whole scripts can be run and checked end to end.
// Each call becomes one line in calls:
//   "execute <name>|<argument text>", "format <name>|<uses, comma-separated>|<requires>",
//   "include <file name>", "trace <text>" (codes above 255 written as \u{hex}).
// Progress calls are recorded apart, as the statements-left values they received.
class RecordingExecutor : public Executor {
public:
    bool CheckFormat(Interpreter& context, const std::string& name, const std::vector<std::string>& uses,
                     const std::vector<std::string>& required) override;
    bool Execute(Interpreter& context, const std::string& name, std::string_view argumentText) override;
    bool Progress(Interpreter& context, uint32_t statementsLeft) override;
    bool Include(Interpreter& context, const std::string& fileName, std::string& text) override;
    void Trace(Interpreter& context, const std::u32string& text) override;

    // Instructions that Execute accepts; any other name is reported unknown.
    std::set<std::string> instructions = {"rect", "draw"};
    // Runs for an accepted instruction after it is recorded, when set.
    std::function<void(Interpreter& context, const std::string& name, std::string_view argumentText)> onExecute;
    // The formats CheckFormat accepts (with an empty requires list).
    std::set<std::string> formats = {"orv-1"};
    // The texts Include can supply.
    std::map<std::string, std::string> files;
    // Progress returns false once it has been called this many times.
    size_t abortAfter = SIZE_MAX;
    // At most this many calls and progress values are kept (the counts go on).
    size_t maxRecords = SIZE_MAX;

    std::vector<std::string> calls;
    std::vector<uint32_t> progress;
    std::vector<std::u32string> traces;
    size_t callCount = 0;
    size_t progressCount = 0;

private:
    void Record(std::string call);
};

// Text of 32-bit codes as recorded: codes up to 255 as bytes, others as \u{hex}.
std::string Narrow(const std::u32string& text);

} // namespace ORDO::Testing
