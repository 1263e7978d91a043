#include "orv/values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "ordo/arguments.h"
#include "ordo/exceptions.h"
#include "ordo/scanner.h"
#include "ordo/value.h"
#include "raster/color.h"

namespace ORV {

namespace {

struct NamedColor {
    std::string_view name;
    QorRaster::Pixel color;
};

constexpr NamedColor kNamedColors[] = {
    {"none", 0x00000000},   {"aqua", 0xFF00FFFF},  {"black", 0xFF000000}, {"blue", 0xFF0000FF},
    {"fuchsia", 0xFFFF00FF}, {"gray", 0xFF808080},  {"green", 0xFF008000}, {"lime", 0xFF00FF00},
    {"maroon", 0xFF800000}, {"navy", 0xFF000080},  {"olive", 0xFF808000}, {"purple", 0xFF800080},
    {"red", 0xFFFF0000},    {"silver", 0xFFC0C0C0}, {"teal", 0xFF008080}, {"white", 0xFFFFFFFF},
    {"yellow", 0xFFFFFF00},
};

// The slot of a lower-cased name of 3 to 7 characters: ((c3 + c1) XOR c2) AND 31 over its second,
// third and fourth characters as signed bytes, the fourth being 0 for a three-letter name.
constexpr size_t ColorSlot(std::string_view name)
{
    const int c1 = static_cast<signed char>(name[1]);
    const int c2 = static_cast<signed char>(name[2]);
    const int c3 = name.size() > 3 ? static_cast<signed char>(name[3]) : 0;
    return static_cast<size_t>(((c3 + c1) ^ c2) & 31);
}

constexpr std::array<signed char, 32> MakeColorSlots()
{
    std::array<signed char, 32> slots{};
    for (auto& slot : slots)
        slot = -1;
    for (size_t i = 0; i < std::size(kNamedColors); ++i) {
        signed char& slot = slots[ColorSlot(kNamedColors[i].name)];
        if (slot >= 0)
            throw "colour slots collide";
        slot = static_cast<signed char>(i);
    }
    return slots;
}

constexpr std::array<signed char, 32> kColorSlots = MakeColorSlots();
static_assert(kColorSlots[1] == 12 && kColorSlots[2] == 8 && kColorSlots[26] == 0 && kColorSlots[30] == 4);

// Reads the hexadecimal digits after a leading '#'; returns how many there were.
size_t ReadHexDigits(std::string_view text, uint32_t& value)
{
    const char* const begin = text.data() + 1;
    value = 0;
    return size_t(ORDO::ParseHexDigits(begin, text.data() + text.size(), value) - begin);
}

// min(255, trunc(value * 256)) of a number already checked to lie in 0..1.
uint32_t ToByte(double value)
{
    return std::min(255u, static_cast<uint32_t>(value * 256));
}

void CheckUnitRange(double value)
{
    if (!(value >= 0 && value <= 1))
        ORDO::ThrowRunTimeError("Value out of range");
}

QorRaster::Pixel ParseHexColor(std::string_view text)
{
    uint32_t value = 0;
    switch (ReadHexDigits(text, value)) {
    case 6:
        return 0xFF000000 | value;
    case 8: {
        const uint32_t alpha = value >> 24;
        if (((value >> 16) & 0xFF) > alpha || ((value >> 8) & 0xFF) > alpha || (value & 0xFF) > alpha)
            ORDO::ThrowSyntaxError("Invalid pre-multiplied alpha color");
        return value;
    }
    default:
        ORDO::ThrowSyntaxError("Invalid color");
    }
}

QorRaster::Pixel ParseFunctionalColor(ORDO::Interpreter& context, bool hsv, std::string_view inside)
{
    std::array<double, 4> values{};
    const size_t count = ParseNumbers(context, inside, values, 3);
    for (size_t i = 0; i < count; ++i)
        CheckUnitRange(values[i]);
    if (hsv)
        return QorRaster::HSVToARGB(values[0], values[1], values[2], count == 4 ? values[3] : 1.0);
    const QorRaster::Pixel opaque = 0xFF000000 | ToByte(values[0]) << 16 | ToByte(values[1]) << 8 | ToByte(values[2]);
    return count == 4 ? QorRaster::ScalePixel(opaque, ToByte(values[3])) : opaque;
}

} // namespace

size_t ParseNumbers(ORDO::Interpreter& context, std::string_view text, std::span<double> values, size_t minimum)
{
    std::vector<std::string> elements;
    const size_t count = ORDO::SplitList(context, text, elements, true, false, minimum, values.size());
    for (size_t i = 0; i < count; ++i)
        values[i] = ORDO::ToNumber(elements[i]);
    return count;
}

QorRaster::Pixel ParseColor(ORDO::Interpreter& context, std::string_view text)
{
    if (!text.empty() && text.front() == '#')
        return ParseHexColor(text);
    if (text.size() >= 5 && text.back() == ')') {
        const std::string prefix = ORDO::ToLower(text.substr(0, 4));
        if (prefix == "rgb(" || prefix == "hsv(")
            return ParseFunctionalColor(context, prefix == "hsv(", text.substr(4, text.size() - 5));
    }
    if (text.size() >= 3 && text.size() <= 7) {
        const std::string name = ORDO::ToLower(text);
        const int index = kColorSlots[ColorSlot(name)];
        if (index >= 0 && name == kNamedColors[index].name)
            return kNamedColors[index].color;
    }
    ORDO::ThrowSyntaxError("Invalid color");
}

uint8_t ParseOpacity(std::string_view text)
{
    if (!text.empty() && text.front() == '#') {
        uint32_t value = 0;
        if (ReadHexDigits(text, value) != 2)
            ORDO::ThrowSyntaxError("Invalid opacity");
        return static_cast<uint8_t>(value);
    }
    const double value = ORDO::ToNumber(text);
    CheckUnitRange(value);
    return static_cast<uint8_t>(ToByte(value));
}

} // namespace ORV
