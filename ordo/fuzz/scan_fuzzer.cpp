// Feeds arbitrary bytes to every scanner, to the number and text conversions and to the
// expression evaluator at each precedence level. Each must stay inside the text, return a
// position within it, and fail only with an ORDO exception.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ordo/evaluator.h"
#include "ordo/exceptions.h"
#include "ordo/interpreter.h"
#include "ordo/scanner.h"
#include "ordo/tests/recording_executor.h"
#include "ordo/value.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Runs one scan and checks that its result lies within [start, end].
template <typename Scan>
void Guarded(const char* start, const char* end, Scan scan)
{
    try {
        const char* const result = scan();
        Check(result >= start && result <= end);
    } catch (const ORDO::Exception&) {
    }
}

void Scan(const char* begin, const char* end)
{
    Guarded(begin, end, [&] { return ORDO::SkipBlank(begin, end); });
    Guarded(begin, end, [&] { return ORDO::FindStatementEnd(begin, end); });
    if (begin < end && (*begin == '[' || *begin == '{'))
        Guarded(begin, end, [&] { return ORDO::SkipBrackets(begin, end); });
    if (ORDO::IsCommentStart(begin, end))
        Guarded(begin, end, [&] { return ORDO::SkipComment(begin, end); });
    uint32_t code = 0;
    Guarded(begin, end, [&] { return ORDO::DecodeEscape(begin, end, code); });
    Guarded(begin, end, [&] { return ORDO::ParseHexDigits(begin, end, code); });
    try {
        ORDO::Unescape(std::string_view(begin, size_t(end - begin)));
    } catch (const ORDO::Exception&) {
    }
}

void Convert(const char* begin, const char* end)
{
    double number = 0;
    Guarded(begin, end, [&] { return ORDO::ParseNumber(begin, end, number); });
    std::string text;
    ORDO::FormatNumber(text, ORDO::kNumberPrecision, number);
    const std::string_view whole(begin, size_t(end - begin));
    try {
        ORDO::ToNumber(whole);
    } catch (const ORDO::Exception&) {
    }
    try {
        ORDO::ToInteger(whole);
    } catch (const ORDO::Exception&) {
    }
    try {
        ORDO::ToBoolean(whole);
    } catch (const ORDO::Exception&) {
    }
    ORDO::ToLower(whole);
}

void Evaluate(ORDO::Interpreter& context, const char* begin, const char* end)
{
    for (int level = 0; level <= 11; ++level) {
        ORDO::Value value;
        Guarded(begin, end, [&] { return ORDO::Evaluate(context, begin, end, value, level); });
        std::string text;
        value.AppendText(text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that any read past the end is caught.
    std::vector<char> bytes(data, data + size);
    const char* const begin = bytes.data();
    const char* const end = begin + size;

    ORDO::Testing::RecordingExecutor executor;
    ORDO::Variables variables;
    variables.Declare("x", "12.5");
    variables.Declare("t", "yes");
    variables.Declare("item1", "[a b]");
    ORDO::Interpreter context(executor, variables, 1000, 100);

    // Every suffix start within the first bytes, so that scans begin at every kind of character.
    for (const char* start = begin; start < end && start - begin < 64; ++start) {
        Scan(start, end);
        Convert(start, end);
    }
    Evaluate(context, begin, end);
    return 0;
}
