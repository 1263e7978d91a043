#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "ordo/executor.h"
#include "raster/transform.h"

namespace ORDO {
class Interpreter;
}

// The five transform words (matrix, scale, rotate, offset, shear), shared by the ORV instructions
// of those names and by transform blocks, and the reader of transform blocks.
namespace ORV {

// Angles are written in degrees; this turns them into radians.
inline constexpr double kRadiansPerDegree = 0.017453292519943295;

enum class TransformWord { kMatrix, kScale, kRotate, kOffset, kShear };

// The numbers of one word as read from its argument.
struct TransformNumbers {
    std::array<double, 6> values{};
    size_t count = 0;
};

// Reads the word's numbers (matrix 6, scale 1 to 2, rotate 1 to 3, offset 2, shear 2) with the
// number-list reader's messages.
TransformNumbers ReadTransformNumbers(ORDO::Interpreter& context, TransformWord word, std::string_view text);

// The word's own matrix; a rotation given two numbers is the syntax error "Invalid transform".
QorRaster::Transform MakeTransform(TransformWord word, const TransformNumbers& numbers);

// Runs a transform block (an ORDO block of transform words) in a nested context of the
// running one and returns the accumulated transform; the word written last applies first.
QorRaster::Transform ParseTransform(ORDO::Interpreter& context, std::string_view text);

// The restricted host that a transform block runs under: it knows only the five words
// and accumulates them; progress, includes and trace go to the host of the enclosing run.
class TransformExecutor : public ORDO::Executor {
public:
    explicit TransformExecutor(ORDO::Executor& parent) : fParent(parent) {}

    // Always false: a format declaration inside a transform text fails.
    bool CheckFormat(ORDO::Interpreter& context, const std::string& name, const std::vector<std::string>& uses,
                     const std::vector<std::string>& required) override;
    bool Execute(ORDO::Interpreter& context, const std::string& name, std::string_view argumentText) override;
    bool Progress(ORDO::Interpreter& context, uint32_t statementsLeft) override;
    bool Include(ORDO::Interpreter& context, const std::string& fileName, std::string& text) override;
    void Trace(ORDO::Interpreter& context, const std::u32string& text) override;

    const QorRaster::Transform& GetTransform() const { return fTransform; }

private:
    ORDO::Executor& fParent;
    QorRaster::Transform fTransform;
};

} // namespace ORV
