#include "ordo/interpreter.h"

#include <optional>

#include "ordo/arguments.h"
#include "ordo/builtins.h"
#include "ordo/charset.h"
#include "ordo/cut_memory.h"
#include "ordo/evaluator.h"
#include "ordo/limits.h"
#include "ordo/scanner.h"
#include "ordo/scratch.h"
#include "ordo/value.h"

namespace ORDO {

namespace {

// Counts a context's recursion budget down for the length of a block.
class RecursionLevel {
public:
    explicit RecursionLevel(uint32_t& left) : fLeft(left)
    {
        if (fLeft == 0)
            ThrowRunTimeError("Recursion limit reached");
        --fLeft;
    }
    ~RecursionLevel() { ++fLeft; }
    RecursionLevel(const RecursionLevel&) = delete;
    RecursionLevel& operator=(const RecursionLevel&) = delete;

private:
    uint32_t& fLeft;
};

// The characters at which expansion has something to do.
constexpr CharSet kExpansionSpecials(" \t\r\n/${[\\");

std::string_view Range(const char* begin, const char* end)
{
    return std::string_view(begin, size_t(end - begin));
}

} // namespace

Interpreter::Interpreter(Executor& executor, Variables& variables, uint32_t statementsLimit, uint32_t recursionLimit)
    : executor(&executor), variables(&variables), parent(nullptr), root(this), statementsLeft(statementsLimit),
      recursionLeft(recursionLimit)
{
}

Interpreter::Interpreter(Executor& executor, Variables& variables, Interpreter* parent, Interpreter* root,
                         uint32_t statementsLeft, uint32_t recursionLeft)
    : executor(&executor), variables(&variables), parent(parent), root(root), statementsLeft(statementsLeft),
      recursionLeft(recursionLeft)
{
}

Interpreter Interpreter::Nest(Executor& executor, const Interpreter& source)
{
    return Interpreter(executor, *source.variables, source.parent, source.root, source.statementsLeft,
                       source.recursionLeft);
}

Interpreter Interpreter::Frame(Interpreter& caller, Variables& frameVariables)
{
    return Interpreter(*caller.executor, frameVariables, &caller, caller.root, caller.statementsLeft,
                       caller.recursionLeft);
}

void Interpreter::RunBlock(std::string_view block)
{
    RecursionLevel level(recursionLeft);
    std::optional<ScratchText> expanded;
    const char* const begin = block.data();
    const char* const end = begin + block.size();
    // The statements of a block that ran before are not cut again; those of another one are
    // noted while they are cut, and remembered when all were cut.
    CutMemory& memory = CutMemory::OfThisThread();
    CutMemory::Cuts cuts;
    const size_t known = memory.Recall(block, cuts);
    bool noting = known == 0 && !block.empty() && block.size() <= CutMemory::kMaxText;
    size_t index = 0;
    // Where the statement in progress stands, for the text that an error carries.
    enum class Stage { kSkipping, kCutting, kPreparing, kExecuting } stage = Stage::kSkipping;
    const char* skipStart = begin;
    const char* statementStart = skipStart;
    const char* statementEnd = skipStart;
    std::string_view executed;
    try {
        for (const char* p = begin;; ++index) {
            stage = Stage::kSkipping;
            skipStart = p;
            if (index < known) {
                statementStart = begin + cuts[index].start;
                statementEnd = begin + cuts[index].end;
            } else {
                statementStart = SkipBlank(p, end);
                stage = Stage::kCutting;
                statementEnd = FindStatementEnd(statementStart, end);
                if (index == cuts.size())
                    noting = false;
                else if (noting)
                    cuts[index] = {uint32_t(statementStart - begin), uint32_t(statementEnd - begin)};
            }
            stage = Stage::kPreparing;
            Interpreter& budget = *root;
            if (budget.statementsLeft == 0)
                ThrowRunTimeError("Statements limit reached");
            if (!executor->Progress(*this, budget.statementsLeft))
                throw AbortedException("Aborted");
            --budget.statementsLeft;
            executed = Range(statementStart, statementEnd);
            // A statement that is one bracket group expands to itself.
            if (statementStart == end || *statementStart != '[') {
                if (!expanded)
                    expanded.emplace();
                std::string& text = **expanded;
                text.clear();
                ExpandInto(text, executed);
                executed = text;
            }
            stage = Stage::kExecuting;
            ExecuteStatement(executed);
            if (statementEnd == end)
                break;
            p = statementEnd;
            if (*p == ';' && ++p == end)
                break;
        }
        if (noting)
            memory.Remember(block, cuts, index + 1);
    } catch (Exception& error) {
        if (error.statement.empty()) {
            switch (stage) {
            case Stage::kSkipping:
                error.statement.assign(Range(skipStart, end));
                break;
            case Stage::kCutting:
                error.statement.assign(Range(statementStart, end));
                break;
            case Stage::kPreparing:
                error.statement.assign(Range(statementStart, statementEnd));
                break;
            case Stage::kExecuting:
                error.statement.assign(executed);
                break;
            }
        }
        throw;
    }
}

void Interpreter::ExecuteStatement(std::string_view statement)
{
    if (IsBracketed(statement)) {
        RunBlock(Inside(statement));
        return;
    }
    if (statement.empty())
        return;
    const char* const begin = statement.data();
    const char* const end = begin + statement.size();
    const char* const nameEnd = SkipName(begin, end);
    if (nameEnd == begin)
        ThrowSyntaxError("Invalid intruction");
    // Only spaces and tabs part the name from '=' or the arguments: a value or an argument
    // text that starts with "//" or "/*" is kept as it stands.
    const char* const rest = SkipBlankCharacters(nameEnd, end);
    if (rest < end && *rest == '=') {
        AssignVariable(Range(begin, nameEnd), Range(SkipBlankCharacters(rest + 1, end), end));
        return;
    }
    // A built-in is found by its lower-cased name without a string being made of it.
    const std::string_view name = Range(begin, nameEnd);
    const std::string_view argumentText = Range(rest, end);
    if (name.size() <= kLongestBuiltInName) {
        char lowered[kLongestBuiltInName];
        for (size_t i = 0; i < name.size(); ++i)
            lowered[i] = ToLower(name[i]);
        if (RunBuiltIn(*this, std::string_view(lowered, name.size()), argumentText))
            return;
    }
    HandOver(*this, ToLower(name), argumentText);
}

std::string Interpreter::Expand(std::string_view text)
{
    std::string out;
    ExpandInto(out, text);
    return out;
}

void Interpreter::ExpandInto(std::string& out, std::string_view text)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    const size_t outStart = out.size();
    bool blankPending = false;
    const char* run = p;
    // Ends the current run: a pending blank, then the run's text.
    const auto flush = [&] {
        if (blankPending)
            out += ' ';
        out.append(run, size_t(p - run));
        CheckTextLength(out.size() - outStart);
    };
    const auto startsBlank = [end](const char* q) {
        return kBlankStarts.Has(*q) && (*q != '/' || IsCommentStart(q, end));
    };
    while (p < end) {
        const char c = *p;
        if (startsBlank(p)) {
            // A single space between two texts stays as it is: the run goes on across it.
            if (c == ' ' && p + 1 < end && !startsBlank(p + 1) && (p > run || out.size() > outStart)) {
                ++p;
                continue;
            }
            flush();
            blankPending = out.size() > outStart;
            p = run = SkipBlank(p, end);
        } else if (c == '$') {
            flush();
            const char* const name = ++p;
            while (p < end && IsNameCharacter(*p))
                ++p;
            if (p == name)
                ThrowSyntaxError("Syntax error");
            ScratchText value;
            if (!GetVariable(Range(name, p), *value))
                ThrowRunTimeError("Variable does not exist");
            out += *value;
            CheckTextLength(out.size() - outStart);
            blankPending = false;
            run = p;
        } else if (c == '{') {
            flush();
            Value value;
            p = SkipBlank(Evaluate(*this, p + 1, end, value, 0), end);
            if (p == end || *p != '}')
                ThrowSyntaxError("Syntax error");
            value.AppendText(out);
            CheckTextLength(out.size() - outStart);
            blankPending = false;
            run = ++p;
        } else if (c == '[') {
            p = SkipBrackets(p, end);
        } else if (c == '\\') {
            p = SkipEscaped(p, end);
        } else {
            p = kExpansionSpecials.Find(p + 1, end);
        }
    }
    if (p > run)
        flush();
}

bool Interpreter::GetVariable(std::string_view name, std::string& value)
{
    for (Interpreter* context = this; context != nullptr; context = context->parent) {
        if (context->variables->Get(name, value))
            return true;
    }
    return false;
}

void Interpreter::AssignVariable(std::string_view name, std::string_view value)
{
    Interpreter* outermost = this;
    for (Interpreter* context = this; context != nullptr; context = context->parent) {
        if (context->variables->Set(name, value))
            return;
        outermost = context;
    }
    if (!outermost->variables->Declare(name, value))
        ThrowRunTimeError("Could not set variable");
}

} // namespace ORDO
