// Runs arbitrary bytes as one ORDO block under the vector view's limits (1000000 statements,
// 100 levels) with a recording host. A run may only end normally or with an ORDO exception,
// must leave the recursion budget as it found it, and must have asked the host's progress
// callback exactly once for every statement it counted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ordo/exceptions.h"
#include "ordo/interpreter.h"
#include "ordo/tests/recording_executor.h"

namespace {

constexpr uint32_t kStatementsLimit = 1000000;
constexpr uint32_t kRecursionLimit = 100;

// A store that refuses values beyond a few kilobytes, the way a host may bound its memory. The
// interpreter's own limits bound what a run holds; short texts keep each run quick.
class BoundedVariables : public ORDO::Variables {
public:
    bool Declare(std::string_view name, std::string_view value) override
    {
        Check(name, value);
        return Variables::Declare(name, value);
    }
    bool Set(std::string_view name, std::string_view value) override
    {
        Check(name, value);
        return Variables::Set(name, value);
    }

private:
    static void Check(std::string_view name, std::string_view value)
    {
        if (name.size() + value.size() > 4096)
            ORDO::ThrowRunTimeError("Value too long");
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string script(reinterpret_cast<const char*>(data), size);

    ORDO::Testing::RecordingExecutor executor;
    executor.maxRecords = 64;
    executor.instructions = {"rect", "draw", "nest"};
    executor.files = {{"part", "draw $n $0; return r = {$n + 1}"}, {"self", "include self"}, {"", "draw"}};
    ORDO::Testing::RecordingExecutor nested;
    nested.maxRecords = 64;
    nested.instructions = executor.instructions;
    // "nest [block]" runs the block in a nested context over the other host, as ORV's context
    // instruction does.
    executor.onExecute = [&](ORDO::Interpreter& context, const std::string& name, std::string_view text) {
        if (name == "nest") {
            ORDO::Interpreter inner = ORDO::Interpreter::Nest(nested, context);
            inner.RunBlock(text);
        }
    };
    nested.onExecute = executor.onExecute;
    BoundedVariables variables;
    ORDO::Interpreter context(executor, variables, kStatementsLimit, kRecursionLimit);
    try {
        context.RunBlock(script);
    } catch (const ORDO::Exception&) {
    }
    const size_t counted = kStatementsLimit - context.statementsLeft;
    if (context.recursionLeft != kRecursionLimit || counted != executor.progressCount + nested.progressCount)
        std::abort();
    return 0;
}
