#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "ordo/exceptions.h"
#include "ordo/interpreter.h"
#include "ordo/tests/recording_executor.h"

namespace ORDO::Testing {

// An ORDO error as the tests compare it: its class, message and statement text.
struct Failure {
    std::string kind; // "syntax", "run-time", "format", "aborted", "other" or "none"
    std::string message;
    std::string statement;

    bool operator==(const Failure&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Failure& failure)
{
    return out << failure.kind << " \"" << failure.message << "\" at \"" << failure.statement << "\"";
}

// Runs f and describes what it threw.
template <typename Function>
Failure FailureOf(Function&& f)
{
    try {
        f();
    } catch (const SyntaxException& e) {
        return {"syntax", e.message, e.statement};
    } catch (const RunTimeException& e) {
        return {"run-time", e.message, e.statement};
    } catch (const FormatException& e) {
        return {"format", e.message, e.statement};
    } catch (const AbortedException& e) {
        return {"aborted", e.message, e.statement};
    } catch (const Exception& e) {
        return {"other", e.message, e.statement};
    }
    return {"none", "", ""};
}

// A root context over a recording executor and a plain store.
class Script {
public:
    explicit Script(uint32_t statementsLimit = 1000000, uint32_t recursionLimit = 100)
        : context(executor, variables, statementsLimit, recursionLimit)
    {
    }

    void Run(std::string_view text) { context.RunBlock(text); }
    Failure Error(std::string_view text)
    {
        return FailureOf([&] { context.RunBlock(text); });
    }
    // The value of a global variable, or "<undeclared>".
    std::string Var(std::string_view name)
    {
        std::string value;
        return variables.Get(name, value) ? value : "<undeclared>";
    }

    RecordingExecutor executor;
    Variables variables;
    Interpreter context;
};

} // namespace ORDO::Testing
