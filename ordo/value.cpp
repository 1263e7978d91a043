#include "ordo/value.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "ordo/exceptions.h"
#include "ordo/scanner.h"

namespace ORDO {

namespace {

const char* ReadFraction(const char* p, const char* end, double& value)
{
    double scale = 1.0;
    for (; p < end && IsDigit(*p); ++p) {
        scale *= 0.1;
        value += (*p - '0') * scale;
    }
    return p;
}

// A number when the whole text is one.
bool ReadWholeNumber(std::string_view text, double& number)
{
    const char* const end = text.data() + text.size();
    return !text.empty() && ParseNumber(text.data(), end, number) == end;
}

// The decimal digits of a plain number: the integer digits, then the fraction digits.
class PlainDigits {
public:
    // Generates the digits of a (1e-5 < a < 1e10) with n integer digits (n <= precision).
    PlainDigits(double a, int n, int precision)
    {
        double d = a;
        if (a >= 1) {
            fIntegerDigits = n;
            for (int i = 1; i < n; ++i)
                d *= 0.1;
        } else {
            Push(0);
            d = a * 10;
            while (d < 1) {
                Push(0);
                d *= 10;
            }
        }
        for (int i = 0; i < precision; ++i) {
            const int digit = std::min(int(d), 9);
            Push(digit);
            d = (d - digit) * 10;
        }
        if (d >= 5)
            RoundUp();
    }

    void Write(std::string& out, bool negative) const
    {
        int last = fCount;
        while (last > fIntegerDigits && fDigits[last - 1] == '0')
            --last;
        if (negative)
            out += '-';
        out.append(fDigits, size_t(fIntegerDigits));
        if (last > fIntegerDigits) {
            out += '.';
            out.append(fDigits + fIntegerDigits, size_t(last - fIntegerDigits));
        }
    }

private:
    void Push(int digit) { fDigits[fCount++] = char('0' + digit); }

    void RoundUp()
    {
        for (int i = fCount - 1; i >= 0; --i) {
            if (fDigits[i] != '9') {
                ++fDigits[i];
                return;
            }
            fDigits[i] = '0';
        }
        std::copy_backward(fDigits, fDigits + fCount, fDigits + fCount + 1);
        fDigits[0] = '1';
        ++fCount;
        ++fIntegerDigits;
    }

