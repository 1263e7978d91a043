#include "orv/transforms.h"

#include <gtest/gtest.h>

#include <cmath>

#include "orv/tests/test_support.h"

namespace ORV {
namespace {

using Testing::FailureOf;

class TransformBlockTest : public ::testing::Test {
protected:
    QorRaster::Transform Parse(std::string_view text) { return ParseTransform(drawing.context, text); }
    std::string Failure(std::string_view text)
    {
        return FailureOf([&] { ParseTransform(drawing.context, text); }).text;
    }
    static void ExpectMaps(const QorRaster::Transform& t, QorRaster::Point from, QorRaster::Point to)
    {
        const QorRaster::Point p = t.Apply(from);
        EXPECT_NEAR(p.x, to.x, 1e-9);
        EXPECT_NEAR(p.y, to.y, 1e-9);
    }

    Testing::Drawing drawing{1, 1};
};

TEST_F(TransformBlockTest, WordsAccumulateWithTheLastWrittenAppliedFirst)
{
    EXPECT_EQ(Parse(""), QorRaster::Transform());
    ExpectMaps(Parse("offset 10,0; scale 2"), {1, 1}, {12, 2});
    // The scale is written first, so it applies last: rotate (1, 0) to (0, 1), then scale.
    ExpectMaps(Parse("scale 2\nrotate 90"), {1, 0}, {0, 2});
    ExpectMaps(Parse("scale 2,3"), {1, 1}, {2, 3});
    ExpectMaps(Parse("rotate 90,10,10"), {10, 10}, {10, 10});
    ExpectMaps(Parse("rotate 90,10,10"), {11, 10}, {10, 11});
    ExpectMaps(Parse("matrix 1,0,0,1,5,7"), {0, 0}, {5, 7});
    ExpectMaps(Parse("matrix 1,2,3,4,5,6"), {1, 1}, {9, 12});
    ExpectMaps(Parse("shear 2,3"), {1, 1}, {3, 4});
    // Upper-case words work: ORDO lower-cases instruction names.
    ExpectMaps(Parse("OFFSET 1,2"), {0, 0}, {1, 2});
}

TEST_F(TransformBlockTest, RunsAsAnOrdoBlock)
{
    drawing.Run("k = 3");
    ExpectMaps(Parse("[if yes [scale $k]]; offset [{$k - 1}, 0]"), {1, 1}, {9, 3});
    // Arguments beyond the first are ignored: 3 is a second positional argument.
    ExpectMaps(Parse("scale 2 3 extra: 1"), {1, 1}, {2, 2});
}

TEST_F(TransformBlockTest, Errors)
{
    EXPECT_EQ(Failure("scale"), "Syntax: Missing argument(s)");
    // The argument is required before the name is looked at.
    EXPECT_EQ(Failure("bogus"), "Syntax: Missing argument(s)");
    EXPECT_EQ(Failure("bogus 1"), "Syntax: Unrecognized instruction");
    EXPECT_EQ(Failure("scales 1"), "Syntax: Unrecognized instruction");
    EXPECT_EQ(Failure("rect 1,2,3,4"), "Syntax: Unrecognized instruction");
    EXPECT_EQ(Failure("scale 1,2,3"), "Syntax: Too many list elements");
    EXPECT_EQ(Failure("matrix 1,2,3,4,5"), "Syntax: Too few list elements");
    EXPECT_EQ(Failure("rotate 1,2"), "Syntax: Invalid transform");
    EXPECT_EQ(Failure("rotate 1,2,3,4"), "Syntax: Too many list elements");
    EXPECT_EQ(Failure("offset 1,x"), "RunTime: Invalid number");
    EXPECT_EQ(Failure("format orv-1"), "Format: Unsupported data format");
    EXPECT_EQ(Failure("include file"), "RunTime: Could not include file");
}

TEST_F(TransformBlockTest, SharesTheStatementBudgetAndDepthOfTheRun)
{
    drawing.context.statementsLeft = 3;
    EXPECT_EQ(Failure("scale 1; scale 1; scale 1; scale 1"), "RunTime: Statements limit reached");
    drawing.context.statementsLeft = 100;
    drawing.context.recursionLeft = 2;
    EXPECT_EQ(Failure("[[scale 2]]"), "RunTime: Recursion limit reached");
    EXPECT_NO_THROW(Parse("[scale 2]"));
}

TEST(TransformWordTest, MatricesOfTheWords)
{
    TransformNumbers numbers;
    numbers.values = {2, 0, 0, 0, 0, 0};
    numbers.count = 1;
    EXPECT_EQ(MakeTransform(TransformWord::kScale, numbers), QorRaster::Transform().ScaleUniform(2));
    numbers.values = {90, 0, 0, 0, 0, 0};
    const QorRaster::Transform rotation = MakeTransform(TransformWord::kRotate, numbers);
    EXPECT_NEAR(rotation.Apply({1, 0}).x, 0, 1e-12);
    EXPECT_NEAR(rotation.Apply({1, 0}).y, 1, 1e-12);
    numbers.count = 2;
    EXPECT_EQ(FailureOf([&] { MakeTransform(TransformWord::kRotate, numbers); }).text, "Syntax: Invalid transform");
}

} // namespace
} // namespace ORV
