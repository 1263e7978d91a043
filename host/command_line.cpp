#include "host/command_line.h"

#include <charconv>
#include <cstdio>
#include <fstream>

#include "base/exceptions.h"

namespace Marovell {

namespace {

// The whole text is one decimal integer in 1..kMaxImageSide.
bool ParseSide(std::string_view text, int32_t& side)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
    return error == std::errc() && end == text.data() + text.size() && side >= 1 && side <= kMaxImageSide;
}

} // namespace

bool ParseImageSize(std::string_view text, int32_t& width, int32_t& height)
{
    const size_t x = text.find('x');
    return x != std::string_view::npos && ParseSide(text.substr(0, x), width) && ParseSide(text.substr(x + 1), height);
}

void WriteOutputFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::remove(path.c_str());
        throw QorFiles::Exception("Error writing file: " + path);
    }
}

} // namespace Marovell
