#pragma once

#include <string_view>

namespace ORDO {

class Interpreter;

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
