#pragma once

#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>

namespace ORDO {

class Interpreter;

// The decimal text of an integer: digits without leading zeros, '-' before a negative value.
class DecimalText {
public:
    template <typename Integer>
    explicit DecimalText(Integer value) : fEnd(std::to_chars(fDigits, fDigits + sizeof fDigits, value).ptr)
    {
    }
    operator std::string_view() const { return std::string_view(fDigits, size_t(fEnd - fDigits)); }

private:
    char fDigits[24];
    const char* fEnd;
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
