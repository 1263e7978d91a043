#include "host/command_line.h"

#include <charconv>
#include <cstdio>
#include <fstream>

#include "base/exceptions.h"
#include "base/image_size.h"

namespace Marovell {

namespace {

// The whole text is one decimal integer.
bool ParseSide(std::string_view text, int32_t& side)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

bool ReadCommandArguments(std::span<char* const> arguments, std::span<CommandOption> options,
                          std::optional<std::string>& argument, std::string& problem)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view text = arguments[i];
        CommandOption* option = nullptr;
        for (CommandOption& candidate : options)
            if (candidate.name == text)
                option = &candidate;
        if (option == nullptr) {
            if (text.starts_with("-") || argument) {
                problem = "unexpected argument " + std::string(text);
                return false;
            }
            argument = text;
            continue;
        }
        if (i + 1 == arguments.size()) {
            problem = std::string(text) + " needs a value";
            return false;
        }
        if (option->given && !option->repeatable) {
            problem = std::string(text) + " is given twice";
            return false;
        }
        option->given = true;
        const std::string_view value = arguments[++i];
        if (!option->take(value)) {
            problem = "invalid " + std::string(text) + " " + std::string(value);
            return false;
        }
    }
    return true;
}

bool ParseImageSize(std::string_view text, int32_t& width, int32_t& height)
{
    const size_t x = text.find('x');
    return x != std::string_view::npos && ParseSide(text.substr(0, x), width) && ParseSide(text.substr(x + 1), height) &&
           Wex::IsValidImageSize(width, height);
}

void WriteOutputFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    // What could not be opened (a folder, say) is not ours to remove.
    if (!out.is_open())
        throw QorFiles::Exception("Error writing file: " + path);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::remove(path.c_str());
        throw QorFiles::Exception("Error writing file: " + path);
    }
}

} // namespace Marovell
