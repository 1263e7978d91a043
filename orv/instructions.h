#pragma once

namespace ORDO {
class Arguments;
class Interpreter;
}

namespace ORV {
class Executor;
}

// The seventeen ORV instructions. Each reads its arguments, then changes the executor's current
// state or draws through it; errors leave as ORDO exceptions.
namespace ORV::Instructions {

using Instruction = void (*)(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);

void Rect(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Ellipse(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Star(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Path(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Fill(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Pen(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Wipe(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Matrix(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Scale(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Rotate(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Offset(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Shear(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Context(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Mask(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Bounds(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Options(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);
void Reset(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments);

} // namespace ORV::Instructions
