#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ordo/exceptions.h"
#include "ordo/executor.h"
#include "ordo/variables.h"

namespace ORDO {

// The context record of an ORDO run. Contexts chain for call frames (parent) and share the
// statement budget of their root; each carries its own remaining recursion depth. A context
// lives on the stack of whoever makes it and must outlive every run that uses it.
class Interpreter {
public:
    // A root context: no parent, root is itself.
    Interpreter(Executor& executor, Variables& variables, uint32_t statementsLimit, uint32_t recursionLimit);
    // A context with another executor and everything else copied from source: the same
    // variables, parent, root and budgets.
    static Interpreter Nest(Executor& executor, const Interpreter& source);
    // A call frame: the caller's executor, a new store, the caller as parent, the caller's
    // root and budgets.
    static Interpreter Frame(Interpreter& caller, Variables& frameVariables);

    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Runs every statement of the block in this context.
    void RunBlock(std::string_view block);
    // Runs one expanded statement: a bracketed block, an assignment or an instruction.
    void ExecuteStatement(std::string_view statement);
    // Substitutes variables and braced expressions and collapses blanks and comments;
    // bracket groups stay as written.
    std::string Expand(std::string_view text);
    // The same, appended to out.
    void ExpandInto(std::string& out, std::string_view text);
    // Runs a built-in instruction (name lower-cased) or hands it to the executor.
    void ExecuteBuiltIn(const std::string& name, std::string_view argumentText);

    // Looks a variable up in this context's store and then outward through the parents;
    // false when no store has it.
    bool GetVariable(std::string_view name, std::string& value);
    // The assignment rule: the first store from this context outward whose Set succeeds takes
    // the value; otherwise it is declared in the outermost context ("Could not set variable"
    // when that fails too).
    void AssignVariable(std::string_view name, std::string_view value);

    Executor* executor;     // not owned
    Variables* variables;   // not owned
    Interpreter* parent;    // the enclosing frame; null for the global frame
    Interpreter* root;      // the context whose statement budget is counted
    uint32_t statementsLeft; // read and counted at the root only
    uint32_t recursionLeft;  // blocks that may still be entered from this context

private:
    Interpreter(Executor& executor, Variables& variables, Interpreter* parent, Interpreter* root,
                uint32_t statementsLeft, uint32_t recursionLeft);
};

} // namespace ORDO
