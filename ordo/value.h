#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Every ORDO value is text. Numbers and booleans are read from text and written back to text
// by these conversions; the expression evaluator works on typed values (ORDO::Value).
namespace ORDO {

// The boolean texts.
inline constexpr std::string_view kYes = "yes";
inline constexpr std::string_view kNo = "no";

// The precision with which every number is written.
inline constexpr int kNumberPrecision = 13;

// Reads the longest number at start into number and returns the position after it; returns
// start itself with 0.0 when there is none. Exponent digits saturate.
const char* ParseNumber(const char* start, const char* end, double& number);

// Writes the decimal digits of value so that they end at end and returns where they begin.
inline char* WriteDigits(uint64_t value, char* end)
{
    static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                     "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                     "8081828384858687888990919293949596979899";
    for (; value >= 100; value /= 100) {
        end -= 2;
        end[0] = kPairs[value % 100 * 2];
        end[1] = kPairs[value % 100 * 2 + 1];
    }
    if (value >= 10) {
        end -= 2;
        end[0] = kPairs[value * 2];
        end[1] = kPairs[value * 2 + 1];
    } else {
        *--end = char('0' + value);
    }
    return end;
}

// Appends number to out with at most precision significant digits (clamped to 1..40).
// Infinities and NaN are written "inf", "-inf" and "nan".
void FormatNumber(std::string& out, int precision, double number);

// The whole text must be one number: "Invalid number".
double ToNumber(std::string_view text);

// Optional sign, then decimal digits up to the end, wrapping modulo 2^32: "Invalid integer".
int32_t ToInteger(std::string_view text);

// Exactly "yes" or "no": "Invalid boolean (should be 'yes' or 'no')".
bool ToBoolean(std::string_view text);

// A-Z turned to a-z, every other byte unchanged.
inline char ToLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Copy with A-Z turned to a-z.
std::string ToLower(std::string_view text);

// The typed value of the expression evaluator.
struct Value {
    enum class Kind : int32_t { kNone = 0, kBoolean = 1, kNumber = 2, kText = 3 };

    Kind kind = Kind::kNone;
    std::string text;    // used by kText
    double number = 0.0; // used by kNumber; 1.0 or 0.0 for kBoolean

    void SetBoolean(bool value);
    void SetNumber(double value);
    void SetText(std::string_view value);

    // Appends the text form: numbers with 13 significant digits, booleans "yes" or "no".
    void AppendText(std::string& out) const;
    std::string ToText() const;
    bool ToBoolean() const;
    double ToNumber() const { return kind == Kind::kText ? ORDO::ToNumber(text) : number; }
    // The numeric view used by comparisons: true with the number when the value is a number
    // or its text form is one whole number.
    bool GetNumeric(double& number) const;
};

} // namespace ORDO
