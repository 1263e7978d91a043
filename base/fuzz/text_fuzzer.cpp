// Feeds arbitrary bytes to the list and key/value readers, the quoting functions and the
// expression evaluators: they may reject the input with their exceptions, never crash, and the
// writer's output must read back to the same texts.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/key_value.h"
#include "base/text.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void ReadKeyValueText(std::string_view text)
{
    std::map<std::string, std::string> plain;
    try {
        for (const auto& [key, value] : Wex::ParseKeyValueMap(text)) {
            plain.emplace(key, Wex::Unquote(value));
        }
    } catch (const FormatException&) {
        return;
    }
    const Velto::Description back = Wex::ParseKeyValueMap(Wex::WriteKeyValueText(plain));
    Check(back.size() == plain.size());
    for (const auto& [key, value] : plain) {
        Check(Wex::Unquote(back.at(key)) == value);
    }
}

void ReadList(std::string_view text)
{
    try {
        for (const std::string& item : Wex::ParseList(text)) {
            Wex::UnquoteWide(item);
        }
    } catch (const FormatException&) {
    }
}

void Evaluate(std::string_view text)
{
    try {
        Wex::EvaluateExpression(text, 1.5);
    } catch (const Exception&) {
    }
    try {
        Wex::EvaluateIntExpression(text, 3, {{"l", 1}, {"w", -2147483647 - 1}, {"$", -1}});
    } catch (const Exception&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(Wex::Unquote(Wex::Quote(text)) == text);
    ReadKeyValueText(text);
    ReadList(text);
    Evaluate(text);
    return 0;
}
