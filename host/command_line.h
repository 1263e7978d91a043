#pragma once

// What the host's commands share: image sizes given on the command line and the writing of
// output files.

#include <cstdint>
#include <string>
#include <string_view>

namespace Marovell {

// The largest side of an image or window that the commands make.
inline constexpr int32_t kMaxImageSide = 16384;

// "WxH", each side one decimal integer in 1..kMaxImageSide; false, with the sides unspecified,
// otherwise.
bool ParseImageSize(std::string_view text, int32_t& width, int32_t& height);

// Writes the bytes as the whole file; on failure removes what was written and throws
// QorFiles::Exception "Error writing file: " and the path.
void WriteOutputFile(const std::string& path, const std::string& bytes);

} // namespace Marovell
