#pragma once

// What the host's commands share: the reading of their arguments, image sizes given on the
// command line and the writing of output files.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace Marovell {

// An option of a command and what takes the value that follows it (false when the value is
// invalid). given tells whether it was met.
struct CommandOption {
    std::string_view name;
    bool repeatable;
    std::function<bool(std::string_view)> take;
    bool given = false;
};

// Reads a command's arguments: its options with their values and at most one argument of its own,
// in any order. On a usage error returns false with the problem: "unexpected argument A" (an
// unknown option or a second argument of its own), "O needs a value", "O is given twice" (an
// option that is not repeatable) or "invalid O V".
bool ReadCommandArguments(std::span<char* const> arguments, std::span<CommandOption> options,
                          std::optional<std::string>& argument, std::string& problem);

// "WxH", each side one decimal integer, of a size within the image size limit (Wex::IsValidImageSize);
// false, with the sides unspecified, otherwise.
bool ParseImageSize(std::string_view text, int32_t& width, int32_t& height);

// Writes the bytes as the whole file; on failure removes what was written and throws
// QorFiles::Exception "Error writing file: " and the path.
void WriteOutputFile(const std::string& path, const std::string& bytes);

} // namespace Marovell
