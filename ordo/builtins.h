#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ordo/value.h"

namespace ORDO {

class Interpreter;

// The decimal text of an integer: digits without leading zeros, '-' before a negative value.
class DecimalText {
public:
    explicit DecimalText(int64_t value) : fBegin(WriteDigits(value < 0 ? 0 - uint64_t(value) : uint64_t(value), fEnd))
    {
        if (value < 0)
            *--fBegin = '-';
    }
    operator std::string_view() const { return std::string_view(fBegin, size_t(fEnd - fBegin)); }

private:
    char fDigits[24];
    char* const fEnd = fDigits + sizeof fDigits;
    char* fBegin;
};

// The longest name of a built-in instruction.
inline constexpr size_t kLongestBuiltInName = 7;

// Runs the built-in of that (lower-cased) name and returns true, or returns false when the
// name is no built-in.
bool RunBuiltIn(Interpreter& context, std::string_view name, std::string_view argumentText);
// Hands an instruction that is no built-in to the host: "Unrecognized instruction" when the
// host does not know it (except "meta", which then does nothing).
void HandOver(Interpreter& context, const std::string& name, std::string_view argumentText);

// The built-in instructions. Each gets the context of its statement and its argument text,
// expanded once by the statement runner.
void RunDebug(Interpreter& context, std::string_view argumentText);
void RunCall(Interpreter& context, std::string_view argumentText);
void RunFor(Interpreter& context, std::string_view argumentText);
void RunFormat(Interpreter& context, std::string_view argumentText);
void RunIf(Interpreter& context, std::string_view argumentText);
void RunInclude(Interpreter& context, std::string_view argumentText);
void RunLocal(Interpreter& context, std::string_view argumentText);
void RunRepeat(Interpreter& context, std::string_view argumentText);
void RunReturn(Interpreter& context, std::string_view argumentText);
void RunStop(Interpreter& context, std::string_view argumentText);
void RunTrace(Interpreter& context, std::string_view argumentText);

} // namespace ORDO
