#include "orv/values.h"

#include <gtest/gtest.h>

#include <array>

#include "orv/tests/test_support.h"
#include "raster/color.h"

namespace ORV {
namespace {

using Testing::FailureOf;

class ValuesTest : public ::testing::Test {
protected:
    QorRaster::Pixel Color(std::string_view text) { return ParseColor(drawing.context, text); }
    std::string ColorFailure(std::string_view text)
    {
        return FailureOf([&] { ParseColor(drawing.context, text); }).text;
    }
    std::string OpacityFailure(std::string_view text)
    {
        return FailureOf([&] { ParseOpacity(text); }).text;
    }

    Testing::Drawing drawing{1, 1};
};

TEST_F(ValuesTest, NumberListsKeepEmptyElementsAndExpandBrackets)
{
    drawing.Run("half = 0.5");
    std::array<double, 4> values{};
    EXPECT_EQ(ParseNumbers(drawing.context, "1, -2.5 [{$half * 4}]", values, 2), 3u);
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[1], -2.5);
    EXPECT_EQ(values[2], 2);

    EXPECT_EQ(FailureOf([&] { ParseNumbers(drawing.context, "1", values, 2); }).text,
              "Syntax: Too few list elements");
    EXPECT_EQ(FailureOf([&] { ParseNumbers(drawing.context, "1 2 3 4 5", values, 2); }).text,
              "Syntax: Too many list elements");
    // An empty element is kept and is no number.
    EXPECT_EQ(FailureOf([&] { ParseNumbers(drawing.context, "1,,2", values, 2); }).text,
              "RunTime: Invalid number");
    EXPECT_EQ(FailureOf([&] { ParseNumbers(drawing.context, "1 x", values, 2); }).text, "RunTime: Invalid number");
}

TEST_F(ValuesTest, HexadecimalColors)
{
    EXPECT_EQ(Color("#FF0000"), 0xFFFF0000u);
    EXPECT_EQ(Color("#ff0000"), 0xFFFF0000u);
    EXPECT_EQ(Color("#ff0000zz"), 0xFFFF0000u); // characters after the digits are not examined
    EXPECT_EQ(Color("#80808080"), 0x80808080u);
    EXPECT_EQ(Color("#00000000"), 0u);
    EXPECT_EQ(ColorFailure("#f00"), "Syntax: Invalid color");
    EXPECT_EQ(ColorFailure("#"), "Syntax: Invalid color");
    EXPECT_EQ(ColorFailure("#1234567"), "Syntax: Invalid color");
    EXPECT_EQ(ColorFailure("#123456789"), "Syntax: Invalid color");
    EXPECT_EQ(ColorFailure("#80ff0000"), "Syntax: Invalid pre-multiplied alpha color");
    EXPECT_EQ(ColorFailure("#80008100"), "Syntax: Invalid pre-multiplied alpha color");
    EXPECT_EQ(ColorFailure("#80000081"), "Syntax: Invalid pre-multiplied alpha color");
}

TEST_F(ValuesTest, FunctionalColors)
{
    EXPECT_EQ(Color("RGB(1, 0, 0)"), 0xFFFF0000u);
    EXPECT_EQ(Color("rgb(1, 0.5, 0, 0.5)"), 0x80804000u);
    EXPECT_EQ(Color("rgb(0.25,0.5,0.75)"), 0xFF4080C0u);
    EXPECT_EQ(Color("rgb(0, 0, 0, 0)"), 0u);
    EXPECT_EQ(Color("hsv(0, 1, 1)"), 0xFFFF0000u);
    EXPECT_EQ(Color("HSV(0, 0, 1, 0.5)"), QorRaster::HSVToARGB(0, 0, 1, 0.5));
    EXPECT_EQ(ColorFailure("rgb(1, 2, 0)"), "RunTime: Value out of range");
    EXPECT_EQ(ColorFailure("rgb(1, 0, -0.1)"), "RunTime: Value out of range");
    EXPECT_EQ(ColorFailure("hsv(0, 0, 0, 1.5)"), "RunTime: Value out of range");
    EXPECT_EQ(ColorFailure("rgb(1, 0)"), "Syntax: Too few list elements");
    EXPECT_EQ(ColorFailure("rgb(1, 0, 0, 1, 0)"), "Syntax: Too many list elements");
    EXPECT_EQ(ColorFailure("rgb(1, x, 0)"), "RunTime: Invalid number");
    // Without the closing parenthesis the text is looked up as a name.
    EXPECT_EQ(ColorFailure("rgb(1, 0, 0"), "Syntax: Invalid color");
    EXPECT_EQ(ColorFailure("cmy(1, 0, 0)"), "Syntax: Invalid color");
}

TEST_F(ValuesTest, NamedColorsInAnyCase)
{
    const std::pair<const char*, QorRaster::Pixel> names[] = {
        {"none", 0x00000000},   {"aqua", 0xFF00FFFF},   {"black", 0xFF000000}, {"blue", 0xFF0000FF},
        {"fuchsia", 0xFFFF00FF}, {"gray", 0xFF808080},   {"green", 0xFF008000}, {"lime", 0xFF00FF00},
        {"maroon", 0xFF800000}, {"navy", 0xFF000080},   {"olive", 0xFF808000}, {"purple", 0xFF800080},
        {"red", 0xFFFF0000},    {"silver", 0xFFC0C0C0}, {"teal", 0xFF008080},  {"white", 0xFFFFFFFF},
        {"yellow", 0xFFFFFF00},
    };
    for (const auto& [name, color] : names)
        EXPECT_EQ(Color(name), color) << name;
    EXPECT_EQ(Color("NONE"), 0u);
    EXPECT_EQ(Color("Fuchsia"), 0xFFFF00FFu);
    for (const char* bad : {"grey", "re", "", "redd", "whitest", "orange", "reD "})
        EXPECT_EQ(ColorFailure(bad), "Syntax: Invalid color") << bad;
}

TEST_F(ValuesTest, Opacities)
{
    EXPECT_EQ(ParseOpacity("1"), 255);
    EXPECT_EQ(ParseOpacity("0.5"), 128);
    EXPECT_EQ(ParseOpacity("0"), 0);
    EXPECT_EQ(ParseOpacity("0.999"), 255);
    EXPECT_EQ(ParseOpacity("#80"), 128);
    EXPECT_EQ(ParseOpacity("#fFzz"), 255);
    EXPECT_EQ(OpacityFailure("#8"), "Syntax: Invalid opacity");
    EXPECT_EQ(OpacityFailure("#800"), "Syntax: Invalid opacity");
    EXPECT_EQ(OpacityFailure("#"), "Syntax: Invalid opacity");
    EXPECT_EQ(OpacityFailure("1.5"), "RunTime: Value out of range");
    EXPECT_EQ(OpacityFailure("-0.01"), "RunTime: Value out of range");
    EXPECT_EQ(OpacityFailure("1e999"), "RunTime: Value out of range");
    EXPECT_EQ(OpacityFailure("half"), "RunTime: Invalid number");
    EXPECT_EQ(OpacityFailure(""), "RunTime: Invalid number");
}

} // namespace
} // namespace ORV