    // At most 10 integer digits or 5 leading zeros, 40 significant digits and one carry.
    char fDigits[64];
    int fCount = 0;
    int fIntegerDigits = 1;
};

// The integer digits of a finite a, counted by the same scaling that generates them.
int CountIntegerDigits(double a)
{
    int n = 1;
    for (; a >= 10; a *= 0.1)
        ++n;
    return n;
}

} // namespace

const char* ParseNumber(const char* start, const char* end, double& number)
{
    const char* p = start;
    bool negative = false;
    if (end - p >= 2 && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    double value = 0.0;
    if (p < end && IsDigit(*p)) {
        for (; p < end && IsDigit(*p); ++p)
            value = value * 10 + (*p - '0');
        if (p < end && *p == '.')
            p = ReadFraction(p + 1, end, value);
    } else if (end - p >= 2 && *p == '.' && IsDigit(p[1])) {
        p = ReadFraction(p + 1, end, value);
    } else {
        number = 0.0;
        return start;
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (end - q >= 2 && (*q == '+' || *q == '-') && IsDigit(q[1])) {
            negativeExponent = *q == '-';
            ++q;
        }
        if (q < end && IsDigit(*q)) {
            int32_t exponent = 0;
            for (; q < end && IsDigit(*q); ++q) {
                const int digit = *q - '0';
                exponent = (exponent > (INT32_MAX - digit) / 10) ? INT32_MAX : exponent * 10 + digit;
            }
            value *= std::pow(10.0, negativeExponent ? -double(exponent) : double(exponent));
            p = q;
        }
    }
    number = negative ? -value : value;
    return p;
}

void FormatNumber(std::string& out, int precision, double number)
{
    const double a = std::fabs(number);
    // Whole numbers of up to ten digits come out of the digit algorithm exactly when it writes
    // 10 to 14 significant digits (the error of its scaling stays far below the last digit):
    // write them directly.
    if (a >= 1 && a < 1e10 && precision >= 10 && precision <= 14) {
        const uint64_t whole = uint64_t(a);
        if (double(whole) == a) {
            char digits[12];
            char* first = WriteDigits(whole, digits + sizeof digits);
            if (number < 0)
                *--first = '-';
            out.append(first, size_t(digits + sizeof digits - first));
            return;
        }
    }
    if (std::isnan(number)) {
        out += "nan";
        return;
    }
    if (std::isinf(number)) {
        out += number < 0 ? "-inf" : "inf";
        return;
    }
    precision = std::clamp(precision, 1, 40);
    if (a <= 1e-300) {
        out += '0';
        return;
    }
    if (a > 1e-5 && a < 1e10) {
        const int n = CountIntegerDigits(a);
        if (n <= precision) {
            PlainDigits(a, n, precision).Write(out, number < 0);
            return;
        }
    }
    // Exponent notation: the mantissa by this same routine, then the exponent.
    const int exponent = int(std::floor(std::log10(a) + 1e-10));
    int shrink = 0;
    for (double e = std::abs(exponent); e >= 8; e *= 0.1)
        ++shrink;
    FormatNumber(out, std::min(precision, 15 - shrink), number * std::pow(0.1, exponent));
    out += exponent >= 0 ? "e+" : "e-";
    char digits[12];
    int count = 0;
    for (int e = std::abs(exponent); count == 0 || e > 0; e /= 10)
        digits[count++] = char('0' + e % 10);
    while (count > 0)
        out += digits[--count];
}

double ToNumber(std::string_view text)
{
    double number;
    if (!ReadWholeNumber(text, number))
        ThrowRunTimeError("Invalid number");
    return number;
}

int32_t ToInteger(std::string_view text)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    bool negative = false;
    if (end - p >= 2 && (*p == '+' || *p == '-') && IsDigit(p[1])) {
        negative = *p == '-';
        ++p;
    }
    if (p == end || !IsDigit(*p))
        ThrowRunTimeError("Invalid integer");
    uint32_t value = 0;
    for (; p < end && IsDigit(*p); ++p)
        value = value * 10 + uint32_t(*p - '0');
    if (p != end)
        ThrowRunTimeError("Invalid integer");
    return int32_t(negative ? 0u - value : value);
}

bool ToBoolean(std::string_view text)
{
    if (text == kYes)
        return true;
    if (text == kNo)
        return false;
    ThrowRunTimeError("Invalid boolean (should be 'yes' or 'no')");
}

std::string ToLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = ToLower(c);
    return lower;
}

void Value::SetBoolean(bool value)
{
    kind = Kind::kBoolean;
    text.clear();
    number = value ? 1.0 : 0.0;
}

void Value::SetNumber(double value)
{
    kind = Kind::kNumber;
    text.clear();
    number = value;
}

void Value::SetText(std::string_view value)
{
    kind = Kind::kText;
    text.assign(value);
    number = 0.0;
}

void Value::AppendText(std::string& out) const
{
    switch (kind) {
    case Kind::kNumber:
        FormatNumber(out, kNumberPrecision, number);
        break;
    case Kind::kText:
        out += text;
        break;
    case Kind::kBoolean:
        out += number != 0 ? kYes : kNo;
        break;
    case Kind::kNone:
        break;
    }
}

std::string Value::ToText() const
{
    std::string out;
    AppendText(out);
    return out;
}

bool Value::ToBoolean() const
{
    return kind == Kind::kText ? ORDO::ToBoolean(text) : number != 0;
}

bool Value::GetNumeric(double& value) const
{
    switch (kind) {
    case Kind::kNumber:
        value = number;
        return true;
    case Kind::kText:
        return ReadWholeNumber(text, value);
    case Kind::kBoolean:
    case Kind::kNone:
        return false;
    }
    return false;
}

} // namespace ORDO
